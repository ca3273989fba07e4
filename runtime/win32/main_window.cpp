#include "main_window.h"

#include <algorithm>
#include <utility>

#include "dpi.h"
#include "runtime/accessible_text.h"

namespace vorlith::win32 {
namespace {

using Kind = ControlRow::Kind;

constexpr wchar_t kClassName[] = L"VorlithForm";
// A fixed frame: a caption with the system menu and the minimise box; no
// sizing border, no maximise box.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = 0;
// Control ids start past IDOK and IDCANCEL, which the dialog manager sends
// for Enter and Escape (and which a default and a cancel button take); menu
// item ids past the controls'.
constexpr WORD kFirstControlId = 100;
constexpr WORD kFirstMenuId = 1000;

HINSTANCE instance() {
    return GetModuleHandleW(nullptr);
}

struct ControlClass {
    const wchar_t* name;
    DWORD style;
    DWORD ex_style;
};

// Captions do not expand & and do not wrap; they get mouse messages (for
// their tooltip) only where they have one. Boxes scroll sideways; a text
// view down, and it keeps its text. Option buttons check themselves.
ControlClass control_class(const ControlRow& row) {
    const DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    const DWORD notify = row.tooltip != nullptr ? SS_NOTIFY : 0;
    switch (row.kind) {
        case Kind::Caption:
            return {L"STATIC", child | SS_LEFTNOWORDWRAP | SS_NOPREFIX | notify, 0};
        case Kind::Result:
            return {L"STATIC", child | SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_SUNKEN | notify, 0};
        case Kind::Input:
            return {L"EDIT", child | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case Kind::Button:
        case Kind::CancelButton:
            return {L"BUTTON", child | WS_TABSTOP | BS_PUSHBUTTON, 0};
        case Kind::DefaultButton:
            return {L"BUTTON", child | WS_TABSTOP | BS_DEFPUSHBUTTON, 0};
        case Kind::Option:
            // The tab stop is the chosen option's: checking one moves it.
            return {L"BUTTON", child | BS_AUTORADIOBUTTON, 0};
        case Kind::TextView:
            return {L"EDIT",
                    child | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                    WS_EX_CLIENTEDGE};
        case Kind::Drawing:
            return {kDrawingClass, child, 0};
    }
    return {L"STATIC", child, 0};
}

// A control's id: IDOK for a default button, IDCANCEL for a cancel button,
// the next one from `next` for the others.
WORD control_id(const ControlRow& row, WORD& next) {
    if (row.kind == Kind::DefaultButton) return IDOK;
    if (row.kind == Kind::CancelButton) return IDCANCEL;
    return next++;
}

void register_class(const wchar_t* class_name, const wchar_t* icon, WNDPROC procedure) {
    static std::vector<std::wstring> registered;
    if (std::find(registered.begin(), registered.end(), class_name) != registered.end()) return;
    registered.emplace_back(class_name);
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = instance();
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = class_name;
    if (icon != nullptr) {
        window_class.hIcon = LoadIconW(instance(), icon);
        window_class.hIconSm = static_cast<HICON>(
            LoadImageW(instance(), icon, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                       GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    }
    RegisterClassExW(&window_class);
}

// A control's place at `dpi`: left, top, width and height in pixels.
RECT place_of(const ControlRow& row, UINT dpi) {
    return {twips_to_pixels(row.left, dpi), twips_to_pixels(row.top, dpi),
            twips_to_pixels(row.width, dpi), twips_to_pixels(row.height, dpi)};
}

bool is_label(Kind kind) {
    return kind == Kind::Caption || kind == Kind::Result;
}

bool is_button(Kind kind) {
    return kind == Kind::Button || kind == Kind::DefaultButton || kind == Kind::CancelButton ||
           kind == Kind::Option;
}

std::wstring window_text(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

// ---- A form's window, Form1's and the other forms' alike

FormWindow::FormWindow(const FormDescription& form, ScreenReaders& readers, DWORD style,
                       DWORD ex_style)
    : form_(form), readers_(readers), style_(style), ex_style_(ex_style) {}

FormWindow::~FormWindow() {
    if (font_ != nullptr) DeleteObject(font_);
}

bool FormWindow::create(const wchar_t* class_name, const wchar_t* icon, const std::wstring& caption,
                        HWND owner) {
    register_class(class_name, icon, &FormWindow::window_proc);
    // Built at the system's DPI, or the owner's; should the window open on a
    // monitor of another DPI, it is laid out again for that one.
    dpi_ = dpi_of(owner);
    size_ = frame_size(dpi_);
    CreateWindowExW(ex_style_, class_name, caption.c_str(), style_, CW_USEDEFAULT, CW_USEDEFAULT,
                    size_.cx, size_.cy, owner, nullptr, instance(), this);
    if (window_ == nullptr) return false;
    font_ = create_message_font(dpi_);
    create_frame();
    create_controls();
    if (const UINT dpi = dpi_of(window_); dpi != dpi_) {
        lay_out(dpi);
    } else {
        fit_client_area();
    }
    return true;
}

void FormWindow::destroy() {
    if (window_ == nullptr) return;
    // Gone with its owner, not closed: the program does not end here.
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    forget_annotations();
    DestroyWindow(window_);
    window_ = nullptr;
}

// Created in tab-index order, which is the dialog manager's tab order and,
// as the children's z-order, the order in which screen readers read them
// and the one by which Windows names a box after the caption before it. The
// first of consecutive option buttons starts a group, and so does the
// control after them, so that the arrow keys go round the options alone.
void FormWindow::create_controls() {
    WORD next_id = kFirstControlId;
    Kind previous = Kind::Caption;
    for (const ControlRow& row : form_.controls) {
        ControlClass kind = control_class(row);
        const bool first_option = row.kind == Kind::Option && previous != Kind::Option;
        if ((row.kind == Kind::Option) != (previous == Kind::Option)) kind.style |= WS_GROUP;
        if (first_option) kind.style |= WS_TABSTOP;
        const RECT place = place_of(row, dpi_);
        const WORD id = control_id(row, next_id);
        HWND hwnd = CreateWindowExW(kind.ex_style, kind.name, widen(row.text).c_str(), kind.style,
                                    place.left, place.top, place.right, place.bottom, window_,
                                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), instance(),
                                    nullptr);
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        if (row.kind == Kind::Input) SendMessageW(hwnd, EM_SETLIMITTEXT, 0, 0);  // no limit
        if (first_option) SendMessageW(hwnd, BM_SETCHECK, BST_CHECKED, 0);
        controls_.push_back({&row, hwnd});
        previous = row.kind;
    }
    clip_labels();
    annotate_controls();
}

// A box is named by its caption and quantity, "V: 土的体积", so that a
// screen reader says what to type and speech input finds it by what it
// shows, and described by its unit; a result field keeps its value as its
// name (Windows reads a static text by its text) and gets its quantity and
// unit as description. A text view and a drawing are named by their
// quantity.
void FormWindow::annotate_controls() {
    const auto rows = form_.controls;
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const Kind kind = rows[i].kind;
        // Empty where the control's own text is its name.
        if (const std::string name = accessible_name(rows, i); !name.empty()) {
            readers_.set_name(controls_[i].hwnd, name);
        }
        if (kind == Kind::Input) {
            readers_.set_description(controls_[i].hwnd, accessible_unit(rows, i));
        } else if (kind == Kind::Result) {
            readers_.set_description(controls_[i].hwnd, accessible_description(rows, i));
        }
    }
}

void FormWindow::forget_annotations() {
    for (const Control& control : controls_) readers_.clear(control.hwnd);
}

namespace {

// Which control shows where two overlap: a box or a button over a result
// field, a field over a caption; among captions, the later one.
int framing_rank(Kind kind) {
    switch (kind) {
        case Kind::Caption:
            return 0;
        case Kind::Result:
            return 1;
        default:
            return 2;
    }
}

}  // namespace

// The children stay in tab order, so a caption may lie above a box or a
// field it reaches under: its window region leaves out the part under any
// such control, and so it never paints over that control's border.
void FormWindow::clip_labels() {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const Control& label = controls_[i];
        if (!is_label(label.row->kind)) continue;
        const int label_rank = framing_rank(label.row->kind);
        RECT own{};
        GetWindowRect(label.hwnd, &own);
        HRGN region = CreateRectRgn(0, 0, own.right - own.left, own.bottom - own.top);
        bool clipped = false;
        for (std::size_t j = 0; j < controls_.size(); ++j) {
            const int rank = framing_rank(controls_[j].row->kind);
            if (j == i || rank < label_rank || (rank == label_rank && j < i)) continue;
            RECT other{};
            GetWindowRect(controls_[j].hwnd, &other);
            RECT overlap{};
            if (!IntersectRect(&overlap, &own, &other)) continue;
            OffsetRect(&overlap, -own.left, -own.top);
            HRGN cut = CreateRectRgnIndirect(&overlap);
            CombineRgn(region, region, cut, RGN_DIFF);
            DeleteObject(cut);
            clipped = true;
        }
        if (clipped) {
            SetWindowRgn(label.hwnd, region, TRUE);  // the window owns it now
        } else {
            DeleteObject(region);
            SetWindowRgn(label.hwnd, nullptr, TRUE);
        }
    }
}

// The tooltips are made once the window is drawn: a pointer has to rest on
// a caption for half a second before one shows, and the first frame should
// not wait for them.
void FormWindow::create_tooltips() {
    tooltips_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance(), nullptr);
    // Chinese tips in the form's font, which follows the DPI.
    SendMessageW(tooltips_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    for (const Control& control : controls_) {
        if (control.row->tooltip != nullptr) add_tooltip(control.hwnd, control.row->tooltip);
    }
}

void FormWindow::add_tooltip(HWND control, const char* text) {
    std::wstring wide = widen(text);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = wide.data();  // copied by the tooltip control
    SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void FormWindow::focus_first() {
    for (const Control& control : controls_) {
        if ((GetWindowLongW(control.hwnd, GWL_STYLE) & WS_TABSTOP) != 0) {
            SetFocus(control.hwnd);
            last_focus_ = control.hwnd;
            break;
        }
    }
}

void FormWindow::lay_out(UINT dpi) {
    dpi_ = dpi;
    HFONT old_font = font_;
    font_ = create_message_font(dpi);
    for (const Control& control : controls_) {
        const RECT place = place_of(*control.row, dpi);
        SetWindowPos(control.hwnd, nullptr, place.left, place.top, place.right, place.bottom,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(control.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    }
    if (tooltips_ != nullptr) {
        SendMessageW(tooltips_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    }
    clip_labels();
    lay_out_frame(dpi);
    if (old_font != nullptr) DeleteObject(old_font);

    size_ = frame_size(dpi);
    SetWindowPos(window_, nullptr, 0, 0, size_.cx, size_.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    fit_client_area();
}

SIZE FormWindow::client_size(UINT dpi) const {
    return {twips_to_pixels(form_.client_width, dpi), twips_to_pixels(form_.client_height, dpi)};
}

SIZE FormWindow::frame_size(UINT dpi) const {
    const SIZE client = client_size(dpi);
    return window_size_for_client(client.cx, client.cy, style_, ex_style_, !form_.menus.empty(),
                                  dpi);
}

// Should the menu bar take more than one line, or the frame differ from
// what Windows computed for it, the client area is made exact by measuring.
void FormWindow::fit_client_area() {
    const SIZE wanted = client_size(dpi_);
    RECT client{};
    GetClientRect(window_, &client);
    if (client.right != wanted.cx || client.bottom != wanted.cy) {
        size_ = {size_.cx + wanted.cx - client.right, size_.cy + wanted.cy - client.bottom};
        SetWindowPos(window_, nullptr, 0, 0, size_.cx, size_.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

LRESULT CALLBACK FormWindow::window_proc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        scale_non_client_area(window);
    }
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(window, message, w, l);
    const LRESULT result = self->handle(message, w, l);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
    }
    return result;
}

LRESULT FormWindow::handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_COMMAND:
            if (const char* name = command_name(LOWORD(w), HIWORD(w))) clicked(name);
            return 0;
        case kCreateTooltips:
            if (tooltips_ == nullptr) create_tooltips();
            return 0;
        case WM_ACTIVATE:
            // Back on the control that had the focus when the window was left.
            if (LOWORD(w) == WA_INACTIVE) {
                if (HWND focus = GetFocus(); focus != nullptr && IsChild(window_, focus)) {
                    last_focus_ = focus;
                }
            } else if (HIWORD(w) == 0 && last_focus_ != nullptr) {
                SetFocus(last_focus_);
            }
            return 0;
        case WM_SETFOCUS: {
            // The form itself takes no keys: on a restore from the taskbar
            // Windows may focus it without a second WM_ACTIVATE, and the
            // focus goes on to the control that had it last.
            HWND previous = reinterpret_cast<HWND>(w);
            if (previous != nullptr && IsChild(window_, previous)) last_focus_ = previous;
            if (last_focus_ != nullptr && IsWindow(last_focus_)) SetFocus(last_focus_);
            return 0;
        }
        case WM_GETMINMAXINFO: {
            // The window's size is fixed by the layout, even where it is
            // larger than the screen.
            auto& limits = *reinterpret_cast<MINMAXINFO*>(l);
            limits.ptMaxTrackSize.x = std::max(limits.ptMaxTrackSize.x, size_.cx);
            limits.ptMaxTrackSize.y = std::max(limits.ptMaxTrackSize.y, size_.cy);
            // Maximised anyway (by another program): no larger.
            limits.ptMaxSize.x = size_.cx;
            limits.ptMaxSize.y = size_.cy;
            return 0;
        }
        case WM_GETDPISCALEDSIZE: {
            *reinterpret_cast<SIZE*>(l) = frame_size(static_cast<UINT>(w));
            return TRUE;
        }
        case WM_DPICHANGED: {
            const RECT* suggested = reinterpret_cast<const RECT*>(l);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            lay_out(HIWORD(w));
            return 0;
        }
        default:
            return DefWindowProcW(window_, message, w, l);
    }
}

// A button's click; a default or cancel button's comes as IDOK or IDCANCEL.
const char* FormWindow::command_name(WORD id, WORD code) const {
    if (code != BN_CLICKED) return nullptr;
    for (const Control& control : controls_) {
        if (is_button(control.row->kind) && GetDlgCtrlID(control.hwnd) == id) {
            return control.row->name;
        }
    }
    return nullptr;
}

const FormWindow::Control* FormWindow::find(std::string_view name,
                                            std::initializer_list<Kind> kinds) const {
    for (const Control& control : controls_) {
        if (name != control.row->name) continue;
        const bool kind_fits =
            std::find(kinds.begin(), kinds.end(), control.row->kind) != kinds.end();
        return kind_fits ? &control : nullptr;
    }
    return nullptr;
}

HWND FormWindow::control(std::string_view name) const {
    for (const Control& control : controls_) {
        if (name == control.row->name) return control.hwnd;
    }
    return nullptr;
}

// ---- Form1

MainWindow::MainWindow(const ProgramDescription& program)
    : FormWindow(program.form, screen_readers_, kStyle, kExStyle), program_(program) {
    const std::wstring icon =
        program.form.icon != nullptr ? widen(program.form.icon) : std::wstring();
    if (!create(kClassName, icon.empty() ? nullptr : icon.c_str(), widen(program.title), nullptr)) {
        return;
    }
    create_live_region();
    for (const FormDescription& other : program.other_forms) {
        others_.push_back(std::make_unique<OtherForm>(other, screen_readers_, *this));
    }
    attach(this);
}

MainWindow::~MainWindow() {
    detach(this);
    others_.clear();
    if (live_region_ != nullptr) screen_readers_.clear(live_region_);
    destroy();
    for (HICON icon : icons_) {
        if (icon != nullptr) DestroyIcon(icon);
    }
}

void MainWindow::create_frame() {
    set_icons(dpi_);
    create_menus();
}

void MainWindow::lay_out_frame(UINT dpi) {
    set_icons(dpi);
}

// The window's icons at the sizes Windows asks for at `dpi` (the caption's
// and the taskbar's), loaded again on a change of DPI.
void MainWindow::set_icons(UINT dpi) {
    if (program_.form.icon == nullptr) return;
    const std::wstring name = widen(program_.form.icon);
    const int sizes[2][2] = {{system_metric(SM_CXSMICON, dpi), system_metric(SM_CYSMICON, dpi)},
                             {system_metric(SM_CXICON, dpi), system_metric(SM_CYICON, dpi)}};
    const WPARAM kinds[2] = {ICON_SMALL, ICON_BIG};
    for (int i = 0; i < 2; ++i) {
        auto icon = static_cast<HICON>(LoadImageW(instance(), name.c_str(), IMAGE_ICON, sizes[i][0],
                                                  sizes[i][1], LR_DEFAULTCOLOR));
        if (icon == nullptr) continue;
        SendMessageW(window_, WM_SETICON, kinds[i], reinterpret_cast<LPARAM>(icon));
        if (icons_[i] != nullptr) DestroyIcon(icons_[i]);
        icons_[i] = icon;
    }
}

// A shortcut set to "Maximised" asks for a maximised window; this one has
// a fixed size, so it opens normal. Windows may take the start-up command
// instead of the one given at the first ShowWindow: a maximised window is
// put back.
void MainWindow::show(int show_command) {
    if (show_command == SW_SHOWMAXIMIZED) show_command = SW_SHOWNORMAL;
    ShowWindow(window_, show_command);
    if (IsZoomed(window_)) ShowWindow(window_, SW_RESTORE);
    UpdateWindow(window_);
    PostMessageW(window_, kCreateTooltips, 0, 0);
    focus_first();
}

// Screen readers read a live region's change only from a window they do not
// skip: a shown static text (its name is its text) of one pixel, not of
// none, which some take for hidden. Its pixel is the client area's top left
// one, left free by every layout (the controls start 120 twips in), and it
// is drawn in the background's colour: nothing shows, nothing is covered,
// and the mouse goes through it. Made after the controls, last in
// z-order, it names no box.
void MainWindow::create_live_region() {
    const auto id = static_cast<WORD>(kFirstControlId + program_.form.controls.size());
    live_region_ = CreateWindowExW(
        0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 1, 1, window_,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), instance(), nullptr);
    screen_readers_.set_live_region(live_region_);
}

// After a command that wrote result fields, one reading of the results
// they show, through the live region; a field's own name change is not read
// while it has no focus. No result shown (an error report came up
// instead, and is read itself): the region empties and raises nothing.
void MainWindow::read_results() {
    if (!results_changed_) return;
    results_changed_ = false;
    std::vector<std::string> shown;
    for (const Control& control : controls_) {
        shown.push_back(control.row->kind == Kind::Result ? narrow(window_text(control.hwnd)) : "");
    }
    const std::string reading = results_reading(program_.form.controls, shown);
    SetWindowTextW(live_region_, widen(reading).c_str());
    if (!reading.empty()) ScreenReaders::raise_live_region_changed(live_region_);
}

// Entries with neither access key, accelerator nor separator.
void MainWindow::create_menus() {
    HMENU bar = CreateMenu();
    for (const MenuRow& menu : program_.form.menus) {
        HMENU popup = CreatePopupMenu();
        for (const MenuItemRow& item : menu.items) {
            const auto id = static_cast<UINT_PTR>(kFirstMenuId + menu_items_.size());
            AppendMenuW(popup, MF_STRING, id, widen(item.caption).c_str());
            menu_items_.push_back(&item);
        }
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), widen(menu.caption).c_str());
    }
    SetMenu(window_, bar);
}

LRESULT MainWindow::handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(l) == live_region_) {
                // The live region's text in the colour of its background.
                const auto dc = reinterpret_cast<HDC>(w);
                SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
                SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
            }
            return DefWindowProcW(window_, message, w, l);
        case WM_DESTROY:
            // Closed, or ended by End: no handler runs after, and the event
            // loop ends with status 0.
            forget_annotations();
            for (const auto& form : others_) form->forget_annotations();
            if (live_region_ != nullptr) screen_readers_.clear(live_region_);
            unload();
            PostQuitMessage(0);
            return 0;
        default:
            return FormWindow::handle(message, w, l);
    }
}

