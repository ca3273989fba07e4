// The program's other forms on Win32: owned top-level windows built from
// their tables as Form1 is, with text views and drawings, and how a drawing
// paints its shapes.
#include <algorithm>

#include "main_window.h"

namespace vorlith::win32 {

// What a drawing shows: its shapes in twips, scaled to its window.
struct Picture {
    const ControlRow* row;
    std::vector<Shape> shapes;
    HFONT font = nullptr;
};

namespace {

using Kind = ControlRow::Kind;

// A frame without sizing border, minimise or maximise box, and no icon.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

bool high_contrast() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// A shape's text centred in its place, on its lines.
void draw_text(HDC dc, const RECT& place, const std::string& utf8) {
    const std::wstring text = widen(utf8);
    RECT measured = place;
    DrawTextW(dc, text.c_str(), -1, &measured, DT_CALCRECT | DT_CENTER | DT_NOPREFIX);
    const int height = measured.bottom - measured.top;
    RECT lines = place;
    lines.top = place.top + (place.bottom - place.top - height) / 2;
    lines.bottom = lines.top + height;
    DrawTextW(dc, text.c_str(), -1, &lines, DT_CENTER | DT_NOPREFIX | DT_NOCLIP);
}

// A line one pixel wide in `colour`, or a dot: a disc in `colour` outlined
// in `outline`, centred on the shape's first corner.
template <class X, class Y>
void draw_mark(HDC dc, const Shape& shape, COLORREF colour, COLORREF outline, X x, Y y) {
    HPEN pen = CreatePen(PS_SOLID, 1, shape.kind == Shape::Kind::Line ? colour : outline);
    HGDIOBJ old_pen = SelectObject(dc, pen);
    if (shape.kind == Shape::Kind::Line) {
        MoveToEx(dc, x(shape.left), y(shape.top), nullptr);
        LineTo(dc, x(shape.left + shape.width), y(shape.top + shape.height));
        SetPixel(dc, x(shape.left + shape.width), y(shape.top + shape.height), colour);
    } else {
        HBRUSH fill = CreateSolidBrush(colour);
        HGDIOBJ old_brush = SelectObject(dc, fill);
        const int r = x(shape.width) / 2;
        Ellipse(dc, x(shape.left) - r, y(shape.top) - r, x(shape.left) + r + 1,
                y(shape.top) + r + 1);
        SelectObject(dc, old_brush);
        DeleteObject(fill);
    }
    SelectObject(dc, old_pen);
    DeleteObject(pen);
}

// On the form's own background, as its captions are: each filled shape in
// its colour with a black outline and black text, a shape without fill its
// text alone in the captions' colour; lines and dots in their colours. In
// high contrast the system's colours alone: outlines, lines, dots and text,
// no fills.
void paint(HDC dc, HWND window, const Picture& picture) {
    RECT client{};
    GetClientRect(window, &client);
    const bool contrast = high_contrast();
    const COLORREF ink = GetSysColor(COLOR_BTNTEXT);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    HGDIOBJ old_font =
        SelectObject(dc, picture.font != nullptr ? picture.font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    HBRUSH outline = contrast ? GetSysColorBrush(COLOR_BTNTEXT)
                              : static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    const auto x = [&](int twips) { return MulDiv(twips, client.right, picture.row->width); };
    const auto y = [&](int twips) { return MulDiv(twips, client.bottom, picture.row->height); };
    for (const Shape& shape : picture.shapes) {
        if (shape.kind != Shape::Kind::Box) {
            const COLORREF colour = shape.fill && !contrast
                                        ? RGB(shape.fill->red, shape.fill->green, shape.fill->blue)
                                        : ink;
            draw_mark(dc, shape, colour, contrast ? ink : RGB(0x40, 0x40, 0x40), x, y);
            continue;
        }
        const RECT place{x(shape.left), y(shape.top), x(shape.left + shape.width),
                         y(shape.top + shape.height)};
        if (shape.fill && !contrast) {
            HBRUSH fill =
                CreateSolidBrush(RGB(shape.fill->red, shape.fill->green, shape.fill->blue));
            FillRect(dc, &place, fill);
            DeleteObject(fill);
        }
        if (shape.fill) FrameRect(dc, &place, outline);
        SetTextColor(dc, shape.fill && !contrast ? RGB(0, 0, 0) : ink);
        draw_text(dc, place, shape.text);
    }
    SelectObject(dc, old_font);
}

LRESULT CALLBACK drawing_proc(HWND window, UINT message, WPARAM w, LPARAM l) {
    auto* picture = reinterpret_cast<Picture*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_SETFONT:
            if (picture != nullptr) picture->font = reinterpret_cast<HFONT>(w);
            if (LOWORD(l) != 0) InvalidateRect(window, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return picture != nullptr ? reinterpret_cast<LRESULT>(picture->font) : 0;
        case WM_ERASEBKGND:
            return 1;  // painted whole
        case WM_PRINTCLIENT:
            if (picture != nullptr) paint(reinterpret_cast<HDC>(w), window, *picture);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint_info{};
            HDC dc = BeginPaint(window, &paint_info);
            if (picture != nullptr) paint(dc, window, *picture);
            EndPaint(window, &paint_info);
            return 0;
        }
        default:
            return DefWindowProcW(window, message, w, l);
    }
}

// A text view is a multi-line edit box, which would keep Tab, Enter and
// Escape from the dialog manager: they move on, press the default button
// and close the form instead. Ctrl+A selects the whole text.
WNDPROC g_edit_proc = nullptr;

LRESULT CALLBACK text_view_proc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_GETDLGCODE) {
        LRESULT code = CallWindowProcW(g_edit_proc, window, message, w, l);
        const auto* key = reinterpret_cast<const MSG*>(l);
        if (key != nullptr && key->message == WM_KEYDOWN &&
            (key->wParam == VK_TAB || key->wParam == VK_RETURN || key->wParam == VK_ESCAPE)) {
            code &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB);
        }
        return code;
    }
    if (message == WM_KEYDOWN && w == 'A' && GetKeyState(VK_CONTROL) < 0) {
        SendMessageW(window, EM_SETSEL, 0, -1);
        return 0;
    }
    if (message == WM_CHAR && w == 1) return 0;  // Ctrl+A's character
    return CallWindowProcW(g_edit_proc, window, message, w, l);
}

}  // namespace

