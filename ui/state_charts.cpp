#include "state_charts.h"

#include <algorithm>
#include <cmath>

#include "calc/numeric_text.h"
#include "ui/palette.h"

namespace vorlith {
namespace {

constexpr int kGrid = 15;       // twips to a pixel at 96 dots per inch
constexpr int kLine = 240;      // one line of text
constexpr int kLeft = 540;      // room for the numbers of the upright scale
constexpr int kMargin = 120;    // above the plot
constexpr int kRight = 240;     // right of the plot: half the last number across
constexpr int kDot = 105;       // a measured point's diameter
constexpr int kMark = 75;       // a point read off a line
constexpr int kLabel = 480;     // a scale's number, wide
constexpr double kWLMax = 100;  // the plasticity chart's scales, in %
constexpr double kIpMax = 60;
constexpr double kWLow = 10;  // the cone plot's scales: w in %, h in mm
constexpr double kWHigh = 100;
constexpr double kHLow = 1;
constexpr double kHHigh = 30;

int on_grid(double twips) {
    return static_cast<int>(std::lround(twips / kGrid)) * kGrid;
}

// Where the plot lies in the drawing, and how a value maps into it: `x` and
// `y` each take a share of the scale, 0 at the origin, 1 at its end.
struct Plot {
    int left, top, right, bottom;
    int x(double share) const { return on_grid(left + (right - left) * share); }
    int y(double share) const { return on_grid(bottom - (bottom - top) * share); }
};

Shape line(int x1, int y1, int x2, int y2, Colour colour) {
    return {x1, y1, x2 - x1, y2 - y1, colour, "", Shape::Kind::Line};
}
Shape dot(int x, int y, int diameter, Colour colour) {
    return {x, y, diameter, diameter, colour, "", Shape::Kind::Dot};
}
// A text centred on (x, y), on the drawing's background.
Shape label(int x, int y, int width, int lines, std::string text) {
    return {x - width / 2, y - lines * kLine / 2, width,
            lines * kLine, std::nullopt,          std::move(text)};
}

void axes(const Plot& plot, std::vector<Shape>& shapes) {
    shapes.push_back(line(plot.left, plot.bottom, plot.right, plot.bottom, palette::kAxis));
    shapes.push_back(line(plot.left, plot.bottom, plot.left, plot.top, palette::kAxis));
}

// The number `value` under the across scale at x, or left of the upright one at y.
void across_number(const Plot& plot, int x, double value, std::vector<Shape>& shapes) {
    shapes.push_back(label(x, plot.bottom + kGrid * 2 + kLine / 2, kRight * 2, 1, plain(value)));
}
void upright_number(const Plot& plot, int y, double value, std::vector<Shape>& shapes) {
    shapes.push_back(label(plot.left - kLabel / 2 - kGrid * 2, y, kLabel, 1, plain(value)));
}

}  // namespace

const StateStep* step_of(const StateWorking& working, std::string_view symbol) {
    const auto found = std::find_if(working.steps.begin(), working.steps.end(),
                                    [&](const StateStep& s) { return s.symbol == symbol; });
    return found != working.steps.end() && found->value ? &*found : nullptr;
}

Chart plasticity_chart(const std::optional<ChartPoint>& soil, int width, int height) {
    Chart chart;
    // Below the plot: its numbers, the scale's name, and the key of two lines.
    const Plot plot{kLeft, kMargin, width - kRight, height - kGrid * 4 - kLine * 4};
    const auto x = [&](double wL) { return plot.x(wL / kWLMax); };
    const auto y = [&](double Ip) { return plot.y(Ip / kIpMax); };
    axes(plot, chart.shapes);
    for (double wL = 0; wL <= kWLMax; wL += 20) across_number(plot, x(wL), wL, chart.shapes);
    for (double Ip = 20; Ip <= kIpMax; Ip += 20) upright_number(plot, y(Ip), Ip, chart.shapes);
    const int below = plot.bottom + kGrid * 2 + kLine;
    chart.shapes.push_back(label((plot.left + plot.right) / 2, below + kLine / 2,
                                 plot.right - plot.left, 1, "液限 wL（%）"));
    chart.shapes.push_back(label(plot.left + 480, plot.top + kLine / 2, 900, 1, "Ip（%）"));
    // A line from wL = 20 up to the scale's end, B line across the whole height.
    const double A_end = 0.73 * (kWLMax - 20);
    chart.shapes.push_back(line(x(20), y(0), x(kWLMax), y(A_end), palette::kLineA));
    // Its name below it at the right, clear of the line.
    chart.shapes.push_back(label(x(92), y(40), 480, 1, "A线"));
    chart.shapes.push_back(line(x(50), y(0), x(50), y(kIpMax), palette::kLineB));
    chart.shapes.push_back(label(x(50) + 270, y(kIpMax) + kLine / 2, 480, 1, "B线"));
    // Each zone's symbol where the zone is widest; CL's high up, where few
    // soils fall, so that a common clay's point does not cover it.
    struct Zone {
        double wL, Ip;
        const char* symbol;
    };
    for (const Zone& zone :
         {Zone{35, 45, "CL"}, Zone{70, 50, "CH"}, Zone{40, 4, "ML"}, Zone{75, 15, "MH"}})
        chart.shapes.push_back(label(x(zone.wL), y(zone.Ip), 360, 1, zone.symbol));
    chart.shapes.push_back(label(width / 2, below + kLine * 2, width - kMargin, 2,
                                 "CL 低液限黏土　CH 高液限黏土\nML 低液限粉土　MH 高液限粉土"));
    chart.alternative =
        "塑性图：横轴液限 wL 0～100 %，纵轴塑性指数 Ip 0～60，A 线 Ip = 0.73(wL − 20)，"
        "B 线 wL = 50；";
    if (!soil) {
        chart.alternative += "尚无土的点";
        return chart;
    }
    const bool inside = soil->wL >= 0 && soil->wL <= kWLMax && soil->Ip >= 0 && soil->Ip <= kIpMax;
    if (inside) chart.shapes.push_back(dot(x(soil->wL), y(soil->Ip), kDot, palette::kPoint));
    chart.alternative += "土的点 wL = " + soil->wL_text + " %，Ip = " + soil->Ip_text +
                         (inside ? "" : "，在图外") + "：" + chart_name(soil->wL, soil->Ip);
    return chart;
}

namespace {

// The cone plot's scales: lg w across, lg h up.
struct ConeScales {
    Plot plot;
    bool holds(double w, double h) const {
        return w >= kWLow && w <= kWHigh && h >= kHLow && h <= kHHigh;
    }
    int x(double w) const { return plot.x(std::log10(w / kWLow) / std::log10(kWHigh / kWLow)); }
    int y(double h) const { return plot.y(std::log10(h / kHLow) / std::log10(kHHigh / kHLow)); }
};

void cone_scales(const ConeScales& s, std::vector<Shape>& shapes) {
    const Plot& plot = s.plot;
    axes(plot, shapes);
    for (double w : {10.0, 20.0, 50.0, 100.0}) across_number(plot, s.x(w), w, shapes);
    for (double h : {2.0, 10.0, 17.0}) {
        shapes.push_back(line(plot.left, s.y(h), plot.right, s.y(h), palette::kAxis));
        upright_number(plot, s.y(h), h, shapes);
    }
    shapes.push_back(label((plot.left + plot.right) / 2, plot.bottom + kGrid * 2 + kLine * 3 / 2,
                           plot.right - plot.left, 1, "含水率 w（%，对数坐标）"));
    shapes.push_back(label(plot.left + 960, plot.top + kLine / 2, 1860, 1, "入土深度 h（mm）"));
}

}  // namespace

Chart cone_plot(std::span<const ConePoint> points, const StateWorking& working, int width,
                int height) {
    Chart chart;
    const ConeScales s{{kLeft, kMargin, width - kRight, height - kGrid * 4 - kLine * 2}};
    cone_scales(s, chart.shapes);
    chart.alternative = "圆锥入土深度 h 与含水率 w 的双对数图：";
    if (points.empty()) {
        chart.alternative += "尚无测点";
        return chart;
    }
    chart.alternative += "测点";
    bool left_out = false;
    const auto segment = [&](ConePoint a, ConePoint b, Colour colour) {
        if (!s.holds(a.w, a.h) || !s.holds(b.w, b.h)) return void(left_out = true);
        chart.shapes.push_back(line(s.x(a.w), s.y(a.h), s.x(b.w), s.y(b.h), colour));
    };
    // The deepest point, from which the lines start.
    const ConePoint a = *std::max_element(points.begin(), points.end(),
                                          [](ConePoint p, ConePoint q) { return p.h < q.h; });
    for (const char* symbol : {"wP,ab", "wP,ac"})
        if (const StateStep* step = step_of(working, symbol))
            segment(a, {2, *step->value}, palette::kAxis);
    const StateStep* wP = step_of(working, "wP");
    const StateStep* wL = step_of(working, "wL");
    if (wP && wL) {
        segment({2, *wP->value}, {17, *wL->value}, palette::kLineA);
        segment({17, *wL->value}, a, palette::kLineA);
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
        const ConePoint p = points[i];
        chart.alternative += std::string(i == 0 ? " " : "、") + "h = " + plain(p.h) +
                             " mm，w = " + plain(p.w) + " %";
        if (s.holds(p.w, p.h))
            chart.shapes.push_back(dot(s.x(p.w), s.y(p.h), kDot, palette::kPoint));
        else
            left_out = true;
    }
    // The limits where the line crosses 2, 10 and 17 mm.
    const std::pair<const char*, double> reads[] = {{"wP", 2}, {"wL10", 10}, {"wL", 17}};
    for (const auto& [symbol, h] : reads) {
        const StateStep* step = step_of(working, symbol);
        if (step == nullptr) continue;
        chart.alternative += "；" + plain(h) + " mm 处 " + symbol + " = " + step->result + " %";
        if (s.holds(*step->value, h))
            chart.shapes.push_back(dot(s.x(*step->value), s.y(h), kMark, palette::kLineA));
    }
    if (left_out) chart.alternative += "；有点在图的范围（w 10～100 %，h 1～30 mm）之外，未画出";
    return chart;
}

}  // namespace vorlith
