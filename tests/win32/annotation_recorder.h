#pragma once

// Records what a window annotates for screen readers through Dynamic
// Annotation, whatever Windows does with it (Wine 8 keeps nothing): while a
// recorder lives, COM gives it to whoever in this process asks for the
// AccPropServices class (CoRegisterClassObject), as a form does when it is
// built. Each call that annotates a window is recorded (window, object,
// child, property, value) and passed on to Windows' own service; the form
// makes no other. ole32 is loaded at run time, as the test programs import
// no more than vorlith.exe does.

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

// clang-format off
#include "runtime/win32/win32.h"
#include "window_text.h"
#include <ole2.h>
#include <oleacc.h>
// clang-format on

namespace vorlith::testing {

// The properties as Microsoft documents them (oleacc.h, UIAutomationClient.h).
inline constexpr GUID kNameProperty = {
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};
inline constexpr GUID kDescriptionProperty = {
    0x4d48dfe4, 0xbd3f, 0x491f, {0xa6, 0x48, 0x49, 0x2d, 0x6f, 0x20, 0xc5, 0x88}};
inline constexpr GUID kHelpTextProperty = {
    0x08555685, 0x0977, 0x45c7, {0xa7, 0xa6, 0xab, 0xaf, 0x56, 0x84, 0x12, 0x1a}};
inline constexpr GUID kLiveSettingProperty = {
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};

class AnnotationRecorder final : public IAccPropServices, public IClassFactory {
public:
    AnnotationRecorder() {
        ole32_ = LoadLibraryW(L"ole32.dll");  // kept: COM outlives the recorder
        const auto initialize = function<Initialize>("CoInitializeEx");
        const auto create = function<Create>("CoCreateInstance");
        const auto enrol = function<Register>("CoRegisterClassObject");
        if (initialize == nullptr || create == nullptr || enrol == nullptr) {
            problem_ = "ole32 lacks CoInitializeEx, CoCreateInstance or CoRegisterClassObject";
            return;
        }
        initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        void* real = nullptr;
        if (SUCCEEDED(create(kClass, nullptr, CLSCTX_INPROC_SERVER, kInterface, &real))) {
            windows_ = static_cast<IAccPropServices*>(real);
        }
        const HRESULT enrolled = enrol(kClass, static_cast<IClassFactory*>(this),
                                       CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_);
        if (FAILED(enrolled)) problem_ = "CoRegisterClassObject failed: " + hex(enrolled);
    }
    ~AnnotationRecorder() {
        if (cookie_ != 0) {
            if (const auto revoke = function<Revoke>("CoRevokeClassObject")) revoke(cookie_);
        }
        if (windows_ != nullptr) windows_->Release();
    }
    AnnotationRecorder(const AnnotationRecorder&) = delete;
    AnnotationRecorder& operator=(const AnnotationRecorder&) = delete;

    // Empty when the recorder is in place, else why it is not.
    const std::string& problem() const { return problem_; }
    // What `window`'s client object has for `property` now (set, not
    // cleared): the text, or "VT_I4 n" for a number.
    std::optional<std::string> value(HWND window, const GUID& property) const {
        for (const Entry& entry : entries_) {
            if (entry.window == window && entry.object == static_cast<DWORD>(OBJID_CLIENT) &&
                entry.child == CHILDID_SELF && IsEqualGUID(entry.property, property)) {
                return entry.value;
            }
        }
        return std::nullopt;
    }
    // How many properties are set now, on any window and object.
    std::size_t count() const { return entries_.size(); }
    // The most properties cleared in one call.
    int widest_clear() const { return widest_clear_; }
    // What Windows' own service answered to the last property set: S_OK
    // where it keeps them.
    HRESULT windows_answer() const { return windows_answer_; }
    static std::string hex(HRESULT result) {
        char text[16];
        std::snprintf(text, sizeof text, "0x%08lx", static_cast<unsigned long>(result));
        return text;
    }

