#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "accessibility.h"
#include "runtime/backend.h"
#include "runtime/program.h"
#include "win32.h"

namespace vorlith::win32 {

// A form built from its description: a top-level window of its own class
// with a menu bar, its controls created in tab-index order, and a tooltip
// control. It is the back end that the run-time's operations reach while it
// lives. Positions follow the DPI of the window's monitor.
class MainWindow : public Backend {
public:
    // Creates the window, hidden, at the system's default position.
    explicit MainWindow(const ProgramDescription& program);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Shows the window and puts the focus on its first control that takes it.
    void show(int show_command);

    HWND hwnd() const { return window_; }
    HWND tooltips() const { return tooltips_; }
    // The window that screen readers read the new results from after a
    // command: a live region, in the client area's top left pixel, which no
    // control reaches; its text is drawn in its background's colour.
    HWND live_region() const { return live_region_; }
    // The control named `name`, or nullptr.
    HWND control(std::string_view name) const;

    std::u16string text(std::string_view box) override;
    void set_caption(std::string_view label, std::string_view utf8) override;
    void message_box(std::string_view utf8) override;
    void end() override;

private:
    struct Control {
        const ControlRow* row;
        HWND hwnd;
    };

    static LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT handle(UINT message, WPARAM w, LPARAM l);
    void create_controls();
    // Names and descriptions for screen readers, and the window regions
    // that keep each caption off the boxes and fields it reaches under.
    void annotate_controls();
    void clip_labels();
    void create_live_region(WORD id);
    void forget_annotations();
    void read_results();
    void create_menus();
    void create_tooltips();
    void add_tooltip(HWND control, const char* text);
    // Places the window, its controls and their font for `dpi`.
    void lay_out(UINT dpi);
    void set_icons(UINT dpi);
    void fit_client_area();
    // The client area's size at `dpi`, and the window's around it.
    SIZE client_size(UINT dpi) const;
    SIZE frame_size(UINT dpi) const;
    void command(WORD id, WORD code);
    const Control* find(std::string_view name, ControlRow::Kind kind) const;

    const ProgramDescription& program_;
    HWND window_ = nullptr;
    HWND tooltips_ = nullptr;
    HWND live_region_ = nullptr;
    HFONT font_ = nullptr;
    HICON icons_[2] = {};  // small and big, at dpi_
    HWND last_focus_ = nullptr;
    UINT dpi_ = 96;
    SIZE size_{};  // the window's size around the exact client area
    std::vector<Control> controls_;
    std::vector<const MenuItemRow*> menu_items_;
    std::unique_ptr<ScreenReaders> readers_;
    bool results_changed_ = false;
};

// start() (runtime/program.h), calling `created` with the form once it is
// built, before it is shown.
int start(const ProgramDescription& program, const std::function<void(MainWindow&)>& created);

// Runs the event loop of `form` until the program ends; keyboard messages go
// through IsDialogMessageW (Tab, Shift+Tab, Space). Returns the exit status.
int run_event_loop(HWND form);

// Handles the messages already queued, as the event loop does, and returns;
// with the exit status when the program has ended.
std::optional<int> process_events(HWND form);

}  // namespace vorlith::win32
