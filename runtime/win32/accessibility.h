#pragma once

// What a screen reader (Narrator, NVDA, JAWS) gets from the form beyond what
// Windows derives from the controls themselves: an input box's name, a
// result field's description, and the new results read out after a
// command. The services come from DLLs loaded at run time, so that the
// program's imports stay those of Windows 7, and they do nothing where a
// Windows lacks them.

#include <span>
#include <string>

#include "runtime/accessible_text.h"
#include "runtime/program.h"
#include "win32.h"

namespace vorlith::win32 {

// Dynamic Annotation (IAccPropServices, from oleacc through COM) and UI
// Automation notifications (Windows 10 1709 and later).
class ScreenReaders {
public:
    ScreenReaders();
    ~ScreenReaders();
    ScreenReaders(const ScreenReaders&) = delete;
    ScreenReaders& operator=(const ScreenReaders&) = delete;

    // Gives `control` the name or description `text` for MSAA and UI
    // Automation. False where Dynamic Annotation is not there.
    bool set_name(HWND control, const std::string& text);
    bool set_description(HWND control, const std::string& text);
    // Forgets what was set for `control`, before it is destroyed.
    void clear(HWND control);
    // Asks the screen reader to read `text` once, as the outcome of an
    // action in `window`. False where Windows has no such notification.
    bool announce(HWND window, const std::string& text);

private:
    bool set(HWND control, const GUID& property, const std::string& text);

    HMODULE ole32_ = nullptr;
    HMODULE oleaut32_ = nullptr;
    HMODULE uia_ = nullptr;
    bool com_ = false;
    void* services_ = nullptr;  // IAccPropServices
};

}  // namespace vorlith::win32
