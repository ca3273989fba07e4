#pragma once

// What a screen reader (Narrator, NVDA, JAWS) gets from the form beyond what
// Windows derives from the controls themselves: an input box's name, a
// result field's description, and the new results read out after a
// command. The services come from DLLs loaded at run time, so that the
// program's imports stay those of Windows 7, and they do nothing where a
// Windows lacks them.

#include <span>
#include <string>

#include "runtime/program.h"
#include "win32.h"

namespace vorlith::win32 {

// The texts, from the form's table (row `i` of `rows`), in UTF-8:
// An input box's name: the caption before it in tab order (which Windows
// would name it by) and its quantity, "V: 土的体积". Empty for a row that
// has no quantity.
std::string accessible_name(std::span<const ControlRow> rows, std::size_t i);
// A result field's description: its quantity and its unit, the first word
// of the caption that follows it on its line ("土的天然密度 g/cm3").
std::string accessible_description(std::span<const ControlRow> rows, std::size_t i);
// One reading of the result fields that show a value, in tab order: the
// symbol before each (without its colon), the value and the unit, as
// "ρ 2.08 g/cm3，w 20.7 %". `shown[i]` is the text row `i` shows now.
std::string results_reading(std::span<const ControlRow> rows, std::span<const std::string> shown);

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
