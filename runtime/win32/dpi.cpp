#include "dpi.h"

namespace vorlith::win32 {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

// A function of user32.dll that Windows 7 may lack, or nullptr.
template <typename Fn>
Fn user32_function(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 == nullptr
               ? nullptr
               : reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

UINT system_dpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

}  // namespace

UINT dpi_of(HWND window) {
    static const auto get_dpi = user32_function<GetDpiForWindowFn>("GetDpiForWindow");
    if (get_dpi != nullptr && window != nullptr) {
        if (const UINT dpi = get_dpi(window); dpi != 0) return dpi;
    }
    return system_dpi();
}

SIZE window_size_for_client(int width, int height, DWORD style, DWORD ex_style, UINT dpi) {
    static const auto adjust =
        user32_function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
    RECT rect{0, 0, width, height};
    if (adjust != nullptr) {
        adjust(&rect, style, TRUE, ex_style, dpi);
    } else {
        AdjustWindowRectEx(&rect, style, TRUE, ex_style);
    }
    return {rect.right - rect.left, rect.bottom - rect.top};
}

HFONT create_message_font(UINT dpi) {
    static const auto parameters =
        user32_function<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (parameters != nullptr &&
        parameters(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
        return CreateFontIndirectW(&metrics.lfMessageFont);
    }
    // Windows 7 and 8 give the font at the system DPI.
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    LOGFONTW font = metrics.lfMessageFont;
    font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(system_dpi()));
    return CreateFontIndirectW(&font);
}

}  // namespace vorlith::win32
