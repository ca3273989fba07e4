#pragma once

// What a screen reader says of the form's controls beyond their own texts,
// worked out from the form's table alone so that every back end says the
// same: an input box's name, a control's unit, a result field's
// description, and one reading of the results after a command.

#include <span>
#include <string>

#include "runtime/program.h"

namespace vorlith {

// An input box's name (row `i` of `rows`): the caption before it in tab
// order, which is what the box shows beside it, and its quantity, as
// "V: 土的体积". Speech input finds the box by what it shows. Empty for a
// row without a quantity.
std::string accessible_name(std::span<const ControlRow> rows, std::size_t i);
// The unit of row `i`, as the caption right after it on its line reads it,
// with the recommended values where the row shows them ("g/cm3 推荐值
// 1.6-2.2"); empty when there is none.
std::string accessible_unit(std::span<const ControlRow> rows, std::size_t i);
// A result field's description: its quantity and its unit, "土的天然密度
// g/cm3 推荐值 1.6-2.2". Empty for a row without a quantity.
std::string accessible_description(std::span<const ControlRow> rows, std::size_t i);
// One reading of the result fields that show a value, in tab order, each
// with its quantity: "土的天然密度 2.08；土的含水量 20.7". `shown[i]` is
// the text row `i` shows now.
std::string results_reading(std::span<const ControlRow> rows, std::span<const std::string> shown);

}  // namespace vorlith
