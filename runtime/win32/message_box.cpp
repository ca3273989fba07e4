#include "main_window.h"

namespace vorlith::win32 {
namespace {

// MessageBoxW labels its button in the language of Windows' own texts; the
// run-time's language is the program's. A CBT hook renames the button when
// the box is activated, before it is drawn.
HHOOK g_hook = nullptr;
const wchar_t* g_ok_text = nullptr;

BOOL CALLBACK rename_button(HWND child, LPARAM) {
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    if (lstrcmpiW(name, L"Button") == 0) SetWindowTextW(child, g_ok_text);
    return TRUE;
}

LRESULT CALLBACK on_cbt(int code, WPARAM w, LPARAM l) {
    const HHOOK hook = g_hook;
    if (code == HCBT_ACTIVATE && hook != nullptr) {
        g_hook = nullptr;
        UnhookWindowsHookEx(hook);
        EnumChildWindows(reinterpret_cast<HWND>(w), rename_button, 0);
        return 0;
    }
    return CallNextHookEx(hook, code, w, l);
}

}  // namespace

// A modal box owned by the form (or the modal form shown), with one OK
// button and no icon (the button-and-icon value 0).
void MainWindow::message_box(std::string_view utf8) {
    const RunTimeTexts* texts = run_time_texts(program_.locale_id);
    const std::wstring ok = texts != nullptr ? widen(texts->ok) : std::wstring();
    g_ok_text = ok.c_str();
    if (texts != nullptr) g_hook = SetWindowsHookExW(WH_CBT, on_cbt, nullptr, GetCurrentThreadId());
    // Over a modal form, owned by it: the form is active again after.
    HWND owner = window_ != nullptr && IsWindowVisible(window_) ? window_ : nullptr;
    if (owner != nullptr && !modal_.empty()) owner = other(modal_.back().form).hwnd();
    MessageBoxW(owner, widen(utf8).c_str(), widen(program_.title).c_str(),
                MB_OK | (owner == nullptr ? MB_TASKMODAL : 0));
    if (g_hook != nullptr) {
        UnhookWindowsHookEx(g_hook);
        g_hook = nullptr;
    }
}

}  // namespace vorlith::win32
