#pragma once

// The Win32 back end. It implements, with the Win32 API and comctl32 only:
//   create_form     an other form as a top-level window owned by Form1, its
//                   controls STATIC, EDIT and BUTTON windows created from its
//                   table as Form1's are (form_window.cpp, other_form.cpp)
//   show_form, raise_form, hide_form
//                   ShowWindow and SetForegroundWindow; a modal form's own
//                   loop with Form1 and the other forms disabled (loops.cpp)
//   text, set_text, option_value, set_drawing
//                   window texts, BM_GETCHECK, and a drawing window that
//                   paints its shapes (other_form.cpp)
//   announce        a live region's text and its event (accessibility.h)
//   message_box     MessageBoxW with its button in the run-time's language
//   print_text      PrintDlgW, then the lines drawn on A4 pages (DrawTextExW)
//   copy_text       CF_UNICODETEXT on the clipboard, lines ending in CR LF
//   end             every window hidden, Form1 destroyed, the loop left
// and the event loop, keys through IsDialogMessageW (loops.cpp). Names,
// kinds, option groups, first focus, shown forms, the close control and
// when to announce are the run-time core's (runtime/backend.h).

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "accessibility.h"
#include "runtime/backend.h"
#include "runtime/program.h"
#include "win32.h"

namespace vorlith::win32 {

// The window classes of the other forms and of drawings, and the message a
// form posts itself once shown, for its tooltips.
inline constexpr wchar_t kOtherFormClass[] = L"VorlithOtherForm";
inline constexpr wchar_t kDrawingClass[] = L"VorlithDrawing";
inline constexpr UINT kCreateTooltips = WM_APP + 1;
// Control ids start past IDOK and IDCANCEL, which the dialog manager sends
// for Enter and Escape (and which a default and a cancel button take); menu
// item ids past the controls'.
inline constexpr WORD kFirstControlId = 100;
inline constexpr WORD kFirstMenuId = 1000;

// Registers window class `class_name` once, with `icon` (nullptr: none).
void register_class(const wchar_t* class_name, const wchar_t* icon, WNDPROC procedure);

// A top-level window built from a form's table: its controls created in
// tab-index order in the desktop's message font, a tooltip control, and the
// layout in twips that follows the DPI of the window's monitor. Form1 and
// the program's other forms are built by the same code.
class FormWindow {
public:
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND hwnd() const { return window_; }
    HWND tooltips() const { return tooltips_; }
    // The control of row `row`; the control named `name`, or nullptr.
    HWND control(std::size_t row) const { return controls_[row].hwnd; }
    HWND control(std::string_view name) const;
    // Clears what was annotated for screen readers on the controls.
    void forget_annotations();

protected:
    struct Control {
        const ControlRow* row;
        HWND hwnd;
    };

    // `readers` may be built after this base; it is used from create() on.
    FormWindow(const FormDescription& form, ScreenReaders& readers, DWORD style, DWORD ex_style);
    virtual ~FormWindow();
    // Forgets the annotations and destroys the window, from the destructor
    // of the form that built it (while `readers` lives).
    void destroy();

    // Creates the window of class `class_name` (registered with `icon`,
    // nullptr: none), hidden, with its controls; false when Windows made
    // none.
    bool create(const wchar_t* class_name, const wchar_t* icon, const std::wstring& caption,
                HWND owner);
    // Menus, icons, before the controls; the window exists.
    virtual void create_frame() {}
    virtual void lay_out_frame(UINT) {}
    // A message of the window that Form1 and the other forms handle alike,
    // or DefWindowProcW's answer.
    virtual LRESULT handle(UINT message, WPARAM w, LPARAM l);
    // The button that WM_COMMAND `id` with `code` clicks, or nullptr.
    const char* button_clicked(WORD id, WORD code) const;
    // Puts the focus on row `row`, if any.
    void focus(std::optional<std::size_t> row);

    const FormDescription& form_;
    ScreenReaders& readers_;
    const DWORD style_, ex_style_;
    HWND window_ = nullptr;
    HWND tooltips_ = nullptr;
    HFONT font_ = nullptr;
    HWND last_focus_ = nullptr;
    UINT dpi_ = 96;
    SIZE size_{};  // the window's size around the exact client area
    std::vector<Control> controls_;

private:
    static LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM w, LPARAM l);
    void create_controls();
    // Names and descriptions for screen readers, and the window regions
    // that keep each caption off the boxes and fields it reaches under.
    void annotate_controls();
    void clip_labels();
    void create_tooltips();
    void add_tooltip(HWND control, const char* text);
    void activated(WPARAM w);
    void focused(HWND previous);
    void limit_size(MINMAXINFO& limits) const;
    // Places the window, its controls and their font for `dpi`.
    void lay_out(UINT dpi);
    void fit_client_area();
    // The client area's size at `dpi`, and the window's around it.
    SIZE client_size(UINT dpi) const;
    SIZE frame_size(UINT dpi) const;
};

