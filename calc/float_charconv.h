#pragma once

// The two floating-point conversions that Val and Str build on, in one
// place: std::from_chars and std::to_chars where the standard library has
// them for double (__cpp_lib_to_chars), else the portable road of
// portable_float_charconv.h, which gives the same double and the same digits.

#include <charconv>
#include <system_error>

#if !defined(__cpp_lib_to_chars)
#include "calc/portable_float_charconv.h"
#endif

namespace vorlith {

// The double nearest to the decimal text [first, last), "digits" or
// "digits e exponent" with a nonzero first digit, ties to even.
// result_out_of_range when it is beyond the largest double or below half the
// smallest subnormal; `value` is then left alone.
inline std::errc nearest_double(const char* first, const char* last, double& value) {
#if defined(__cpp_lib_to_chars)
    return std::from_chars(first, last, value).ec;
#else
    return portable::nearest_double(first, last, value);
#endif
}

// Finite `value` in scientific form with 15 significant digits, the exact
// binary value rounded to nearest, ties to even: "-d.ddddddddddddddde-308".
inline std::to_chars_result to_chars_15_digits(char* first, char* last, double value) {
#if defined(__cpp_lib_to_chars)
    return std::to_chars(first, last, value, std::chars_format::scientific, 14);
#else
    return portable::to_chars_15_digits(first, last, value);
#endif
}

}  // namespace vorlith
