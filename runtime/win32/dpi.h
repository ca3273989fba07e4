#pragma once

// Dots per inch and the desktop's message font, on every Windows from 7 to
// 11: the per-monitor functions of Windows 10 are used where they exist,
// the system-wide ones otherwise.

#include "win32.h"

namespace vorlith::win32 {

// The DPI of the monitor that `window` is on (per-monitor aware), or the
// system DPI where Windows knows no per-monitor DPI: GetDpiForWindow on
// Windows 10 1607 and later, GetDpiForMonitor on Windows 8.1 and 10 1507.
UINT dpi_of(HWND window);
// The effective DPI of the monitor nearest `window` by GetDpiForMonitor, or
// 0 where Windows lacks it (before 8.1).
UINT monitor_dpi(HWND window);

// Lets Windows 10 1607 scale the frame, menu bar and caption of `window`
// with its monitor's DPI, where only per-monitor awareness v1 is there (v2
// does it on its own). To be called from WM_NCCREATE.
void scale_non_client_area(HWND window);

// A system metric (SM_CXSMICON, ...) at `dpi`.
int system_metric(int index, UINT dpi);

// A length in twips as pixels at `dpi`.
inline int twips_to_pixels(int twips, UINT dpi) {
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}

// The window rectangle around a client area of `width` × `height` pixels
// with a one-line menu bar where `menu`, at `dpi`.
SIZE window_size_for_client(int width, int height, DWORD style, DWORD ex_style, bool menu,
                            UINT dpi);

// The desktop's message font at `dpi` (Microsoft YaHei UI 9 pt on a Chinese
// Windows 10 or 11); the caller deletes it. Where the ANSI code page is not
// Simplified Chinese (936), the message font's face would draw the Chinese
// captions through font linking, often in a Japanese face: there the font
// is the system's Simplified Chinese UI face at the message font's height.
HFONT create_message_font(UINT dpi);

// The face that replaces the message font's under ANSI code page
// `code_page`, the first of the Simplified Chinese UI faces that
// `installed` finds (Microsoft YaHei UI from Windows 8, Microsoft YaHei on
// Windows 7); nullptr: the message font's own.
const wchar_t* chinese_ui_face(UINT code_page, bool (*installed)(const wchar_t* face));
bool face_installed(const wchar_t* face);

}  // namespace vorlith::win32
