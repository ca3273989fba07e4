#include "form_state.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "calc/numeric_text.h"
#include "calc/soil_state.h"
#include "runtime/operations.h"
#include "ui/form1_boxes.h"
#include "ui/state_charts.h"

namespace vorlith {
namespace {

// The cone's points: depth and water content of each.
constexpr const char* kConeBoxes[3][2] = {
    {"StateH1", "StateW1"}, {"StateH2", "StateW2"}, {"StateH3", "StateW3"}};

// Whether box `box` holds more than blanks.
bool filled(const char* box) {
    return text_of(box).find_first_not_of(u" \t") != std::u16string::npos;
}
// The number in `box` as Val reads it, or none when it is empty.
std::optional<double> number_in(const char* box) {
    return filled(box) ? std::optional<double>(Val(text_of(box))) : std::nullopt;
}

// The results, one to a line, in the order a student reports them: a
// number as "Ip = 17.0", a word as "土的名称：粉质黏土".
std::string summary(const std::vector<StateWorking>& workings) {
    static constexpr const char* kShown[] = {"wL", "wL10", "wP",     "Ip", "名称",
                                             "IL", "状态", "塑性图", "Dr", "密实度"};
    std::string text;
    for (const StateWorking& working : workings) {
        for (const char* symbol : kShown) {
            for (const StateStep& step : working.steps) {
                if (step.symbol != symbol || step.result.empty()) continue;
                text += step.value ? step.symbol + " = " + step.result +
                                         (step.unit.empty() ? "" : " " + step.unit)
                                   : step.name + "：" + step.result;
                text += '\n';
            }
        }
    }
    return text;
}

// The point of the plasticity chart: the 17 mm liquid limit and Ip17 from
// the cone, or wL and Ip as typed.
std::optional<ChartPoint> chart_point(const StateWorking& working, std::optional<double> typed_wL) {
    const StateStep* Ip = step_of(working, typed_wL ? "Ip" : "Ip17");
    const StateStep* wL = step_of(working, "wL");
    if (Ip == nullptr || (!typed_wL && wL == nullptr)) return std::nullopt;
    if (typed_wL) return ChartPoint{*typed_wL, *Ip->value, plain(*typed_wL), Ip->result};
    return ChartPoint{*wL->value, *Ip->value, wL->result, Ip->result};
}

// What StateText shows, for 打印… and 复制.
std::string& shown_results() {
    static std::string text;
    return text;
}

// Works out what the boxes hold and shows it: the cone's three points when
// any of their boxes is filled, else wL and wP when either is; Dr when emax
// and emin are given.
void work_out_state() {
    const std::optional<double> w = number_in("StateWater");
    std::vector<StateWorking> workings;
    std::vector<ConePoint> points;
    std::optional<ChartPoint> point;
    bool cone = false;
    for (const auto& boxes : kConeBoxes) cone = cone || filled(boxes[0]) || filled(boxes[1]);
    if (cone) {
        std::array<ConePoint, 3> typed{};
        for (std::size_t i = 0; i < typed.size(); ++i)
            typed[i] = {Val(text_of(kConeBoxes[i][0])), Val(text_of(kConeBoxes[i][1]))};
        points.assign(typed.begin(), typed.end());
        workings.push_back(work_out_cone(typed, w, Precision::Report));
        point = chart_point(workings.back(), std::nullopt);
    } else if (filled("StateWL") || filled("StateWP")) {
        const double wL = Val(text_of("StateWL"));
        workings.push_back(work_out_limits(wL, Val(text_of("StateWP")), w, Precision::Report));
        point = chart_point(workings.back(), wL);
    }
    if (filled("StateEmax") && filled("StateEmin")) {
        workings.push_back(work_out_density(Val(text_of("StateEmax")), Val(text_of("StateEmin")),
                                            Val(text_of("StateE")), Precision::Report));
    }
    std::string text = summary(workings);
    if (workings.empty())
        text = "请填入圆锥三点（或 wL、wP），砂土填入 emax、emin、e，再按“计算”。\n";
    for (const StateWorking& working : workings) {
        text += '\n';  // piece by piece: MinGW's GCC 12 warns falsely on "\n" + text
        text += state_working_text(working);
    }
    shown_results() = text;
    set_text("StateText", text);
    const Chart chart = plasticity_chart(point, kChartWidth, kChartHeight);
    set_drawing("PlasticityChart", chart.shapes, chart.alternative);
    const Chart plot =
        cone_plot(points, cone ? workings.front() : StateWorking{}, kChartWidth, kChartHeight);
    set_drawing("ConePlot", plot.shapes, plot.alternative);
}

}  // namespace

// w = mw/ms × 100 and e = Vv/Vs from Form1's boxes, where they hold a
// sample, for the student to keep or change; then what the boxes give.
void STATE_Click() {
    const std::array<std::u16string, kInputCount> texts = box_texts();
    const double Vv = Val(texts[1]), Vs = Val(texts[3]), mw = Val(texts[5]), ms = Val(texts[6]);
    if (ms > 0 && mw >= 0) set_text("StateWater", written(mw / ms * 100));
    if (Vs > 0 && Vv >= 0) set_text("StateE", written(Vv / Vs));
    work_out_state();
    Show("FormState", Modal::No);
}

void StateWork_Click() {
    work_out_state();
}

void StatePrint_Click() {
    print_text(kStateForm.caption, shown_results());
}

void StateCopy_Click() {
    copy_text(shown_results());
}

void StateClose_Click() {
    Hide("FormState");
}

}  // namespace vorlith
