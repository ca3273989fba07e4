#include "calc/soil_state.h"

#include "calc/numeric_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace vorlith {
namespace {

// Every expected value was worked by hand from the textbook's formulas, in
// exact fractions, or for the cone's powers with Python's decimal module at
// 40 digits, then written as Str writes it (15 digits) or as a lab sheet
// reports it (half to even).
constexpr auto kFull = Precision::Full;
constexpr auto kReport = Precision::Report;
using Expected = std::vector<std::pair<std::string, std::string>>;  // symbol, result

std::string result_of(const StateWorking& working, const std::string& symbol) {
    for (const StateStep& step : working.steps)
        if (step.symbol == symbol) return step.result;
    return "(no step " + symbol + ")";
}

struct ShownCase {
    const char* name;
    std::function<StateWorking()> work;
    Expected expected;
    std::size_t notes = 0;
};

const std::string kSilt = "粉土或砂土，须由颗粒分析定名";

// clang-format off
const ShownCase kShownCases[] = {
    {"Ip at 10", [] { return work_out_limits(30, 20, {}, kFull); }, {{"Ip", "10"}, {"名称", kSilt}}},
    {"Ip worked out just above 10", [] { return work_out_limits(16.1, 6.1, {}, kFull); },
     {{"Ip", "10"}, {"名称", kSilt}}},
    {"Ip above 10", [] { return work_out_limits(30.1, 20, {}, kFull); }, {{"Ip", "10.1"}, {"名称", "粉质黏土"}}},
    {"Ip at 17", [] { return work_out_limits(37, 20, {}, kFull); }, {{"Ip", "17"}, {"名称", "粉质黏土"}}},
    {"Ip worked out just above 17", [] { return work_out_limits(32.2, 15.2, {}, kFull); },
     {{"Ip", "17"}, {"名称", "粉质黏土"}}},
    {"Ip above 17", [] { return work_out_limits(37.1, 20, {}, kFull); }, {{"Ip", "17.1"}, {"名称", "黏土"}}},
    {"IL below 0", [] { return work_out_limits(40, 20, 19, kFull); }, {{"IL", "-.05"}, {"状态", "坚硬"}}},
    {"IL at 0", [] { return work_out_limits(40, 20, 20, kFull); }, {{"IL", "0"}, {"状态", "坚硬"}}},
    {"IL above 0", [] { return work_out_limits(40, 20, 20.5, kFull); }, {{"IL", ".025"}, {"状态", "硬塑"}}},
    {"IL at 0.25", [] { return work_out_limits(40, 20, 25, kFull); }, {{"IL", ".25"}, {"状态", "硬塑"}}},
    {"IL worked out just above 0.25", [] { return work_out_limits(20.3, 10.1, 12.65, kFull); },
     {{"Ip", "10.2"}, {"IL", ".25"}, {"状态", "硬塑"}}},
    {"IL above 0.25", [] { return work_out_limits(40, 20, 25.1, kFull); }, {{"IL", ".255"}, {"状态", "可塑"}}},
    {"IL at 0.75", [] { return work_out_limits(40, 20, 35, kFull); }, {{"IL", ".75"}, {"状态", "可塑"}}},
    {"IL above 0.75", [] { return work_out_limits(40, 20, 35.2, kFull); }, {{"IL", ".76"}, {"状态", "软塑"}}},
    {"IL at 1", [] { return work_out_limits(40, 20, 40, kFull); }, {{"IL", "1"}, {"状态", "软塑"}}},
    {"IL above 1", [] { return work_out_limits(40, 20, 40.2, kFull); }, {{"IL", "1.01"}, {"状态", "流塑"}}},
    {"IL far out", [] { return work_out_limits(40, 20, 70, kFull); }, {{"IL", "2.5"}, {"状态", "流塑"}}, 1},
    {"report: IL 0.125 to even", [] { return work_out_limits(40, 20, 22.5, kReport); },
     {{"Ip", "20.0"}, {"IL", "0.12"}, {"状态", "硬塑"}}},
    {"report: IL 0.135 up", [] { return work_out_limits(40, 20, 22.7, kReport); }, {{"IL", "0.14"}}},
    {"report: Ip 0.25 to even", [] { return work_out_limits(20.25, 20, {}, kReport); }, {{"Ip", "0.2"}}},
    {"report: Ip 0.35 up", [] { return work_out_limits(20.35, 20, {}, kReport); }, {{"Ip", "0.4"}}},
    {"report: IL -0.004 is 0.00", [] { return work_out_limits(40, 20, 19.92, kReport); },
     {{"IL", "0.00"}, {"状态", "坚硬"}}},
    {"report: Ip rounds to 0, no IL", [] { return work_out_limits(20.04, 20, 20, kReport); },
     {{"Ip", "0.0"}, {"IL", ""}}},
    {"Dr at 1/3", [] { return work_out_density(0.9, 0.6, 0.8, kFull); },
     {{"Dr", ".333333333333333"}, {"密实度", "松散"}}},
    {"Dr above 1/3", [] { return work_out_density(0.9, 0.6, 0.79, kFull); },
     {{"Dr", ".366666666666667"}, {"密实度", "中密"}}},
    {"Dr at 2/3", [] { return work_out_density(0.9, 0.6, 0.7, kFull); },
     {{"Dr", ".666666666666667"}, {"密实度", "中密"}}},
    {"report: Dr at 2/3 shown 0.67", [] { return work_out_density(0.9, 0.6, 0.7, kReport); },
     {{"Dr", "0.67"}, {"密实度", "中密"}}},
    {"Dr above 2/3", [] { return work_out_density(0.9, 0.6, 0.69, kFull); }, {{"Dr", ".7"}, {"密实度", "密实"}}},
    {"Dr over 1", [] { return work_out_density(0.9, 0.6, 0.5, kFull); },
     {{"Dr", "1.33333333333333"}, {"密实度", "密实"}}, 1},
    {"Dr below 0", [] { return work_out_density(0.9, 0.6, 1, kFull); },
     {{"Dr", "-.333333333333333"}, {"密实度", "松散"}}, 1},
    {"report: cone on h = 17(w/40)^2", [] {
         return work_out_cone({{{17, 40}, {9.5625, 30}, {4.25, 20}}}, 30, kReport); },
     {{"wL", "40.0"}, {"wL10", "30.7"}, {"wP", "13.7"}, {"Ip", "17.0"}, {"名称", "粉质黏土"},
      {"IL", "0.96"}, {"状态", "软塑"}, {"Ip17", "26.3"}, {"塑性图", "CL 低液限黏土"}}},
    {"report: cone off the line, mean 19.25 to 19.2", [] {
         return work_out_cone({{{16, 40}, {6.75, 30}, {2, 18.5}}}, {}, kReport); },
     {{"wP,ab", "20.0"}, {"wP,ac", "18.5"}, {"ΔwP", "1.5"}, {"wP", "19.2"}, {"wL", "40.9"},
      {"wL10", "33.9"}, {"Ip", "14.7"}, {"Ip17", "21.7"}, {"塑性图", "CL 低液限黏土"}}},
};

// Three points in any order, full precision: wL, wL10, wP (relative 1e-12).
struct ConeCase {
    const char* name;
    std::array<ConePoint, 3> points;
    double wL, wL10, wP;
};
const ConeCase kConeCases[] = {
    {"on h = 17(w/40)^2", {{{17, 40}, {9.5625, 30}, {4.25, 20}}}, 40, 30.678599553894817, 13.719886811400707},
    {"on h = 17w/40, shuffled", {{{8.5, 20}, {17, 40}, {12.75, 30}}}, 40, 23.529411764705882, 4.7058823529411765},
    {"on h = 16(w/40)^3, c at 2 mm", {{{16, 40}, {6.75, 30}, {2, 20}}}, 40.816551019173481, 34.199518933533940, 20},
    {"off the line by 1.5 %", {{{16, 40}, {6.75, 30}, {2, 18.5}}}, 40.862058740184297, 33.905344861894916, 19.25},
};

struct ChartCase {
    double wL, Ip;
    const char* name;
};
const ChartCase kChartCases[] = {
    {40, 14.6, "CL 低液限黏土"}, {40, 14.5, "ML 低液限粉土"}, {20.1, 0.073, "CL 低液限黏土"},
    {49.9, 30, "CL 低液限黏土"}, {50, 21.9, "CH 高液限黏土"}, {50, 21.8, "MH 高液限粉土"},
    {60, 40, "CH 高液限黏土"},   {60, 20, "MH 高液限粉土"},   {30, 5, "ML 低液限粉土"},
};

struct RefusalCase {
    const char* name;
    std::function<StateWorking()> work;
    const char* why;  // part of the refusal
};
const RefusalCase kRefusals[] = {
    {"wP = wL", [] { return work_out_limits(20, 20, {}, kFull); }, "塑限应小于液限"},
    {"wP > wL", [] { return work_out_limits(20, 25, 22, kFull); }, "塑限应小于液限"},
    {"negative wP", [] { return work_out_limits(20, -1, {}, kFull); }, "含水率不能为负"},
    {"negative w", [] { return work_out_limits(40, 20, -1, kFull); }, "含水率不能为负"},
    {"emin = emax", [] { return work_out_density(0.6, 0.6, 0.6, kFull); }, "最小孔隙比应小于最大孔隙比"},
    {"negative e", [] { return work_out_density(0.9, 0.6, -0.1, kFull); }, "孔隙比不能为负"},
    {"depth 0", [] { return work_out_cone({{{16, 40}, {6.75, 30}, {0, 20}}}, {}, kFull); }, "都应大于 0"},
    {"water content 0", [] { return work_out_cone({{{16, 40}, {6.75, 0}, {2, 20}}}, {}, kFull); }, "都应大于 0"},
    {"depth falls as w rises", [] { return work_out_cone({{{16, 40}, {6.75, 30}, {8, 20}}}, {}, kFull); },
     "含水率应随圆锥下沉深度增大"},
    {"two equal water contents", [] { return work_out_cone({{{16, 40}, {6.75, 30}, {2, 30}}}, {}, kFull); },
     "含水率应随圆锥下沉深度增大"},
    {"lines 2 % apart", [] { return work_out_cone({{{16, 40}, {6.75, 30}, {2, 18}}}, {}, kFull); }, "试验应重做"},
    {"lines 5 % apart", [] { return work_out_cone({{{16, 40}, {6.75, 30}, {2, 15}}}, {}, kFull); }, "试验应重做"},
};
// clang-format on

TEST(SoilState, ShownResultsNamesAndStates) {
    for (const ShownCase& c : kShownCases) {
        const StateWorking working = c.work();
        EXPECT_EQ(working.refusal, "") << c.name;
        for (const auto& [symbol, text] : c.expected)
            EXPECT_EQ(result_of(working, symbol), text) << c.name << ": " << symbol;
        EXPECT_EQ(working.notes.size(), c.notes) << c.name;
    }
}

TEST(SoilState, ConeLimitsOnTheLine) {
    for (const ConeCase& c : kConeCases) {
        const StateWorking working = work_out_cone(c.points, {}, kFull);
        ASSERT_EQ(working.refusal, "") << c.name;
        const std::pair<const char*, double> limits[] = {
            {"wL", c.wL}, {"wL10", c.wL10}, {"wP", c.wP}};
        for (const auto& [symbol, expected] : limits) {
            const std::string text = result_of(working, symbol);
            const double value = Val(std::u16string(text.begin(), text.end()));
            EXPECT_NEAR(value, expected, 1e-12 * expected) << c.name << ": " << symbol;
        }
    }
}

TEST(SoilState, PlasticityChart) {
    for (const ChartCase& c : kChartCases)
        EXPECT_EQ(chart_name(c.wL, c.Ip), c.name) << c.wL << ", " << c.Ip;
}

TEST(SoilState, ImpossibleInputHasNoResult) {
    for (const RefusalCase& c : kRefusals) {
        const StateWorking working = c.work();
        EXPECT_NE(working.refusal.find(c.why), std::string::npos)
            << c.name << ": " << working.refusal;
        for (const char* symbol : {"wL", "wP", "Ip", "IL", "Dr"})
            EXPECT_EQ(result_of(working, symbol).find_first_of("0123456789"), std::string::npos)
                << c.name << ": " << symbol;
    }
}

}  // namespace
}  // namespace vorlith