const char* MainWindow::command_name(WORD id, WORD code) const {
    const std::size_t item = id - kFirstMenuId;
    if (id >= kFirstMenuId && item < menu_items_.size()) return menu_items_[item]->name;
    return FormWindow::command_name(id, code);
}

// The click of a control or menu item of any form. A modal form's loop may
// run it while another click's handler waits in Show: the run-time runs it
// next.
void MainWindow::clicked(const char* name) {
    results_changed_ = false;
    run_handler(click_handler(program_, name));
    if (window_ != nullptr) read_results();
}

OtherForm* MainWindow::other(std::string_view name) const {
    for (const auto& form : others_) {
        if (name == form->form().name) return form.get();
    }
    return nullptr;
}

OtherForm& MainWindow::other_or_raise(std::string_view name) const {
    OtherForm* found = other(name);
    if (found == nullptr || found->hwnd() == nullptr) vorlith::raise(ErrorNumber::ObjectNotSet);
    return *found;
}

HWND MainWindow::control(std::string_view name) const {
    if (HWND found = FormWindow::control(name)) return found;
    for (const auto& form : others_) {
        if (HWND found = form->control(name)) return found;
    }
    return nullptr;
}

HWND MainWindow::form(std::string_view name) const {
    const OtherForm* found = other(name);
    return found != nullptr ? found->hwnd() : nullptr;
}

