#pragma once

// The decimal text to double conversion that Val builds on: std::from_chars
// where the standard library has it for double (__cpp_lib_to_chars), else
// the portable road of portable_float_charconv.h, which gives the same double.

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

}  // namespace vorlith
