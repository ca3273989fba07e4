#pragma once

// What MSAA gives a screen reader for a window, read as one reads it:
// AccessibleObjectFromWindow (or AccessibleObjectFromEvent, for an event's
// object), then get_accName or get_accDescription. oleacc, oleaut32 and
// ole32 are loaded at run time, so that the test programs import no more
// than vorlith.exe does.

#include <cstdio>
#include <string>

// clang-format off
#include "runtime/win32/win32.h"
#include "window_text.h"
#include <ole2.h>
#include <oleacc.h>
// clang-format on

namespace vorlith::testing {

class Msaa {
public:
    Msaa()
        : oleacc_(LoadLibraryW(L"oleacc.dll")),
          oleaut32_(LoadLibraryW(L"oleaut32.dll")),
          ole32_(LoadLibraryW(L"ole32.dll")),
          from_window_(function<FromWindow>(oleacc_, "AccessibleObjectFromWindow")),
          from_event_(function<FromEvent>(oleacc_, "AccessibleObjectFromEvent")),
          free_string_(function<FreeString>(oleaut32_, "SysFreeString")) {
        // The apartment vorlith.exe's thread lives in.
        if (const auto initialize = function<Initialize>(ole32_, "CoInitializeEx")) {
            initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        }
    }
    // The libraries stay loaded: objects from them may still be held.
    Msaa(const Msaa&) = delete;
    Msaa& operator=(const Msaa&) = delete;

    bool loaded() const {
        return from_window_ != nullptr && from_event_ != nullptr && free_string_ != nullptr;
    }
    // The name or description of a window's client object, or "(...)" with
    // what oleacc answered instead.
    std::string name(HWND window) { return read(window, &IAccessible::get_accName); }
    std::string description(HWND window) { return read(window, &IAccessible::get_accDescription); }
    // The name of the object an event came from, as a WinEvent hook gets it.
    std::string name_from_event(HWND window, LONG object, LONG child) {
        IAccessible* accessible = nullptr;
        VARIANT which{};
        const HRESULT found = from_event_(window, static_cast<DWORD>(object),
                                          static_cast<DWORD>(child), &accessible, &which);
        if (FAILED(found) || accessible == nullptr) return failed("no object", found);
        return read(accessible, which, &IAccessible::get_accName);
    }

private:
    using FromWindow = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
    using FromEvent = HRESULT(WINAPI*)(HWND, DWORD, DWORD, IAccessible**, VARIANT*);
    using FreeString = void(WINAPI*)(BSTR);
    using Initialize = HRESULT(WINAPI*)(void*, DWORD);
    using Getter = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);

    template <typename Fn>
    static Fn function(HMODULE module, const char* name) {
        return module == nullptr
                   ? nullptr
                   : reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }
    static std::string failed(const char* what, HRESULT result) {
        char text[48];
        std::snprintf(text, sizeof text, "(%s 0x%08lx)", what, static_cast<unsigned long>(result));
        return text;
    }

    std::string read(HWND window, Getter get) {
        void* object = nullptr;
        const HRESULT found =
            from_window_(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible), &object);
        if (FAILED(found) || object == nullptr) return failed("no object", found);
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        return read(static_cast<IAccessible*>(object), self, get);
    }
    // Releases `accessible`.
    std::string read(IAccessible* accessible, VARIANT child, Getter get) {
        BSTR text = nullptr;
        const HRESULT result = (accessible->*get)(child, &text);
        accessible->Release();
        std::string utf8 =
            result == S_OK ? narrow(text != nullptr ? text : L"") : failed("none", result);
        if (text != nullptr) free_string_(text);
        return utf8;
    }

    HMODULE oleacc_;
    HMODULE oleaut32_;
    HMODULE ole32_;
    FromWindow from_window_;
    FromEvent from_event_;
    FreeString free_string_;
};

}  // namespace vorlith::testing
