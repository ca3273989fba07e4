// The state of a soil, twice on each input:
// - as arguments of vorlith-calc --state (first byte even) or --cone (odd):
//   UTF-16 code units (little-endian byte pairs) split at U+0000, any -o or
//   --output left out so that nothing is written but to the closed standard
//   streams (run with -close_fd_mask=3). The status is 0, 1 or 2.
// - as eight doubles (NaN and infinities passed over, as Val never gives
//   them): each work-out refuses with a reason or shows only finite values,
//   and its working text can be written.

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "calc/soil_state.h"
#include "cli/state_command.h"

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

void run_arguments(const std::uint8_t* data, std::size_t size) {
    std::vector<std::u16string> arguments{size > 0 && data[0] % 2 ? u"--cone" : u"--state"};
    std::u16string argument;
    for (std::size_t i = 1; i + 1 < size; i += 2) {
        const auto unit = static_cast<char16_t>(data[i] | data[i + 1] << 8);
        if (unit != u'\0') {
            argument += unit;
            continue;
        }
        if (argument != u"-o" && !argument.starts_with(u"--output")) arguments.push_back(argument);
        argument.clear();
    }
    if (argument != u"-o" && !argument.starts_with(u"--output")) arguments.push_back(argument);
    const auto status = vorlith::cli::run_state_command(arguments);
    if (status && (*status < 0 || *status > 2)) __builtin_trap();
}

void run_doubles(const std::uint8_t* data, std::size_t size) {
    std::array<double, 8> x{};
    for (std::size_t i = 0; i < x.size() && 8 * (i + 1) <= size; ++i)
        std::memcpy(&x[i], data + 8 * i, sizeof(double));
    for (const double v : x)
        if (!std::isfinite(v)) return;
    const auto precision = size % 2 ? vorlith::Precision::Report : vorlith::Precision::Full;
    const std::optional<double> w = size % 3 ? std::optional(x[6]) : std::nullopt;
    check(vorlith::work_out_cone({{{x[0], x[1]}, {x[2], x[3]}, {x[4], x[5]}}}, w, precision));
    check(vorlith::work_out_limits(x[0], x[1], w, precision));
    check(vorlith::work_out_density(x[0], x[1], x[2], precision));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    run_arguments(data, size);
    run_doubles(data, size);
    return 0;
}
