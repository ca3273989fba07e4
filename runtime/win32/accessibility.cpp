#include "accessibility.h"

// clang-format off
#include <initguid.h>
#include <oleacc.h>
// clang-format on

namespace vorlith::win32 {
namespace {

// UI Automation's properties as Dynamic Annotation takes them (Windows 8 and
// later); the Windows 7 headers the program is built with lack them.
// LiveSetting_Property_GUID, with the value Polite (LiveSetting in
// UIAutomationCore.h), and HelpText_Property_GUID.
constexpr GUID kLiveSettingProperty = {
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr LONG kPolite = 1;
constexpr GUID kHelpTextProperty = {
    0x08555685, 0x0977, 0x45c7, {0xa7, 0xa6, 0xab, 0xaf, 0x56, 0x84, 0x12, 0x1a}};
// winuser.h declares it for Windows 8 targets only.
constexpr DWORD kLiveRegionChanged = 0x8019;  // EVENT_OBJECT_LIVEREGIONCHANGED

using CoInitializeExFn = HRESULT(WINAPI*)(void*, DWORD);
using CoUninitializeFn = void(WINAPI*)();
using CoCreateInstanceFn = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);

// ole32.dll, loaded once and kept for the process's life: COM and the
// objects it made may outlive any one window.
HMODULE ole32() {
    static const HMODULE module = load_system_dll(L"ole32.dll");
    return module;
}

IAccPropServices* as_services(void* services) {
    return static_cast<IAccPropServices*>(services);
}

}  // namespace

ScreenReaders::ScreenReaders() {
    const auto initialize = function_of<CoInitializeExFn>(ole32(), "CoInitializeEx");
    const auto create = function_of<CoCreateInstanceFn>(ole32(), "CoCreateInstance");
    if (initialize == nullptr || create == nullptr) return;
    // S_FALSE: already initialised on this thread, which is counted too.
    com_ = SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    void* services = nullptr;
    if (SUCCEEDED(create(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                         &services))) {
        services_ = services;
    }
}

ScreenReaders::~ScreenReaders() {
    if (services_ != nullptr) as_services(services_)->Release();
    if (com_) {
        if (const auto uninitialize = function_of<CoUninitializeFn>(ole32(), "CoUninitialize")) {
            uninitialize();
        }
    }
}

void ScreenReaders::set(HWND control, const GUID& property, const std::string& text) {
    if (services_ == nullptr || text.empty()) return;
    as_services(services_)->SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, property,
                                           widen(text).c_str());
}

void ScreenReaders::set_name(HWND control, const std::string& text) {
    set(control, PROPID_ACC_NAME, text);
}

void ScreenReaders::set_description(HWND control, const std::string& text) {
    set(control, PROPID_ACC_DESCRIPTION, text);
    set(control, kHelpTextProperty, text);
}

void ScreenReaders::set_live_region(HWND window) {
    if (services_ == nullptr) return;
    VARIANT polite{};
    polite.vt = VT_I4;
    polite.lVal = kPolite;
    as_services(services_)->SetHwndProp(window, OBJID_CLIENT, CHILDID_SELF, kLiveSettingProperty,
                                        polite);
}

void ScreenReaders::raise_live_region_changed(HWND window) {
    NotifyWinEvent(kLiveRegionChanged, window, OBJID_CLIENT, CHILDID_SELF);
}

void ScreenReaders::clear(HWND control) {
    if (services_ == nullptr) return;
    for (const MSAAPROPID& property :
         {PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION, kHelpTextProperty, kLiveSettingProperty}) {
        as_services(services_)->ClearHwndProps(control, OBJID_CLIENT, CHILDID_SELF, &property, 1);
    }
}

}  // namespace vorlith::win32
