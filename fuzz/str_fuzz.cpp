// Str on arbitrary doubles (8 input bytes, as stored in memory).
//
// Non-finite values give the run-time's fixed texts. For finite values the
// text uses only blank, minus, digits, point, E and plus, starts with a blank
// or a minus, is at most 24 characters long, and reads back with Val as the
// value rounded to 15 significant digits; when that rounding goes beyond the
// largest double, Val raises RuntimeError 6 instead.
//
// The rounded value is computed independently with printf's "%.14e" and
// strtod; the fuzzing process runs in the C locale, so both use '.'.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "calc/numeric_text.h"
#include "runtime/runtime_error.h"

namespace {

[[noreturn]] void fail(const char* what, double value, const std::string& text) {
    std::fprintf(stderr, "Str(%a) = \"%s\": %s\n", value, text.c_str(), what);
    __builtin_trap();
}

bool is_allowed(char c) {
    return c == ' ' || c == '-' || (c >= '0' && c <= '9') || c == '.' || c == 'E' || c == '+';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < sizeof(double)) return 0;
    double value;
    std::memcpy(&value, data, sizeof value);

    const std::string text = vorlith::Str(value);

    if (std::isnan(value)) {
        if (text != "-1.#IND") fail("not the text for NaN", value, text);
        return 0;
    }
    if (std::isinf(value)) {
        if (text != (value < 0 ? "-1.#INF" : " 1.#INF"))
            fail("not the text for infinity", value, text);
        return 0;
    }

    if (text.empty() || text.size() > 24) fail("empty or longer than 24", value, text);
    if (text.front() != ' ' && text.front() != '-') fail("no blank or minus in front", value, text);
    for (char c : text) {
        if (!is_allowed(c)) fail("a character out of place", value, text);
    }

    char rounded_text[40];
    std::snprintf(rounded_text, sizeof rounded_text, "%.14e", value);
    const double rounded = std::strtod(rounded_text, nullptr);
    const bool overflows = std::isinf(rounded);

    const std::u16string wide(text.begin(), text.end());
    try {
        const double back = vorlith::Val(wide);
        if (overflows) fail("Val read back a number beyond a double", value, text);
        if (back != rounded) {
            std::fprintf(stderr, "Val gave %a, expected %a (%s)\n", back, rounded, rounded_text);
            fail("does not read back as the value rounded to 15 digits", value, text);
        }
    } catch (const vorlith::RuntimeError& error) {
        if (error.number != 6 || !overflows) fail("Val raised a RuntimeError", value, text);
    }
    return 0;
}