const FormWindow::Control& MainWindow::control_of(std::string_view name,
                                                  std::initializer_list<Kind> kinds) const {
    if (const Control* found = find(name, kinds)) return *found;
    for (const auto& form : others_) {
        if (const Control* found = form->find(name, kinds)) return *found;
    }
    vorlith::raise(ErrorNumber::ObjectNotSet);
}

std::u16string MainWindow::text(std::string_view box) {
    const std::wstring text = window_text(control_of(box, {Kind::Input}).hwnd);
    return {text.begin(), text.end()};
}

void MainWindow::set_caption(std::string_view label, std::string_view utf8) {
    const Control& found = control_of(label, {Kind::Caption, Kind::Result});
    SetWindowTextW(found.hwnd, widen(utf8).c_str());
    // A result field of Form1 is read out after the command, even when it
    // shows the value it showed.
    if (found.row->kind == Kind::Result && IsChild(window_, found.hwnd)) results_changed_ = true;
}

void MainWindow::set_text(std::string_view control, std::string_view utf8) {
    const Control& found = control_of(control, {Kind::Input, Kind::TextView});
    SetWindowTextW(found.hwnd, found.row->kind == Kind::TextView ? with_crlf(utf8).c_str()
                                                                 : widen(utf8).c_str());
}

bool MainWindow::option_value(std::string_view option) {
    return SendMessageW(control_of(option, {Kind::Option}).hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// The alternative is the drawing's description for screen readers.
void MainWindow::set_drawing(std::string_view drawing, std::span<const Shape> shapes,
                             std::string_view alternative) {
    const Control& found = control_of(drawing, {Kind::Drawing});
    draw(found.hwnd, shapes);
    readers_.set_description(found.hwnd, std::string(alternative));
}

// Modal: Form1 and the other forms shown are disabled, and a loop of the
// form's own runs (keys through IsDialogMessageW for it) until it is hidden;
// a WM_QUIT met meanwhile is posted again for the program's loop.
void MainWindow::show_form(std::string_view name, Modal modal) {
    OtherForm& form = other_or_raise(name);
    if (modal == Modal::Yes && modal_ == nullptr && !IsWindowVisible(form.hwnd())) {
        if (IsWindowEnabled(window_)) disabled_.push_back(window_);
        for (const auto& other : others_) {
            if (other.get() != &form && IsWindowVisible(other->hwnd()) &&
                IsWindowEnabled(other->hwnd())) {
                disabled_.push_back(other->hwnd());
            }
        }
        for (HWND window : disabled_) EnableWindow(window, FALSE);
        modal_ = &form;
        form.show();
        MSG message{};
        while (form.hwnd() != nullptr && IsWindowVisible(form.hwnd())) {
            if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
                PostQuitMessage(static_cast<int>(message.wParam));
                break;
            }
            if (IsDialogMessageW(form.hwnd(), &message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (modal_ == &form) hide_form(name);
        return;
    }
    form.show();
}

// The windows a modal form disabled are enabled before it is hidden, so
// that Windows activates Form1 and not another program's window.
void MainWindow::hide_form(std::string_view name) {
    OtherForm& form = other_or_raise(name);
    if (modal_ == &form) {
        for (HWND window : disabled_) EnableWindow(window, TRUE);
        disabled_.clear();
        modal_ = nullptr;
    }
    const bool active = GetActiveWindow() == form.hwnd();
    form.hide();
    if (active && window_ != nullptr) SetActiveWindow(window_);
}

bool MainWindow::form_visible(std::string_view name) {
    return IsWindowVisible(other_or_raise(name).hwnd()) != FALSE;
}

void MainWindow::end() {
    if (window_ == nullptr) return;
    for (HWND window : disabled_) EnableWindow(window, TRUE);
    disabled_.clear();
    modal_ = nullptr;
    for (const auto& form : others_) form->hide();
    ShowWindow(window_, SW_HIDE);
    DestroyWindow(window_);
}

namespace {

// The form that a keyboard message goes to: the top-level window of the
// control it is for, when that is Form1 or one of the forms it owns.
HWND dialog_of(HWND form, const MSG& message) {
    HWND top = message.hwnd;
    while (top != nullptr && (GetWindowLongW(top, GWL_STYLE) & WS_CHILD) != 0) {
        top = GetParent(top);
    }
    if (top == nullptr || top == form) return form;
    wchar_t name[32] = {};
    GetClassNameW(top, name, 32);
    return GetWindow(top, GW_OWNER) == form && lstrcmpW(name, kOtherFormClass) == 0 ? top : form;
}

bool dialog_message(HWND form, MSG& message) {
    if (!IsWindow(form)) return false;
    return IsDialogMessageW(dialog_of(form, message), &message) != FALSE;
}

}  // namespace

int run_event_loop(HWND form) {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (dialog_message(form, message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 1;
}

std::optional<int> process_events(HWND form) {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) return static_cast<int>(message.wParam);
        if (dialog_message(form, message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return std::nullopt;
}

}  // namespace vorlith::win32
