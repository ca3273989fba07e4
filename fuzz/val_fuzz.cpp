// Val on arbitrary UTF-16 text: every pair of input bytes is one code unit
// (little-endian), so lone surrogates, U+0000 and full-width forms all occur.
// Val may raise RuntimeError 6 (overflow) and nothing else, and whatever it
// returns is a finite double. val_stop says where Val stops: the text cut
// there reads the same, and it holds a number exactly when Val finds one.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "calc/numeric_text.h"
#include "runtime/runtime_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string text(size / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
    }
    const std::size_t stop = vorlith::val_stop(text);
    if (stop > text.size() || (stop != 0) != vorlith::val_reads_number(text)) __builtin_trap();
    try {
        const double value = vorlith::Val(text);
        if (!std::isfinite(value)) __builtin_trap();
        if (vorlith::Val(std::u16string_view(text).substr(0, stop)) != value) __builtin_trap();
    } catch (const vorlith::RuntimeError& error) {
        if (error.number != 6) __builtin_trap();
    }
    return 0;
}
