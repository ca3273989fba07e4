#pragma once

// The run-time's operations that a program's handlers call. Each reaches the
// form that start() built, through the back end of the platform, and takes
// effect at once. Names are those of the program's description.

#include <string>
#include <string_view>

namespace vorlith {

// The whole text of input box `box`. Raises 91 when the form has no such box.
std::u16string text_of(std::string_view box);

// Sets the whole caption of label `label` to `utf8`. Raises 91 when the form
// has no such label.
void set_caption(std::string_view label, std::string_view utf8);

// Shows `utf8` in a modal box with a single OK button, no icon and the
// program's title as caption; returns when the box is dismissed.
void MsgBox(std::string_view utf8);

// Ends the program at once with status 0: the window disappears and no
// further handler runs. Does not return to the handler that called it.
[[noreturn]] void End();

}  // namespace vorlith
