#pragma once

// What a screen reader says of the form's controls beyond their own texts,
// worked out from the form's table alone so that every back end says the
// same: an input box's name, a control's unit, a result field's
// description, and one reading of the results after a command.
//
// One rule decides it (accessible_sources): a box is named by the caption
// before it in tab order and its quantity, and described by the caption
// right after it on its line (its unit); a result field is named by the
// value it shows, and described by its quantity and its unit; a text view
// and a drawing are named by their quantity, and a drawing is described by
// the text alternative given with its shapes (set_drawing), which the back
// end keeps; option buttons and push buttons are named by their own text. The texts
// below are read from those sources; a back end that can point at the
// texts on screen (the page's aria-labelledby) takes the sources instead.

#include <span>
#include <string>
#include <vector>

#include "runtime/program.h"

namespace vorlith {

// One text that a name or a description is read from: row `row`'s text (a
// caption as it reads, or what a field shows), or row `row`'s quantity.
struct TextSource {
    enum class Of { Text, Quantity };
    std::size_t row;
    Of of;
    bool operator==(const TextSource&) const = default;
};

// Where what a screen reader says of row `i` comes from, each list in
// reading order. An empty name: the control is named by its own text (a
// caption, a button); an empty description: none.
struct AccessibleSources {
    std::vector<TextSource> name;
    std::vector<TextSource> description;
};
AccessibleSources accessible_sources(std::span<const ControlRow> rows, std::size_t i);

// What a screen reader says of row `i` beyond its own text, read from its
// sources. The name: an input box's is the caption before it in tab order,
// which is what the box shows beside it, and its quantity, "V: 土的体积"
// (speech input finds the box by what it shows); a text view's or a
// drawing's its quantity ("计算过程"); empty for a row named by its own
// text (a box without a quantity, a caption, a button, an option, a result
// field, which is named by the value it shows). The description: a box's
// is its unit, as the caption right after it on its line reads, with the
// recommended values where the row shows them ("g/cm3 推荐值 1.6-2.2"); a
// result field's its quantity and its unit, "土的天然密度 g/cm3 推荐值
// 1.6-2.2"; empty for any other row and a row without a quantity (a
// drawing's is the alternative given with its shapes, which the back end
// keeps).
struct AccessibleText {
    std::string name;
    std::string description;
};
AccessibleText accessible_text(std::span<const ControlRow> rows, std::size_t i);
// One reading of the result fields that show a value, in tab order, each
// with its quantity: "土的天然密度 2.08；土的含水量 20.7". `shown[i]` is
// the text row `i` shows now.
std::string results_reading(std::span<const ControlRow> rows, std::span<const std::string> shown);

}  // namespace vorlith
