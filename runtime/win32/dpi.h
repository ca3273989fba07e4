#pragma once

// Dots per inch and the desktop's message font, on every Windows from 7 to
// 11: the per-monitor functions of Windows 10 are used where they exist,
// the system-wide ones otherwise.

#include "win32.h"

namespace vorlith::win32 {

// The DPI of the monitor that `window` is on (per-monitor aware), or the
// system DPI where Windows knows no per-monitor DPI.
UINT dpi_of(HWND window);

// A length in twips as pixels at `dpi`.
inline int twips_to_pixels(int twips, UINT dpi) {
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}

// The window rectangle around a client area of `width` × `height` pixels
// with a one-line menu bar, at `dpi`.
SIZE window_size_for_client(int width, int height, DWORD style, DWORD ex_style, UINT dpi);

// The desktop's message font at `dpi` (Microsoft YaHei UI 9 pt on a Chinese
// Windows 10 or 11); the caller deletes it.
HFONT create_message_font(UINT dpi);

}  // namespace vorlith::win32
