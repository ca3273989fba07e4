#pragma once

// Records every message box that opens on this thread and dismisses it with
// its first button, so that no test can hang on one. A thread timer: the
// box's own modal loop runs it, and a modal form's, where `step` acts while
// no box is open.

#include <functional>
#include <string>
#include <vector>

#include "runtime/win32/win32.h"

namespace vorlith::testing {

struct SeenBox {
    std::string title;
    std::string text;
    std::vector<std::string> buttons;
    bool icon = false;
    bool owner_disabled = false;  // modal: the form takes no input meanwhile
};

class ModalWatcher {
public:
    explicit ModalWatcher(std::function<void()> step = {}) : step_(std::move(step)) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 10, &ModalWatcher::poll);
    }
    ~ModalWatcher() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    ModalWatcher(const ModalWatcher&) = delete;
    ModalWatcher& operator=(const ModalWatcher&) = delete;

    const std::vector<SeenBox>& seen() const { return seen_; }

private:
    static std::string text_of(HWND window) {
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
        return win32::narrow(text);
    }
    static std::wstring class_of(HWND window) {
        wchar_t name[32] = {};
        GetClassNameW(window, name, 32);
        return name;
    }

    static BOOL CALLBACK read_child(HWND child, LPARAM seen_box) {
        auto& box = *reinterpret_cast<SeenBox*>(seen_box);
        if (!IsWindowVisible(child)) return TRUE;
        if (class_of(child) == L"Button") box.buttons.push_back(text_of(child));
        const auto style = GetWindowLongW(child, GWL_STYLE);
        if (class_of(child) == L"Static" && (style & SS_TYPEMASK) == SS_ICON &&
            SendMessageW(child, STM_GETICON, 0, 0) != 0) {
            box.icon = true;
        }
        return TRUE;
    }

    static BOOL CALLBACK find_box(HWND window, LPARAM found) {
        if (IsWindowVisible(window) && class_of(window) == L"#32770") {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }

    static void CALLBACK poll(HWND, UINT, UINT_PTR, DWORD) {
        HWND box = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), find_box, reinterpret_cast<LPARAM>(&box));
        if (current_ == nullptr) return;
        if (box == nullptr) {
            if (current_->step_) current_->step_();
            return;
        }
        SeenBox seen{text_of(box), text_of(GetDlgItem(box, 0xFFFF)), {}, false, false};
        EnumChildWindows(box, read_child, reinterpret_cast<LPARAM>(&seen));
        HWND owner = GetWindow(box, GW_OWNER);
        seen.owner_disabled = owner != nullptr && !IsWindowEnabled(owner);
        current_->seen_.push_back(seen);
        HWND button = FindWindowExW(box, nullptr, L"Button", nullptr);
        const int id = button != nullptr ? GetDlgCtrlID(button) : IDCANCEL;
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    }

    static inline ModalWatcher* current_ = nullptr;
    std::function<void()> step_;
    UINT_PTR timer_ = 0;
    std::vector<SeenBox> seen_;
};

}  // namespace vorlith::testing
