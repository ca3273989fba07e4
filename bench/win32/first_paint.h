#pragma once

// The moment a window's first frame is drawn, reported on stdout as one
// line, after which the process ends at once with status 0. The driver
// (startup.sh) takes the time at which the line arrives.
//
// The first frame: when the top-level window has handled its first
// WM_PAINT, RedrawWindow paints every child that still waits for its own
// WM_PAINT, at once, and GdiFlush sends what GDI still holds.

#include <cstdio>

#include "runtime/win32/win32.h"

namespace vorlith::bench {

inline LRESULT CALLBACK report_first_paint(HWND window, UINT message, WPARAM w, LPARAM l, UINT_PTR,
                                           DWORD_PTR) {
    const LRESULT result = DefSubclassProc(window, message, w, l);
    if (message == WM_PAINT) {
        RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        GdiFlush();
        std::fputs("painted\n", stdout);
        std::fflush(stdout);
        ExitProcess(0);  // the driver measures start-up, not the way out
    }
    return result;
}

// Watches `window` (a top-level window) and reports its first frame.
inline void watch_first_paint(HWND window) {
    SetWindowSubclass(window, report_first_paint, 1, 0);
}

}  // namespace vorlith::bench
