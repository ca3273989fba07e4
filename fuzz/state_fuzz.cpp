// The state of a soil on arbitrary doubles (NaN, infinities, subnormals and
// huge values included; each eight input bytes one double): each work-out
// either refuses with a reason or gives every number it shows as a finite
// value, and its working text can be written.

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>

#include "calc/soil_state.h"

namespace {

void check(const vorlith::StateWorking& working) {
    if (working.refusal.empty()) {
        for (const auto& step : working.steps) {
            if (step.value && !std::isfinite(*step.value)) __builtin_trap();
            if (step.result.empty() && step.reason.empty()) __builtin_trap();
        }
    }
    if (vorlith::state_working_text(working).empty()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::array<double, 8> x{};
    for (std::size_t i = 0; i < x.size() && 8 * (i + 1) <= size; ++i)
        std::memcpy(&x[i], data + 8 * i, sizeof(double));
    const auto precision = size % 2 ? vorlith::Precision::Report : vorlith::Precision::Full;
    const std::optional<double> w = size % 3 ? std::optional(x[6]) : std::nullopt;
    for (const double v : x)
        if (!std::isfinite(v)) return 0;  // Val never gives one
    check(vorlith::work_out_cone({{{x[0], x[1]}, {x[2], x[3]}, {x[4], x[5]}}}, w, precision));
    check(vorlith::work_out_limits(x[0], x[1], w, precision));
    check(vorlith::work_out_density(x[0], x[1], x[2], precision));
    return 0;
}
