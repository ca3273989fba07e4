#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "calc/soil_state.h"
#include "runtime/operations.h"

namespace vorlith {

// A drawing and the same in words for a screen reader.
struct Chart {
    std::vector<Shape> shapes;  // in twips, within width × height
    std::string alternative;
};

// A soil on the plasticity chart: its liquid limit (17 mm) and wL − wP, with
// the numbers as the working shows them.
struct ChartPoint {
    double wL = 0;
    double Ip = 0;
    std::string wL_text;
    std::string Ip_text;
};

// The plasticity chart, to scale: wL from 0 to 100 % across, Ip from 0 to 60
// up, the A line Ip = 0.73(wL − 20) and the B line wL = 50, the four zones
// by symbol with a key of their names, and the soil's point when there is
// one. The words give the chart, the point and its class.
Chart plasticity_chart(const std::optional<ChartPoint>& soil, int width, int height);

// The cone test on logarithmic scales: lg w across (10 to 100 %), lg h up (1
// to 30 mm) with 2, 10 and 17 mm marked; the three points, the lines from
// the deepest one to the 2 mm water contents of the other two, and the line
// the limits are read from, as far as the working took them. A point or
// line outside the scales is left out and the words say so. No points:
// the scales alone.
Chart cone_plot(std::span<const ConePoint> points, const StateWorking& working, int width,
                int height);

// The step of `working` with symbol `symbol` that has a value, or nullptr.
const StateStep* step_of(const StateWorking& working, std::string_view symbol);

}  // namespace vorlith
