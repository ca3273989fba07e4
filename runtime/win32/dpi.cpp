#include "dpi.h"

namespace vorlith::win32 {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using EnableNonClientDpiScalingFn = BOOL(WINAPI*)(HWND);
// MONITOR_DPI_TYPE MDT_EFFECTIVE_DPI is 0.
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

// A function of user32.dll that Windows 7 may lack, or nullptr.
template <typename Fn>
Fn user32_function(const char* name) {
    return function_of<Fn>(GetModuleHandleW(L"user32.dll"), name);
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
    if (window != nullptr) {
        if (const UINT dpi = monitor_dpi(window); dpi != 0) return dpi;
    }
    return system_dpi();
}

UINT monitor_dpi(HWND window) {
    // shcore.dll (Windows 8.1 and later) stays loaded for the process's life.
    static const auto get_dpi =
        function_of<GetDpiForMonitorFn>(load_system_dll(L"shcore.dll"), "GetDpiForMonitor");
    if (get_dpi == nullptr) return 0;
    UINT x = 0;
    UINT y = 0;
    HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    return monitor != nullptr && SUCCEEDED(get_dpi(monitor, 0, &x, &y)) ? y : 0;
}

void scale_non_client_area(HWND window) {
    static const auto enable =
        user32_function<EnableNonClientDpiScalingFn>("EnableNonClientDpiScaling");
    if (enable != nullptr) enable(window);
}

int system_metric(int index, UINT dpi) {
    static const auto metric = user32_function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (metric != nullptr) return metric(index, dpi);
    return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(system_dpi()));
}

bool face_installed(const wchar_t* face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(
        screen, &wanted,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM seen) -> int {
            *reinterpret_cast<bool*>(seen) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

const wchar_t* chinese_ui_face(UINT code_page, bool (*installed)(const wchar_t* face)) {
    if (code_page == 936) return nullptr;
    for (const wchar_t* face : {L"Microsoft YaHei UI", L"Microsoft YaHei"}) {
        if (installed(face)) return face;
    }
    return nullptr;
}

SIZE window_size_for_client(int width, int height, DWORD style, DWORD ex_style, bool menu,
                            UINT dpi) {
    static const auto adjust =
        user32_function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
    RECT rect{0, 0, width, height};
    if (adjust != nullptr) {
        adjust(&rect, style, menu, ex_style, dpi);
    } else {
        AdjustWindowRectEx(&rect, style, menu, ex_style);
    }
    return {rect.right - rect.left, rect.bottom - rect.top};
}

namespace {

HFONT create_font(LOGFONTW font) {
    static const wchar_t* const chinese = chinese_ui_face(GetACP(), face_installed);
    if (chinese != nullptr) {
        lstrcpynW(font.lfFaceName, chinese, LF_FACESIZE);
        font.lfCharSet = GB2312_CHARSET;
    }
    return CreateFontIndirectW(&font);
}

}  // namespace

HFONT create_message_font(UINT dpi) {
    static const auto parameters =
        user32_function<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (parameters != nullptr &&
        parameters(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
        return create_font(metrics.lfMessageFont);
    }
    // Windows 7 and 8 give the font at the system DPI.
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    LOGFONTW font = metrics.lfMessageFont;
    font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(system_dpi()));
    return create_font(font);
}

}  // namespace vorlith::win32
