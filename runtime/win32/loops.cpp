// The other forms shown and hidden, a modal form's loop, and the program's
// event loop: keys go through IsDialogMessageW for the form they are for.
#include "main_window.h"

namespace vorlith::win32 {

void MainWindow::show_form(FormNumber number, Modal modal, std::optional<std::size_t> focus) {
    if (modal == Modal::Yes) return run_modal(number, focus);
    other(number).show(focus);
}

// Form1 and the other forms shown are disabled, and a loop of the form's
// own runs (keys through IsDialogMessageW for it) until it is hidden or
// every form is (End); a WM_QUIT met meanwhile is posted again for the
// program's loop.
void MainWindow::run_modal(FormNumber number, std::optional<std::size_t> focus) {
    OtherForm& form = other(number);
    ModalForm& shown = modal_.emplace_back(ModalForm{number, {}});
    if (IsWindowEnabled(window_)) shown.disabled.push_back(window_);
    for (const auto& each : others_) {
        HWND window = each != nullptr ? each->hwnd() : nullptr;
        if (each.get() != &form && IsWindowVisible(window) && IsWindowEnabled(window))
            shown.disabled.push_back(window);
    }
    for (HWND window : shown.disabled) EnableWindow(window, FALSE);
    form.show(focus);
    MSG message{};
    while (form.hwnd() != nullptr && IsWindowVisible(form.hwnd())) {
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        dispatch(window_, message);
    }
    if (!modal_.empty() && modal_.back().form == number) enable_disabled();
}

// The windows a modal form disabled are enabled before it is hidden, so
// that Windows activates Form1 and not another program's window.
void MainWindow::enable_disabled() {
    for (HWND window : modal_.back().disabled) EnableWindow(window, TRUE);
    modal_.pop_back();
}

void MainWindow::raise_form(FormNumber number) {
    SetForegroundWindow(other(number).hwnd());
}

void MainWindow::hide_form(FormNumber number) {
    if (!modal_.empty() && modal_.back().form == number) enable_disabled();
    const bool active = GetActiveWindow() == other(number).hwnd();
    ShowWindow(other(number).hwnd(), SW_HIDE);
    if (active && window_ != nullptr) SetActiveWindow(window_);
}

void MainWindow::end() {
    if (window_ == nullptr) return;
    while (!modal_.empty()) enable_disabled();
    for (const auto& form : others_) {
        if (form != nullptr) ShowWindow(form->hwnd(), SW_HIDE);
    }
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

}  // namespace

void dispatch(HWND form, MSG& message) {
    if (IsWindow(form) && IsDialogMessageW(dialog_of(form, message), &message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int run_event_loop(HWND form) {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) dispatch(form, message);
    return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 1;
}

std::optional<int> process_events(HWND form) {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) return static_cast<int>(message.wParam);
        dispatch(form, message);
    }
    return std::nullopt;
}

}  // namespace vorlith::win32
