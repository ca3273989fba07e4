// Form1 on Win32: its window with the menu bar, icons and live region, the
// other forms built when the run-time asks, and the operations on controls.
#include "main_window.h"
#include "dpi.h"

namespace vorlith::win32 {
namespace {

using Kind = ControlRow::Kind;

constexpr wchar_t kClassName[] = L"VorlithForm";
// A fixed frame: a caption with the system menu and the minimise box; no
// sizing border, no maximise box.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = 0;

}  // namespace

MainWindow::MainWindow(const ProgramDescription& program)
    : FormWindow(program.form, screen_readers_, kStyle, kExStyle), program_(program) {
    const std::wstring icon =
        program.form.icon != nullptr ? widen(program.form.icon) : std::wstring();
    if (!create(kClassName, icon.empty() ? nullptr : icon.c_str(), widen(program.title), nullptr)) {
        return;
    }
    others_.resize(program.other_forms.size());
    create_live_region();
    attach(this, program);
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
    focus(first_focus(form_.controls));
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

// Entries with neither access key, accelerator nor separator; an item's id
// is its Click's number past kFirstMenuId (0 for an item without one).
void MainWindow::create_menus() {
    HMENU bar = CreateMenu();
    for (const MenuRow& menu : program_.form.menus) {
        HMENU popup = CreatePopupMenu();
        for (const MenuItemRow& item : menu.items) {
            const int number = click_number(program_, item.name);
            AppendMenuW(popup, MF_STRING, number < 0 ? 0 : kFirstMenuId + number,
                        widen(item.caption).c_str());
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
            for (const auto& form : others_) {
                if (form != nullptr) form->forget_annotations();
            }
            if (live_region_ != nullptr) screen_readers_.clear(live_region_);
            unload();
            PostQuitMessage(0);
            return 0;
        default:
            return FormWindow::handle(message, w, l);
    }
}

// Built hidden; should Windows make no window, the form cannot load, as
// when memory runs out.
void MainWindow::create_form(FormNumber number) {
    auto form = std::make_unique<OtherForm>(form_description(program_, number), number,
                                            screen_readers_, *this);
    if (form->hwnd() == nullptr) vorlith::raise(ErrorNumber::OutOfMemory);
    others_[number - 1] = std::move(form);
}

HWND MainWindow::control(std::string_view name) const {
    if (HWND found = FormWindow::control(name)) return found;
    for (const auto& form : others_) {
        if (HWND found = form != nullptr ? form->control(name) : nullptr) return found;
    }
    return nullptr;
}

HWND MainWindow::form(std::string_view name) const {
    for (FormNumber number = 1; number <= others_.size(); ++number) {
        if (name == form_description(program_, number).name && others_[number - 1] != nullptr)
            return other(number).hwnd();
    }
    return nullptr;
}

HWND MainWindow::hwnd_of(ControlRef ref) const {
    return ref.form == 0 ? FormWindow::control(ref.row) : other(ref.form).control(ref.row);
}

std::u16string MainWindow::text(ControlRef box) {
    const std::wstring text = window_text(hwnd_of(box));
    return {text.begin(), text.end()};
}

void MainWindow::set_text(ControlRef control, std::string_view utf8) {
    const bool view =
        form_description(program_, control.form).controls[control.row].kind == Kind::TextView;
    SetWindowTextW(hwnd_of(control), view ? with_crlf(utf8).c_str() : widen(utf8).c_str());
}

bool MainWindow::option_value(ControlRef option) {
    return SendMessageW(hwnd_of(option), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// The alternative is the drawing's description for screen readers.
void MainWindow::set_drawing(ControlRef drawing, std::span<const Shape> shapes,
                             std::string_view alternative) {
    draw(hwnd_of(drawing), shapes);
    readers_.set_description(hwnd_of(drawing), std::string(alternative));
}

// Read through the live region: a field's own name change is not read while
// it has no focus. Nothing to read (an error report came up instead, and is
// read itself): the region empties and raises nothing.
void MainWindow::announce(std::string_view reading) {
    if (live_region_ == nullptr) return;
    SetWindowTextW(live_region_, widen(reading).c_str());
    if (!reading.empty()) ScreenReaders::raise_live_region_changed(live_region_);
}

}  // namespace vorlith::win32
