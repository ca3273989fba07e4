#pragma once

// What a screen reader (Narrator, NVDA, JAWS) gets from the form beyond what
// Windows derives from the controls themselves: an input box's name, a
// control's description, and the live region that holds the reading of the
// new results after a command. The annotations go through Dynamic
// Annotation (IAccPropServices, from oleacc through COM), which ole32
// reaches at run time so that the program's imports stay those of Windows 7;
// where a Windows lacks a property, that one property is not set.

#include <string>

#include "win32.h"

namespace vorlith::win32 {

class ScreenReaders {
public:
    ScreenReaders();
    ~ScreenReaders();
    ScreenReaders(const ScreenReaders&) = delete;
    ScreenReaders& operator=(const ScreenReaders&) = delete;

    // The name screen readers give `control` (MSAA's Name, which UI
    // Automation takes over).
    void set_name(HWND control, const std::string& text);
    // What they say of `control` after its name: MSAA's Description, and UI
    // Automation's HelpText, since UI Automation does not map Description.
    void set_description(HWND control, const std::string& text);
    // Makes `window` a polite live region (UI Automation's LiveSetting,
    // Windows 8 and later): a change of it is read once the reader has
    // finished what it is saying.
    void set_live_region(HWND window);
    // Tells screen readers that the live region `window` shows something
    // new: they read its name, the window's text. Sent whatever the Windows
    // (before Windows 8 nobody listens for it).
    static void raise_live_region_changed(HWND window);
    // Forgets what was set for `control`, before it is destroyed: each
    // property in a call of its own, since a call fails as a whole on a
    // Windows that lacks one of its properties.
    void clear(HWND control);

private:
    void set(HWND control, const GUID& property, const std::string& text);

    bool com_ = false;
    void* services_ = nullptr;  // IAccPropServices
};

}  // namespace vorlith::win32
