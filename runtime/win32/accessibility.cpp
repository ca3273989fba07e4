#include "accessibility.h"

// clang-format off
#include <initguid.h>
#include <oleacc.h>
// clang-format on

namespace vorlith::win32 {
namespace {

// Looked up at run time: CoCreateInstance and friends (ole32),
// SysAllocString (oleaut32), UI Automation (uiautomationcore).
using CoInitializeExFn = HRESULT(WINAPI*)(void*, DWORD);
using CoUninitializeFn = void(WINAPI*)();
using CoCreateInstanceFn = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);
using SysAllocStringFn = BSTR(WINAPI*)(const OLECHAR*);
using SysFreeStringFn = void(WINAPI*)(BSTR);
using UiaHostProviderFromHwndFn = HRESULT(WINAPI*)(HWND, IUnknown**);
// NotificationKind_ActionCompleted and NotificationProcessing_ImportantMostRecent.
using UiaRaiseNotificationEventFn = HRESULT(WINAPI*)(IUnknown*, int, int, BSTR, BSTR);
constexpr int kActionCompleted = 2;
constexpr int kImportantMostRecent = 1;

IAccPropServices* as_services(void* services) {
    return static_cast<IAccPropServices*>(services);
}

}  // namespace

ScreenReaders::ScreenReaders() {
    ole32_ = load_system_dll(L"ole32.dll");
    const auto initialize = function_of<CoInitializeExFn>(ole32_, "CoInitializeEx");
    const auto create = function_of<CoCreateInstanceFn>(ole32_, "CoCreateInstance");
    if (initialize == nullptr || create == nullptr) return;
    // S_FALSE: already initialised on this thread, which is counted too.
    com_ = SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED));
    void* services = nullptr;
    if (SUCCEEDED(create(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                         &services))) {
        services_ = services;
    }
}

ScreenReaders::~ScreenReaders() {
    if (services_ != nullptr) as_services(services_)->Release();
    if (com_) {
        if (const auto uninitialize = function_of<CoUninitializeFn>(ole32_, "CoUninitialize")) {
            uninitialize();
        }
    }
    for (HMODULE module : {uia_, oleaut32_, ole32_}) {
        if (module != nullptr) FreeLibrary(module);
    }
}

bool ScreenReaders::set(HWND control, const GUID& property, const std::string& text) {
    if (services_ == nullptr || text.empty()) return false;
    return SUCCEEDED(as_services(services_)->SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF,
                                                            property, widen(text).c_str()));
}

bool ScreenReaders::set_name(HWND control, const std::string& text) {
    return set(control, PROPID_ACC_NAME, text);
}

bool ScreenReaders::set_description(HWND control, const std::string& text) {
    return set(control, PROPID_ACC_DESCRIPTION, text);
}

void ScreenReaders::clear(HWND control) {
    if (services_ == nullptr) return;
    const MSAAPROPID properties[] = {PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION};
    as_services(services_)->ClearHwndProps(control, OBJID_CLIENT, CHILDID_SELF, properties, 2);
}

bool ScreenReaders::announce(HWND window, const std::string& text) {
    if (text.empty()) return false;
    if (uia_ == nullptr) {
        uia_ = load_system_dll(L"uiautomationcore.dll");
        oleaut32_ = load_system_dll(L"oleaut32.dll");
    }
    const auto host = function_of<UiaHostProviderFromHwndFn>(uia_, "UiaHostProviderFromHwnd");
    const auto raise = function_of<UiaRaiseNotificationEventFn>(uia_, "UiaRaiseNotificationEvent");
    const auto allocate = function_of<SysAllocStringFn>(oleaut32_, "SysAllocString");
    const auto free = function_of<SysFreeStringFn>(oleaut32_, "SysFreeString");
    if (host == nullptr || raise == nullptr || allocate == nullptr || free == nullptr) return false;
    IUnknown* provider = nullptr;
    if (FAILED(host(window, &provider)) || provider == nullptr) return false;
    const BSTR reading = allocate(widen(text).c_str());
    const BSTR activity = allocate(L"VorlithResults");
    const bool raised =
        SUCCEEDED(raise(provider, kActionCompleted, kImportantMostRecent, reading, activity));
    free(activity);
    free(reading);
    provider->Release();
    return raised;
}

}  // namespace vorlith::win32
