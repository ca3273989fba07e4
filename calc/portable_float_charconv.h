#pragma once

// nearest_double of float_charconv.h for a standard library without
// floating-point <charconv> (Emscripten's libc++): the C library's strtod,
// which rounds the exact value to nearest, ties to even, as std::from_chars
// does. The text is digits with a point-free exponent, so the locale's
// decimal point never comes in (Emscripten's is always ".").

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <system_error>

namespace vorlith::portable {

inline std::errc nearest_double(const char* first, const char* last, double& value) {
    const std::string text(first, last);  // strtod reads up to a null
    const double parsed = std::strtod(text.c_str(), nullptr);
    // strtod gives an infinity for a text beyond the largest double and
    // zero for one below half the smallest subnormal; the first digit is
    // nonzero, so zero is always an underflow.
    if (std::isinf(parsed) || parsed == 0) return std::errc::result_out_of_range;
    value = parsed;
    return std::errc{};
}

}  // namespace vorlith::portable
