#include "phase_diagram.h"

#include <algorithm>
#include <cmath>

#include "calc/numeric_text.h"
#include "ui/palette.h"

namespace vorlith {
namespace {

constexpr int kGrid = 15;         // twips to a pixel at 96 dots per inch
constexpr int kHeading = 300;     // the strip with 体积 and 质量
constexpr int kGap = 120;         // between the two columns, and below the strip
constexpr int kLowestPart = 270;  // high enough for one line of text

using palette::kAir;
using palette::kSolid;
using palette::kWater;

struct Part {
    Colour fill;
    std::string volume;  // "Vw = 10 cm3"
    std::string mass;    // "mw = 34.7 g"
    double share;        // the volume
};

// Each part's height: its share of `total`, on the pixel grid, at least one
// line of text; the highest part takes up what rounding leaves over.
std::vector<int> heights(const std::vector<Part>& parts, int total) {
    double sum = 0;
    for (const Part& part : parts) sum += part.share;
    std::vector<int> h;
    int used = 0;
    for (const Part& part : parts) {
        const int exact = static_cast<int>(std::lround(total * (part.share / sum) / kGrid)) * kGrid;
        h.push_back(std::max(exact, kLowestPart));
        used += h.back();
    }
    *std::max_element(h.begin(), h.end()) += total - used;
    return h;
}

}  // namespace

PhaseDiagram phase_diagram(const SoilSample& s, int width, int height) {
    PhaseDiagram diagram;
    const double Va = s.Vv - s.Vw;
    std::vector<Part> parts;
    if (Va > 0) parts.push_back({kAir, "Va = " + plain(Va) + " cm3", "0 g", Va});
    parts.push_back({kWater, "Vw = " + plain(s.Vw) + " cm3", "mw = " + plain(s.mw) + " g", s.Vw});
    parts.push_back({kSolid, "Vs = " + plain(s.Vs) + " cm3", "ms = " + plain(s.ms) + " g", s.Vs});
    if (!(s.Vw >= 0 && s.Vs >= 0 && std::isfinite(Va + s.Vw + s.Vs) && Va + s.Vw + s.Vs > 0)) {
        diagram.alternative = "三相图：无法按比例画出，各部分的体积须不小于零且其和大于零";
        diagram.shapes.push_back({0, 0, width, height, std::nullopt,
                                  "无法按比例画出：\n各部分的体积须不小于零\n且其和大于零"});
        return diagram;
    }
    const int column = (width - kGap) / 2;
    diagram.shapes.push_back({0, 0, column, kHeading, std::nullopt, "体积"});
    diagram.shapes.push_back({width - column, 0, column, kHeading, std::nullopt, "质量"});
    std::erase_if(parts, [](const Part& part) { return part.share == 0; });
    const int body = height - kHeading - kGap;
    const std::vector<int> h = heights(parts, body);  // the sum is above zero
    int top = kHeading + kGap;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        diagram.shapes.push_back({0, top, column, h[i], parts[i].fill, parts[i].volume});
        diagram.shapes.push_back({width - column, top, column, h[i], parts[i].fill, parts[i].mass});
        top += h[i];
    }
    // The words name every phase, one of no volume too.
    diagram.alternative = "三相图：";
    if (Va > 0) diagram.alternative += "气体 Va = " + plain(Va) + " cm3，质量 0 g；";
    diagram.alternative += "水 Vw = " + plain(s.Vw) + " cm3，质量 mw = " + plain(s.mw) +
                           " g；土粒 Vs = " + plain(s.Vs) + " cm3，质量 ms = " + plain(s.ms) + " g";
    if (Va < 0) {
        diagram.alternative +=
            "；没有气体：Vw = " + plain(s.Vw) + " cm3 大于 Vv = " + plain(s.Vv) + " cm3";
    }
    return diagram;
}

}  // namespace vorlith