// Windows' line ends, which a multi-line edit box needs.
std::wstring with_crlf(std::string_view utf8) {
    std::wstring text;
    for (wchar_t c : widen(utf8)) {
        if (c == L'\n' && (text.empty() || text.back() != L'\r')) text += L'\r';
        text += c;
    }
    return text;
}

void draw(HWND drawing, std::span<const Shape> shapes) {
    auto* picture = reinterpret_cast<Picture*>(GetWindowLongPtrW(drawing, GWLP_USERDATA));
    picture->shapes.assign(shapes.begin(), shapes.end());
    InvalidateRect(drawing, nullptr, TRUE);
}

OtherForm::OtherForm(const FormDescription& form, FormNumber number, ScreenReaders& readers,
                     MainWindow& main)
    : FormWindow(form, readers, kStyle, kExStyle), number_(number), main_(main) {
    register_class(kDrawingClass, nullptr, drawing_proc);
    if (create(kOtherFormClass, nullptr, widen(form.caption != nullptr ? form.caption : ""),
               main.hwnd())) {
        prepare_controls();
    }
}

OtherForm::~OtherForm() {
    destroy();
}

void OtherForm::prepare_controls() {
    for (const Control& control : controls_) {
        if (control.row->kind == Kind::TextView) {
            const auto previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
                control.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&text_view_proc)));
            if (g_edit_proc == nullptr) g_edit_proc = previous;
        } else if (control.row->kind == Kind::Drawing) {
            pictures_.push_back(std::make_unique<Picture>(Picture{control.row, {}, font_}));
            SetWindowLongPtrW(control.hwnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(pictures_.back().get()));
        }
    }
}

// Centred on Form1 the first time, where it is then left. SetFocus selects
// nothing, unlike the dialog manager's Tab: a box's old text is selected
// here, so that what is typed replaces it.
void OtherForm::show(std::optional<std::size_t> focus) {
    if (!placed_) {
        RECT owner{};
        RECT own{};
        GetWindowRect(main_.hwnd(), &owner);
        GetWindowRect(window_, &own);
        const int width = own.right - own.left;
        const int height = own.bottom - own.top;
        SetWindowPos(window_, nullptr, std::max(0L, (owner.left + owner.right - width) / 2),
                     std::max(0L, (owner.top + owner.bottom - height) / 2), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        placed_ = true;
    }
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    PostMessageW(window_, kCreateTooltips, 0, 0);
    SetForegroundWindow(window_);
    this->focus(focus);
    if (focus && controls_[*focus].row->kind == Kind::Input) {
        SendMessageW(controls_[*focus].hwnd, EM_SETSEL, 0, -1);
    }
}

LRESULT OtherForm::handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_CLOSE:
            vorlith::close_form(number_);
            return 0;
        case DM_GETDEFID:
            // Asked by the dialog manager for Enter: the default button.
            return GetDlgItem(window_, IDOK) != nullptr ? MAKELRESULT(IDOK, DC_HASDEFID) : 0;
        case WM_COMMAND:
            // Escape comes as the cancel button's click, which the dialog
            // manager sends whether the form has that button or not.
            if (LOWORD(w) == IDCANCEL && HIWORD(w) == BN_CLICKED) {
                vorlith::close_form(number_);
                return 0;
            }
            return FormWindow::handle(message, w, l);
        case WM_SYSCOLORCHANGE:
        case WM_SETTINGCHANGE:
            // High contrast on or off: the drawings again.
            for (const Control& control : controls_) InvalidateRect(control.hwnd, nullptr, TRUE);
            return FormWindow::handle(message, w, l);
        default:
            return FormWindow::handle(message, w, l);
    }
}

}  // namespace vorlith::win32