    // IUnknown, IClassFactory: one object on the test's stack.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (IsEqualGUID(id, __uuidof(IUnknown)) || IsEqualGUID(id, kInterface)) {
            *out = static_cast<IAccPropServices*>(this);
        } else if (IsEqualGUID(id, __uuidof(IClassFactory))) {
            *out = static_cast<IClassFactory*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID id, void** out) override {
        return outer != nullptr ? CLASS_E_NOAGGREGATION : QueryInterface(id, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

    // The calls a window's annotations go through, recorded.
    HRESULT STDMETHODCALLTYPE SetHwndProp(HWND window, DWORD object, DWORD child,
                                          MSAAPROPID property, VARIANT value) override {
        keep({window, object, child, property,
              value.vt == VT_I4 ? "VT_I4 " + std::to_string(value.lVal)
                                : "VT " + std::to_string(value.vt)});
        return answer(windows_ ? windows_->SetHwndProp(window, object, child, property, value)
                               : E_NOTIMPL);
    }
    HRESULT STDMETHODCALLTYPE SetHwndPropStr(HWND window, DWORD object, DWORD child,
                                             MSAAPROPID property, LPCWSTR text) override {
        keep({window, object, child, property, narrow(text != nullptr ? text : L"")});
        return answer(windows_ ? windows_->SetHwndPropStr(window, object, child, property, text)
                               : E_NOTIMPL);
    }
    HRESULT STDMETHODCALLTYPE ClearHwndProps(HWND window, DWORD object, DWORD child,
                                             const MSAAPROPID* properties, int count) override {
        widest_clear_ = std::max(widest_clear_, count);
        for (int i = 0; i < count; ++i) {
            std::erase_if(entries_, [&](const Entry& entry) {
                return entry.window == window && entry.object == object && entry.child == child &&
                       IsEqualGUID(entry.property, properties[i]);
            });
        }
        return windows_ ? windows_->ClearHwndProps(window, object, child, properties, count)
                        : E_NOTIMPL;
    }

    // The rest, which the form does not use.
    HRESULT STDMETHODCALLTYPE SetPropValue(const BYTE*, DWORD, MSAAPROPID, VARIANT) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetPropServer(const BYTE*, DWORD, const MSAAPROPID*, int,
                                            IAccPropServer*, AnnoScope) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ClearProps(const BYTE*, DWORD, const MSAAPROPID*, int) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetHwndPropServer(HWND, DWORD, DWORD, const MSAAPROPID*, int,
                                                IAccPropServer*, AnnoScope) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ComposeHwndIdentityString(HWND, DWORD, DWORD, BYTE**,
                                                        DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DecomposeHwndIdentityString(const BYTE*, DWORD, HWND*, DWORD*,
                                                          DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetHmenuProp(HMENU, DWORD, MSAAPROPID, VARIANT) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetHmenuPropStr(HMENU, DWORD, MSAAPROPID, LPCWSTR) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetHmenuPropServer(HMENU, DWORD, const MSAAPROPID*, int,
                                                 IAccPropServer*, AnnoScope) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ClearHmenuProps(HMENU, DWORD, const MSAAPROPID*, int) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ComposeHmenuIdentityString(HMENU, DWORD, BYTE**, DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DecomposeHmenuIdentityString(const BYTE*, DWORD, HMENU*,
                                                           DWORD*) override {
        return E_NOTIMPL;
    }

private:
    struct Entry {
        HWND window;
        DWORD object;
        DWORD child;
        GUID property;
        std::string value;
    };
    using Initialize = HRESULT(WINAPI*)(void*, DWORD);
    using Create = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);
    using Register = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, DWORD, DWORD*);
    using Revoke = HRESULT(WINAPI*)(DWORD);
    // CLSID_AccPropServices and IID_IAccPropServices.
    static constexpr GUID kClass = {
        0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
    static constexpr GUID kInterface = {
        0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};

    template <typename Fn>
    Fn function(const char* name) const {
        return ole32_ == nullptr
                   ? nullptr
                   : reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(ole32_, name)));
    }
    void keep(Entry entry) {
        std::erase_if(entries_, [&](const Entry& old) {
            return old.window == entry.window && old.object == entry.object &&
                   old.child == entry.child && IsEqualGUID(old.property, entry.property);
        });
        entries_.push_back(std::move(entry));
    }
    HRESULT answer(HRESULT result) {
        windows_answer_ = result;
        return result;
    }

    HMODULE ole32_ = nullptr;
    IAccPropServices* windows_ = nullptr;
    DWORD cookie_ = 0;
    std::string problem_;
    std::vector<Entry> entries_;
    int widest_clear_ = 0;
    HRESULT windows_answer_ = E_FAIL;
};

}  // namespace vorlith::testing