class MainWindow;
struct Picture;

// Windows' line ends, which a multi-line edit box needs.
std::wstring with_crlf(std::string_view utf8);
// Sets the one tab stop of text view `view` at kTabStop, for its font `font`
// at `dpi`. An edit box counts tab stops in dialog units of its own font.
void set_tab_stop(HWND view, HFONT font, UINT dpi);
// Has the drawing control show `shapes`, repainted.
void draw(HWND drawing, std::span<const Shape> shapes);

// One of the program's other forms: owned by Form1 (in front of it, no
// taskbar button of its own), hidden until shown. Enter presses its default
// button; Escape and its close box are the run-time's close_form.
class OtherForm : public FormWindow {
public:
    OtherForm(const FormDescription& form, FormNumber number, ScreenReaders& readers,
              MainWindow& main);
    ~OtherForm() override;

    // Shows the form in front, activated, with the focus on row `focus`.
    void show(std::optional<std::size_t> focus);

private:
    LRESULT handle(UINT message, WPARAM w, LPARAM l) override;
    void prepare_controls();

    const FormNumber number_;
    MainWindow& main_;
    std::vector<std::unique_ptr<Picture>> pictures_;
    bool placed_ = false;
};

// Form1 built from the program's description, with its menu bar and the
// live region, and the program's other forms once the run-time asks for
// them; the back end that the run-time's operations reach while it lives.
class MainWindow : public FormWindow, public Backend {
public:
    // Creates the window, hidden, at the system's default position.
    explicit MainWindow(const ProgramDescription& program);
    ~MainWindow() override;

    // Shows the window and puts the focus on its first control that takes it.
    void show(int show_command);

    // The window that screen readers read the new results from after a
    // command: a live region, in the client area's top left pixel, which no
    // control reaches; its text is drawn in its background's colour.
    HWND live_region() const { return live_region_; }
    // The control named `name` in Form1 or an other form built, or nullptr.
    HWND control(std::string_view name) const;
    // The other form named `name`, or nullptr until it is built.
    HWND form(std::string_view name) const;

    void create_form(FormNumber form) override;
    void show_form(FormNumber form, Modal modal, std::optional<std::size_t> focus) override;
    void raise_form(FormNumber form) override;
    void hide_form(FormNumber form) override;
    std::u16string text(ControlRef box) override;
    void set_text(ControlRef control, std::string_view utf8) override;
    bool option_value(ControlRef option) override;
    void set_drawing(ControlRef drawing, std::span<const Shape> shapes,
                     std::string_view alternative) override;
    void announce(std::string_view reading) override;
    void message_box(std::string_view utf8) override;
    void print_text(std::string_view title, std::string_view utf8) override;
    void copy_text(std::string_view utf8) override;
    void end() override;

private:
    // A modal form shown, and the windows it disabled.
    struct ModalForm {
        FormNumber form;
        std::vector<HWND> disabled;
    };
    void create_frame() override;
    void lay_out_frame(UINT dpi) override;
    LRESULT handle(UINT message, WPARAM w, LPARAM l) override;
    void create_live_region();
    void create_menus();
    void set_icons(UINT dpi);
    OtherForm& other(FormNumber form) const { return *others_[form - 1]; }
    HWND hwnd_of(ControlRef ref) const;
    void run_modal(FormNumber form, std::optional<std::size_t> focus);
    void enable_disabled();

    const ProgramDescription& program_;
    ScreenReaders screen_readers_;
    HWND live_region_ = nullptr;
    HICON icons_[2] = {};  // small and big, at dpi_
    // The other forms by number from 1, nullptr until built.
    std::vector<std::unique_ptr<OtherForm>> others_;
    // The modal forms shown, the innermost last.
    std::vector<ModalForm> modal_;
};

// start() (runtime/program.h), calling `created` with the form once it is
// built, before it is shown.
int start(const ProgramDescription& program, const std::function<void(MainWindow&)>& created);

// Runs the event loop of `form` until the program ends; keyboard messages go
// through IsDialogMessageW for whichever of the program's forms they are for
// (Tab, Shift+Tab, Space, Enter, Escape, arrows). Returns the exit status.
int run_event_loop(HWND form);

// Handles `message` as the event loop does.
void dispatch(HWND form, MSG& message);

// Handles the messages already queued, as the event loop does, and returns;
// with the exit status when the program has ended.
std::optional<int> process_events(HWND form);

}  // namespace vorlith::win32
