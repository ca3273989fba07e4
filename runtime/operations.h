#pragma once

// The run-time's operations that a program's handlers call. Each finds its
// form or control by the name the program's description gives it, reaches
// it through the back end of the platform, and takes effect at once. An
// other form is built, hidden, the first time one of its controls is
// reached or it is shown.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vorlith {

// The whole text of input box `box`. Raises 91 when no form has such a box.
std::u16string text_of(std::string_view box);

// Sets the whole caption of label or result field `label` to `utf8`. Raises
// 91 when no form has such a label.
void set_caption(std::string_view label, std::string_view utf8);

// Sets the whole text of input box or text view `control` to `utf8`. Raises
// 91 when no form has such a control.
void set_text(std::string_view control, std::string_view utf8);

// Whether option button `option` is the chosen one of its group. Raises 91
// when no form has such an option.
bool Value(std::string_view option);

// A colour by its red, green and blue, 0 to 255 each.
struct Colour {
    std::uint8_t red, green, blue;
    bool operator==(const Colour&) const = default;
};

// One part of a drawing, in twips from the drawing's top left. A box is a
// rectangle filled in `fill` and outlined, or neither (its text alone on
// the drawing's background) when `fill` is empty, with a text centred in it
// on one or more lines ('\n'). A line runs from (left, top) to (left +
// width, top + height), in `fill` or black, one pixel wide; a dot is a
// disc of diameter `width` centred on (left, top), filled in `fill` (black
// when empty) and outlined; neither has a text. The text of a filled box is
// black; in high contrast and forced colours the system's colours take the
// place of every colour, and fills are left out.
struct Shape {
    enum class Kind { Box, Line, Dot };
    int left, top, width, height;
    std::optional<Colour> fill;
    std::string text;
    Kind kind = Kind::Box;
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

// Hides form `form`; the focus goes back to Form1. Raises 91 for an
// unknown form.
void Hide(std::string_view form);

// Whether form `form` is shown. Raises 91 for an unknown form.
bool Visible(std::string_view form);

// Shows `utf8` in a modal box with a single OK button, no icon and the
// program's title as caption; returns when the box is dismissed.
void MsgBox(std::string_view utf8);

// Offers `utf8` to a printer of the student's choice through the platform's
// print dialog, as plain text on A4 pages under the title `title`, with the
// text view's tab stop (kTabStop); returns once it is printed or the dialog
// cancelled, which prints nothing.
void print_text(std::string_view title, std::string_view utf8);

// Puts `utf8` on the clipboard as text, lines ending as the platform's do,
// for pasting into a word processor.
void copy_text(std::string_view utf8);

// Ends the program at once with status 0: the window disappears and no
// further handler runs. Does not return to the handler that called it.
[[noreturn]] void End();

}  // namespace vorlith
