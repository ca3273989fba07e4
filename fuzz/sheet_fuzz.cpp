// The record sheets on arbitrary finite numbers: one or two rings and tins,
// each number eight bytes of a double (NaN and the infinities are skipped,
// as Val never gives them). work_sheet may raise RuntimeError 6 (overflow)
// or 11 (a ring of volume 0, a tin's dry soil of no mass) and nothing else,
// and the written-up sheet never shows "inf" or "nan".

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "calc/record_sheet.h"
#include "runtime/runtime_error.h"

namespace {

// The next finite double of the input, or 0 once it is used up.
double next(const std::uint8_t*& data, std::size_t& size) {
    double value = 0;
    if (size >= sizeof value) {
        std::memcpy(&value, data, sizeof value);
        data += sizeof value;
        size -= sizeof value;
    }
    return std::isfinite(value) ? value : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const int rings = 1 + (data[0] & 1), tins = 1 + (data[0] >> 1 & 1);
    ++data;
    --size;
    vorlith::RecordSheet sheet;
    for (int i = 0; i < rings; ++i)
        sheet.rings.push_back({next(data, size), next(data, size), next(data, size)});
    for (int i = 0; i < tins; ++i)
        sheet.tins.push_back({next(data, size), next(data, size), next(data, size)});
    sheet.ds = next(data, size);
    try {
        const std::string text = vorlith::sheet_text(sheet, vorlith::work_sheet(sheet));
        if (text.find("inf") != std::string::npos || text.find("nan") != std::string::npos)
            __builtin_trap();
    } catch (const vorlith::RuntimeError& error) {
        if (error.number != 6 && error.number != 11) __builtin_trap();
    }
    return 0;
}
