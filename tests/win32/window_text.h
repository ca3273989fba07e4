#pragma once

// What a window says of itself, read as any process may read it: its text
// through WM_GETTEXT (GetWindowTextW gives another process only a window's
// caption, never a control's text), and its class.

#include <string>
#include <string_view>

#include "runtime/win32/win32.h"

namespace vorlith::testing {

// UTF-16 → UTF-8; invalid sequences become U+FFFD.
inline std::string narrow(std::wstring_view utf16) {
    if (utf16.empty()) return {};
    const int size = static_cast<int>(utf16.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

// The text up to its first NUL, as Windows passes it: UTF-16, which keeps a
// lone surrogate; text_of gives it as UTF-8.
inline std::wstring wide_text_of(HWND window) {
    const auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}
inline std::string text_of(HWND window) {
    return narrow(wide_text_of(window));
}

inline std::wstring class_of(HWND window) {
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    return name;
}

}  // namespace vorlith::testing
