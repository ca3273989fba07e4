#include "report_precision.h"

#include <cmath>
#include <cstdint>

#include "fifteen_digits.h"
#include "numeric_text.h"

namespace vorlith {
namespace {

// How many digits after the point: fixed for the densities and w, else
// chosen from the size of the value so that three significant digits remain.
struct Precision {
    bool fixed;
    int decimals;
};

Precision precision_of(Index index) {
    switch (index) {
        case Index::rho:
        case Index::rho_d:
        case Index::rho_sat:
        case Index::rho_prime:
            return {true, 2};
        case Index::w:
            return {true, 1};
        default:
            return {false, 0};
    }
}

// The integer `digits` × 10^-decimals written out, a zero before the point.
std::string decimal_text(std::uint64_t digits, int decimals) {
    std::string text = std::to_string(digits);
    if (decimals <= 0) return text + std::string(-decimals, '0');
    if (text.size() <= static_cast<std::size_t>(decimals))
        text.insert(0, decimals + 1 - text.size(), '0');
    // Split and joined rather than insert(): MinGW's GCC 12 warns of a false
    // overlap (-Wrestrict) in an insert into the middle.
    const std::size_t point = text.size() - static_cast<std::size_t>(decimals);
    return text.substr(0, point).append(".").append(text, point);
}

}  // namespace

std::string report_text(Index index, double value) {
    const Precision p = precision_of(index);
    if (value == 0 || !std::isfinite(value)) return decimal_text(0, p.fixed ? p.decimals : 2);
    // Step 1: the 15 digits Str shows, zeros after them; the value is
    // 0.D × 10^(exponent + 1).
    const RoundedDecimal r = round_to_15_digits(std::fabs(value));
    if (r.exponent >= 15 || (!p.fixed && r.exponent < -15)) return plain(value);
    const std::string shown = std::to_string(r.digits) + std::string(20 - r.count, '0');
    // Step 2: keep the digits down to the last place reported, half up.
    int decimals = p.fixed ? p.decimals : 2 - r.exponent;
    const int keep = r.exponent + 1 + decimals;
    std::uint64_t kept = 0;
    for (int k = 0; k < keep; ++k) kept = kept * 10 + static_cast<std::uint64_t>(shown[k] - '0');
    if (keep >= 0 && shown[keep] >= '5') ++kept;
    // Step 3: 9.996 rounds to 10.00, one significant digit too many.
    if (!p.fixed && kept == 1000) {
        kept = 100;
        --decimals;
    }
    const std::string text = decimal_text(kept, decimals);
    return value < 0 && kept != 0 ? "-" + text : text;
}

std::string report_results_text(const PhaseWorking& working) {
    std::string text = "结果（按报告精度）：\n";
    for (const IndexWorking& index : working.indices) {
        if (index.result.empty()) continue;
        text.append("  ")
            .append(index.symbol)
            .append("\t= ")
            .append(report_text(index.index, index.value));
        if (!index.unit.empty()) text.append(" ").append(index.unit);
        text += '\n';
    }
    return text;
}

}  // namespace vorlith
