#pragma once

// Records every message box that opens on this thread and dismisses it with
// its first button, so that no test can hang on one and no run waits for
// one: a hook sees the box's WM_INITDIALOG return and posts the click, which
// the box's modal loop takes first. (Wine sends the owner no WM_ENTERIDLE,
// and a timer would make each box wait for it.) read_box reads a box of any
// process. With a `step`, a thread timer, which a modal form's own loop
// runs too, calls it while no box is open, to act on that form.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "runtime/win32/win32.h"
#include "window_text.h"

namespace vorlith::testing {

struct SeenBox {
    std::string title;
    std::string text;
    std::vector<std::string> buttons;
    bool icon = false;
    bool owner_disabled = false;  // modal: the form takes no input meanwhile
    int first_button = IDCANCEL;  // its id
};

// A box's caption, text, buttons and icon, whether shown yet or not (the
// box hides the controls it does not use), and its owner's state.
inline SeenBox read_box(HWND box) {
    SeenBox seen;
    seen.title = text_of(box);
    seen.text = text_of(GetDlgItem(box, 0xFFFF));
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const auto style = GetWindowLongW(child, GWL_STYLE);
        if ((style & WS_VISIBLE) == 0) continue;
        if (class_of(child) == L"Button") {
            if (seen.buttons.empty()) seen.first_button = GetDlgCtrlID(child);
            seen.buttons.push_back(text_of(child));
        }
        if (class_of(child) == L"Static" && (style & SS_TYPEMASK) == SS_ICON &&
            SendMessageW(child, STM_GETICON, 0, 0) != 0) {
            seen.icon = true;
        }
    }
    HWND owner = GetWindow(box, GW_OWNER);
    seen.owner_disabled = owner != nullptr && !IsWindowEnabled(owner);
    return seen;
}

class ModalWatcher {
public:
    explicit ModalWatcher(std::function<void()> step = {}) : step_(std::move(step)) {
        current_ = this;
        hook_ = SetWindowsHookExW(WH_CALLWNDPROCRET, &ModalWatcher::on_return, nullptr,
                                  GetCurrentThreadId());
        if (step_) timer_ = SetTimer(nullptr, 0, 10, &ModalWatcher::poll);
    }
    ~ModalWatcher() {
        if (timer_ != 0) KillTimer(nullptr, timer_);
        UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    ModalWatcher(const ModalWatcher&) = delete;
    ModalWatcher& operator=(const ModalWatcher&) = delete;

    bool hooked() const { return hook_ != nullptr; }
    const std::vector<SeenBox>& seen() const { return seen_; }
    // The boxes seen since the last call.
    std::vector<SeenBox> take() { return std::exchange(seen_, {}); }

private:
    static LRESULT CALLBACK on_return(int code, WPARAM w, LPARAM l) {
        const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(l);
        if (code == HC_ACTION && call->message == WM_INITDIALOG && current_ != nullptr &&
            class_of(call->hwnd) == L"#32770") {
            current_->seen_.push_back(read_box(call->hwnd));
            const int id = current_->seen_.back().first_button;
            PostMessageW(call->hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(call->hwnd, id)));
        }
        return CallNextHookEx(nullptr, code, w, l);
    }

    static BOOL CALLBACK find_box(HWND window, LPARAM found) {
        if (IsWindowVisible(window) && class_of(window) == L"#32770") {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }

    static void CALLBACK poll(HWND, UINT, UINT_PTR, DWORD) {
        if (current_ == nullptr || !current_->step_) return;
        HWND box = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), find_box, reinterpret_cast<LPARAM>(&box));
        if (box == nullptr) current_->step_();
    }

    static inline ModalWatcher* current_ = nullptr;
    std::function<void()> step_;
    HHOOK hook_ = nullptr;
    UINT_PTR timer_ = 0;
    std::vector<SeenBox> seen_;
};

}  // namespace vorlith::testing
