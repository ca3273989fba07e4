#pragma once

// The run-time's operations that a program's handlers call. Each reaches the
// form that start() built, through the back end of the platform, and takes
// effect at once. Names are those of the program's description.

#include <span>
#include <string>
#include <string_view>

namespace vorlith {

// The whole text of input box `box`. Raises 91 when the form has no such box.
std::u16string text_of(std::string_view box);

// Sets the whole caption of label `label` to `utf8`. Raises 91 when the form
// has no such label.
void set_caption(std::string_view label, std::string_view utf8);

// Sets the whole text of input box or text view `control` to `utf8`. Raises
// 91 when no form has such a control.
void set_text(std::string_view control, std::string_view utf8);

// Whether option button `option` is the chosen one of its group. Raises 91
// when no form has such an option.
bool Value(std::string_view option);

// One part of a drawing, in twips from the drawing's top left: a rectangle
// filled as one phase of the soil (or not filled), with a text centred in
// it on one or more lines ('\n').
struct Shape {
    enum class Fill { None, Air, Water, Solid };
    int left, top, width, height;
    Fill fill;
    std::string text;
};

// Replaces what drawing `drawing` shows by `shapes`, in order, and what a
// screen reader reads of it by `alternative`. Raises 91 when no form has
// such a drawing.
void set_drawing(std::string_view drawing, std::span<const Shape> shapes,
                 std::string_view alternative);

// Shows form `form` (one of the program's other forms) in front of Form1,
// with the focus on its first control that takes it. Modeless: returns at
// once, and the form stays until hidden or closed. Modal: the other forms
// take no input until it is hidden or closed, and then Show returns. A form
// already shown comes to the front. Raises 91 for an unknown form.
enum class Modal { No, Yes };
void Show(std::string_view form, Modal modal);

// Hides form `form`, as its close control does; the focus goes back to
// Form1. Raises 91 for an unknown form.
void Hide(std::string_view form);

// Whether form `form` is shown. Raises 91 for an unknown form.
bool Visible(std::string_view form);

// Shows `utf8` in a modal box with a single OK button, no icon and the
// program's title as caption; returns when the box is dismissed.
void MsgBox(std::string_view utf8);

// Ends the program at once with status 0: the window disappears and no
// further handler runs. Does not return to the handler that called it.
[[noreturn]] void End();

}  // namespace vorlith
