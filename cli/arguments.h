#pragma once

// What every mode of vorlith-calc reads its arguments with: options and
// their values, a usage error's message, the choice of g.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/phase_relations.h"

namespace vorlith::cli {

// A mistake in the command: its message goes to standard error with the
// exit status 2.
struct UsageError {
    std::string message;
};

// Whether `argument` is an option: a number such as -5, -.5 or -5:20 is an
// operand.
bool is_option(std::u16string_view argument);

// The option `argument` without its "=VALUE", and that value if given.
struct Option {
    std::u16string name;
    std::optional<std::u16string> attached;
};
Option split_option(const std::u16string& argument);

// The value of the option at `arguments[i]`, given as "--g 10" (i moves on
// to it) or "--g=10" (`attached`).
std::u16string value_of(const std::vector<std::u16string>& arguments, std::size_t& i,
                        const std::optional<std::u16string>& attached);

// --g's value: 9.81, 9.8 or 10.
Gravity gravity_from(const std::u16string& text);

}  // namespace vorlith::cli
