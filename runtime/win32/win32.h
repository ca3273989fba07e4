#pragma once

// <windows.h> as every file of this back end includes it: wide-character
// functions, the Windows 7 API (newer functions are looked up at run time,
// see dpi.h), nothing rarely used.

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// clang-format off
#include <commctrl.h>
// clang-format on

// Sent by Windows 10 (1703 and later) before a change of DPI, to ask for the
// window's new size; the headers declare it only for Windows 10 targets.
#ifndef WM_GETDPISCALEDSIZE
#define WM_GETDPISCALEDSIZE 0x02E4
#endif

#include <string>
#include <string_view>

namespace vorlith::win32 {

// UTF-8 → UTF-16; invalid sequences become U+FFFD.
std::wstring widen(std::string_view utf8);
// The whole text of `window`.
std::wstring window_text(HWND window);

// The program's own module, which registers its window classes.
inline HINSTANCE instance() {
    return GetModuleHandleW(nullptr);
}

// Functions that Windows 7 lacks, or that live in DLLs the program does not
// import, are looked up at run time so that the program starts everywhere:
// a DLL of Windows from the system folder only (never the program's own),
// or nullptr.
HMODULE load_system_dll(const wchar_t* name);
// The function `name` of `module`, or nullptr (also when `module` is).
template <typename Fn>
Fn function_of(HMODULE module, const char* name) {
    return module == nullptr
               ? nullptr
               : reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace vorlith::win32
