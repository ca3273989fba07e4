#pragma once

#include <cstdint>

namespace vorlith {

// A positive value rounded to 15 significant digits: `digits` is an integer
// of `count` digits (1 to 15) without trailing zeros, and `exponent` the
// decimal exponent of its first digit, so the value is
// digits × 10^(exponent - count + 1).
struct RoundedDecimal {
    std::uint64_t digits = 0;
    int count = 0;
    int exponent = 0;
};

// Rounds a positive finite double to nearest, ties to even, on its exact
// binary value: the digits std::to_chars gives in scientific form with 14
// digits after the point.
RoundedDecimal round_to_15_digits(double magnitude);

}  // namespace vorlith
