// A form's window, Form1's and the other forms' alike: its controls from
// the form's table, their names for screen readers, tooltips, the layout at
// the monitor's DPI, and the messages every form handles.
#include <algorithm>

#include "dpi.h"
#include "main_window.h"
#include "runtime/accessible_text.h"

namespace vorlith::win32 {
namespace {

using Kind = ControlRow::Kind;

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

}  // namespace

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
// and the one by which Windows names a box after the caption before it. An
// option group starts a WS_GROUP, with the tab stop on its chosen option,
// and so does the control after it, so that the arrow keys go round the
// options alone.
void FormWindow::create_controls() {
    WORD next_id = kFirstControlId;
    const auto rows = form_.controls;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ControlRow& row = rows[i];
        ControlClass kind = control_class(row);
        const bool first_option = starts_option_group(rows, i);
        const bool after_options =
            i > 0 && rows[i - 1].kind == Kind::Option && row.kind != Kind::Option;
        if (first_option || after_options) kind.style |= WS_GROUP;
        if (first_option) kind.style |= WS_TABSTOP;
        const RECT place = place_of(row, dpi_);
        const WORD id = control_id(row, next_id);
        HWND hwnd = CreateWindowExW(kind.ex_style, kind.name, widen(row.text).c_str(), kind.style,
                                    place.left, place.top, place.right, place.bottom, window_,
                                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), instance(),
                                    nullptr);
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        if (row.kind == Kind::TextView) set_tab_stop(hwnd, font_, dpi_);
        if (row.kind == Kind::Input) SendMessageW(hwnd, EM_SETLIMITTEXT, 0, 0);  // no limit
        if (first_option) SendMessageW(hwnd, BM_SETCHECK, BST_CHECKED, 0);
        controls_.push_back({&row, hwnd});
    }
    clip_labels();
    annotate_controls();
}

// The core's names and descriptions (accessible_text); a result field
// keeps its value as its name, since Windows reads a static text by its
// text.
void FormWindow::annotate_controls() {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const AccessibleText text = accessible_text(form_.controls, i);
        readers_.set_name(controls_[i].hwnd, text.name);  // nothing when empty
        readers_.set_description(controls_[i].hwnd, text.description);
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

void FormWindow::focus(std::optional<std::size_t> row) {
    if (!row) return;
    last_focus_ = controls_[*row].hwnd;
    SetFocus(last_focus_);
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
        if (control.row->kind == Kind::TextView) set_tab_stop(control.hwnd, font_, dpi);
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
            if (HIWORD(w) == 0 && l == 0 && LOWORD(w) >= kFirstMenuId) {
                vorlith::click(LOWORD(w) - kFirstMenuId);  // a menu item's
            } else if (const char* name = button_clicked(LOWORD(w), HIWORD(w))) {
                vorlith::click(name);
            }
            return 0;
        case kCreateTooltips:
            if (tooltips_ == nullptr) create_tooltips();
            return 0;
        case WM_ACTIVATE:
            activated(w);
            return 0;
        case WM_SETFOCUS:
            focused(reinterpret_cast<HWND>(w));
            return 0;
        case WM_GETMINMAXINFO:
            limit_size(*reinterpret_cast<MINMAXINFO*>(l));
            return 0;
        case WM_GETDPISCALEDSIZE:
            *reinterpret_cast<SIZE*>(l) = frame_size(static_cast<UINT>(w));
            return TRUE;
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

// Back on the control that had the focus when the window was left.
void FormWindow::activated(WPARAM w) {
    if (LOWORD(w) == WA_INACTIVE) {
        if (HWND focus = GetFocus(); focus != nullptr && IsChild(window_, focus)) {
            last_focus_ = focus;
        }
    } else if (HIWORD(w) == 0 && last_focus_ != nullptr) {
        SetFocus(last_focus_);
    }
}

// The form itself takes no keys: on a restore from the taskbar Windows may
// focus it without a second WM_ACTIVATE, and the focus goes on to the
// control that had it last.
void FormWindow::focused(HWND previous) {
    if (previous != nullptr && IsChild(window_, previous)) last_focus_ = previous;
    if (last_focus_ != nullptr && IsWindow(last_focus_)) SetFocus(last_focus_);
}

// The window's size is fixed by the layout, even where it is larger than
// the screen; maximised anyway (by another program), it is no larger.
void FormWindow::limit_size(MINMAXINFO& limits) const {
    limits.ptMaxTrackSize.x = std::max(limits.ptMaxTrackSize.x, size_.cx);
    limits.ptMaxTrackSize.y = std::max(limits.ptMaxTrackSize.y, size_.cy);
    limits.ptMaxSize.x = size_.cx;
    limits.ptMaxSize.y = size_.cy;
}

// A button's click; a default or cancel button's comes as IDOK or IDCANCEL.
const char* FormWindow::button_clicked(WORD id, WORD code) const {
    if (code != BN_CLICKED) return nullptr;
    for (const Control& control : controls_) {
        if (is_button(control.row->kind) && GetDlgCtrlID(control.hwnd) == id) {
            return control.row->name;
        }
    }
    return nullptr;
}

HWND FormWindow::control(std::string_view name) const {
    for (const Control& control : controls_) {
        if (name == control.row->name) return control.hwnd;
    }
    return nullptr;
}

}  // namespace vorlith::win32
