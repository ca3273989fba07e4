// from_given on any three known indices: each 9 input bytes are one index
// (the first byte, modulo 13) and its value (the next 8, a double's bits),
// so NaNs, infinities, zeros, negatives and subnormals all occur; one more
// byte picks g. Either the set is refused with a reason, or all thirteen
// values are finite, the known ones come back as given, and each has a
// report text of a sign, digits and at most one point (or an E for a value
// too large to round).

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "calc/given_indices.h"
#include "calc/report_precision.h"

namespace {

bool report_like(const std::string& text) {
    if (text.empty()) return false;
    for (const char c : text)
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == 'E' || c == '+')) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vorlith;
    std::vector<GivenValue> given;
    for (std::size_t at = 0; at + 9 <= size && given.size() < 4; at += 9) {
        double value;
        std::memcpy(&value, data + at + 1, sizeof value);
        given.push_back({static_cast<Index>(data[at] % kIndexCount), value});
    }
    const Gravity g = size % 9 != 0 && (data[size - 1] & 1) ? Gravity::Ten : Gravity::Standard;
    const GivenWorking r = from_given(given, g);
    if (!r.refusal.empty()) return 0;
    if (given.size() != 3 || r.working.empty()) __builtin_trap();
    for (int i = 0; i < kIndexCount; ++i) {
        if (!std::isfinite(r.values[i])) __builtin_trap();
        if (!report_like(report_text(static_cast<Index>(i), r.values[i]))) __builtin_trap();
    }
    for (const GivenValue& v : given)
        if (r.values[static_cast<int>(v.index)] != v.value) __builtin_trap();
    return 0;
}
