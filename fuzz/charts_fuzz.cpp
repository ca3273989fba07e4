// The state's two drawings on seven doubles (the cone's three points and w;
// NaN and infinities passed over, as Val never gives them): every line,
// dot and box lies inside its drawing, whatever the cone works out to, and
// the words are never empty.

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "calc/soil_state.h"
#include "ui/state_charts.h"

namespace {

constexpr int kWidth = 3720;
constexpr int kHeight = 3600;

void check(const vorlith::Chart& chart) {
    if (chart.alternative.empty()) __builtin_trap();
    for (const vorlith::Shape& s : chart.shapes) {
        const bool line = s.kind == vorlith::Shape::Kind::Line;
        const int right = s.left + (line || s.kind == vorlith::Shape::Kind::Box ? s.width : 0);
        const int bottom = s.top + (line || s.kind == vorlith::Shape::Kind::Box ? s.height : 0);
        for (const int x : {s.left, right})
            if (x < 0 || x > kWidth) __builtin_trap();
        for (const int y : {s.top, bottom})
            if (y < 0 || y > kHeight) __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::array<double, 7> x{};
    for (std::size_t i = 0; i < x.size() && 8 * (i + 1) <= size; ++i)
        std::memcpy(&x[i], data + 8 * i, sizeof(double));
    for (const double v : x)
        if (!std::isfinite(v)) return 0;
    const std::array<vorlith::ConePoint, 3> points{{{x[0], x[1]}, {x[2], x[3]}, {x[4], x[5]}}};
    const vorlith::StateWorking working =
        vorlith::work_out_cone(points, x[6], vorlith::Precision::Report);
    check(vorlith::cone_plot(points, working, kWidth, kHeight));
    const vorlith::StateStep* wL = vorlith::step_of(working, "wL");
    const vorlith::StateStep* Ip = vorlith::step_of(working, "Ip17");
    if (wL != nullptr && Ip != nullptr) {
        check(vorlith::plasticity_chart(vorlith::ChartPoint{*wL->value, *Ip->value, "", ""}, kWidth,
                                        kHeight));
    }
    check(vorlith::plasticity_chart(vorlith::ChartPoint{x[0], x[1], "", ""}, kWidth, kHeight));
    return 0;
}
