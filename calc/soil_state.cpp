#include "soil_state.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>
#include <string_view>

#include "fifteen_digits.h"
#include "numeric_text.h"
#include "runtime/runtime_error.h"

namespace vorlith {
namespace {

// A value worked out in double from decimal inputs lands next to a boundary
// rather than on it ((30.5 − 20)/42 for 0.25): within this much of a
// boundary counts as on it. Measured inputs carry far fewer digits, so no
// real value is moved across a boundary by it.
constexpr double kSlack = 1e-9;

// Decimals kept at report precision.
constexpr int kWaterPlaces = 1;  // wL, wL10, wP and Ip, in %
constexpr int kRatioPlaces = 2;  // IL, Dr

// Adds one to a string of decimal digits; "99" becomes "100".
void increment(std::string& digits) {
    for (auto at = digits.rbegin(); at != digits.rend(); ++at) {
        if (*at != '9') return void(++*at);
        *at = '0';
    }
    digits.insert(digits.begin(), '1');
}

// `value` with `places` decimals, half to even on its 15 significant digits
// (the digits Str shows), so that 0.125 gives 0.12 and 2.675 gives 2.68.
std::string fixed(double value, int places) {
    std::string digits = "0";
    int point = 1;  // digits before the decimal point
    if (value != 0) {
        const RoundedDecimal r = round_to_15_digits(std::fabs(value));
        digits = std::to_string(r.digits);
        point = r.exponent + 1;
    }
    if (point < 1) digits.insert(0, static_cast<std::size_t>(1 - point), '0'), point = 1;
    const auto keep = static_cast<std::size_t>(point + places);
    if (digits.size() <= keep) {
        digits.append(keep - digits.size(), '0');
    } else {
        const char first = digits[keep];
        const bool rest = digits.find_first_not_of('0', keep + 1) != std::string::npos;
        const bool odd = (digits[keep - 1] - '0') % 2 == 1;
        digits.resize(keep);
        if (first > '5' || (first == '5' && (rest || odd))) increment(digits);
    }
    const std::size_t integer = digits.size() - static_cast<std::size_t>(places);
    std::string text = digits.substr(0, integer);
    if (places > 0) text += "." + digits.substr(integer);
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    return value < 0 && !zero ? "-" + text : text;
}

// The value as the working writes it and the number carried on from it.
struct Shown {
    std::string text;
    double value;
};

// A result beyond the range of a double (the cone's powers on extreme data)
// ends the working: thrown where it is shown, caught by guarded_work.
struct OutOfRange {};

Shown show(double value, int places, Precision precision) {
    if (!std::isfinite(value)) throw OutOfRange{};
    if (precision == Precision::Full) return {plain(value), value};
    const std::string text = fixed(value, places);
    try {
        return {text, Val(std::u16string(text.begin(), text.end()))};
    } catch (const RuntimeError&) {  // rounded up beyond the largest double
        throw OutOfRange{};
    }
}

template <class Work>
StateWorking guarded_work(Work work) {
    StateWorking working;
    try {
        work(working);
    } catch (const OutOfRange&) {
        working.refusal = "结果超出范围：数据远在土的常见范围之外";
    }
    return working;
}

// A number within a formula: a negative one in brackets.
std::string number(double value) {
    std::string text = plain(value);
    if (value < 0) text = std::string("(").append(text).append(")");
    return text;
}

StateStep quantity(const char* symbol, const char* name, const char* unit, std::string formula,
                   std::string substituted, double value, int places, Precision precision) {
    const Shown shown = show(value, places, precision);
    return {.symbol = symbol,
            .name = name,
            .unit = unit,
            .formula = std::move(formula),
            .substituted = std::move(substituted),
            .result = shown.text,
            .value = shown.value};
}

// A class of a scale cut at boundaries: a value up to `high` (inclusive)
// and above the class before falls in it. `rule` names the scale's symbol
// once or twice, to be replaced by the value.
struct Band {
    double high;
    const char* rule;
    const char* word;
};

constexpr double kAbove = std::numeric_limits<double>::infinity();

constexpr Band kPlasticityBands[] = {
    {10, "Ip ≤ 10", "粉土或砂土，须由颗粒分析定名"},
    {17, "10 < Ip ≤ 17", "粉质黏土"},
    {kAbove, "Ip > 17", "黏土"},
};
constexpr Band kLiquidityBands[] = {
    {0, "IL ≤ 0", "坚硬"},
    {0.25, "0 < IL ≤ 0.25", "硬塑"},
    {0.75, "0.25 < IL ≤ 0.75", "可塑"},
    {1, "0.75 < IL ≤ 1", "软塑"},
    {kAbove, "IL > 1", "流塑"},
};
constexpr Band kDensityBands[] = {
    {1.0 / 3, "Dr ≤ 1/3", "松散"},
    {2.0 / 3, "1/3 < Dr ≤ 2/3", "中密"},
    {kAbove, "Dr > 2/3", "密实"},
};

const Band& band_of(std::span<const Band> bands, double value) {
    return *std::find_if(bands.begin(), bands.end(),
                         [&](const Band& b) { return value <= b.high + kSlack; });
}

std::string replaced(std::string text, const std::string& symbol, const std::string& by) {
    for (auto at = text.find(symbol); at != std::string::npos; at = text.find(symbol, at)) {
        text.replace(at, symbol.size(), by);
        at += by.size();
    }
    return text;
}

// The step that names a class: its rule, the rule with the value in it, the word.
StateStep naming(const char* symbol, const char* name, std::span<const Band> bands,
                 const char* scale, const StateStep& from) {
    const Band& band = band_of(bands, *from.value);
    return {.symbol = symbol,
            .name = name,
            .formula = band.rule,
            .substituted = replaced(band.rule, scale, from.result),
            .result = band.word};
}

// A step without a result: why there is none.
StateStep missing(const char* symbol, const char* name, const char* unit, std::string reason) {
    return {.symbol = symbol, .name = name, .unit = unit, .reason = std::move(reason)};
}

// IL and the state; none when Ip rounded to 0.
void add_liquidity(double w, const StateStep& wP, const StateStep& Ip, Precision precision,
                   StateWorking& working) {
    if (*Ip.value == 0) {
        working.steps.push_back(missing("IL", "液性指数", "", "Ip 修约后为 0，液性指数无定义"));
        return;
    }
    working.steps.push_back(quantity("IL", "液性指数", "", "IL = (w − wP)/Ip",
                                     "(" + number(w) + " − " + wP.result + ")/" + Ip.result,
                                     (w - *wP.value) / *Ip.value, kRatioPlaces, precision));
    const double IL = *working.steps.back().value;
    working.steps.push_back(
        naming("状态", "黏性土的状态", kLiquidityBands, "IL", working.steps.back()));
    if (IL < -1 || IL > 2)
        working.notes.push_back("IL = " + working.steps[working.steps.size() - 2].result +
                                " 远在常见范围之外：请核对 w、wL、wP");
}

// Ip from a liquid limit and wP, the name by it, and with w, IL and the state.
void add_plasticity(const StateStep& wL, const StateStep& wP, std::optional<double> w,
                    Precision precision, StateWorking& working) {
    const std::string formula = "Ip = " + wL.symbol + " − wP";
    working.steps.push_back(quantity("Ip", "塑性指数（用于定名）", "", formula,
                                     wL.result + " − " + wP.result, *wL.value - *wP.value,
                                     kWaterPlaces, precision));
    working.steps.back().comment = "定名所用的 Ip 应由 10 mm 液限求得";
    const StateStep Ip = working.steps.back();
    working.steps.push_back(naming("名称", "土的名称", kPlasticityBands, "Ip", Ip));
    if (w) add_liquidity(*w, wP, Ip, precision, working);
}

bool refuse(StateWorking& working, bool impossible, std::string why) {
    if (impossible && working.refusal.empty()) working.refusal = std::move(why);
    return impossible;
}

}  // namespace

std::string name_by_plasticity(double Ip) {
    return band_of(kPlasticityBands, Ip).word;
}
std::string state_by_liquidity(double IL) {
    return band_of(kLiquidityBands, IL).word;
}
std::string density_by_relative_density(double Dr) {
    return band_of(kDensityBands, Dr).word;
}

std::string chart_name(double wL, double Ip) {
    const bool clay = Ip >= 0.73 * (wL - 20) - kSlack;  // on the A line or above it
    const bool high = wL >= 50 - kSlack;                // on the B line or right of it
    if (clay) return high ? "CH 高液限黏土" : "CL 低液限黏土";
    return high ? "MH 高液限粉土" : "ML 低液限粉土";
}

StateWorking work_out_limits(double wL, double wP, std::optional<double> w, Precision precision) {
    return guarded_work([&](StateWorking& working) {
        working.given = "wL = " + plain(wL) + " %，wP = " + plain(wP) + " %" +
                        (w ? "，w = " + plain(*w) + " %" : "");
        if (refuse(working, wP < 0 || (w && *w < 0), "含水率不能为负") ||
            refuse(working, wP >= wL,
                   "塑限 wP = " + plain(wP) + " % 不小于液限 wL = " + plain(wL) +
                       " %：塑限应小于液限"))
            return;
        const StateStep given_wL{.symbol = "wL", .result = plain(wL), .value = wL};
        const StateStep given_wP{.symbol = "wP", .result = plain(wP), .value = wP};
        add_plasticity(given_wL, given_wP, w, precision, working);
    });
}

StateWorking work_out_density(double emax, double emin, double e, Precision precision) {
    return guarded_work([&](StateWorking& working) {
        working.given = "emax = " + plain(emax) + "，emin = " + plain(emin) + "，e = " + plain(e);
        if (refuse(working, emin < 0 || e < 0, "孔隙比不能为负") ||
            refuse(working, emin >= emax,
                   "emin = " + plain(emin) + " 不小于 emax = " + plain(emax) +
                       "：最小孔隙比应小于最大孔隙比"))
            return;
        working.steps.push_back(quantity("Dr", "相对密实度", "", "Dr = (emax − e)/(emax − emin)",
                                         "(" + number(emax) + " − " + number(e) + ")/(" +
                                             number(emax) + " − " + number(emin) + ")",
                                         (emax - e) / (emax - emin), kRatioPlaces, precision));
        const StateStep Dr = working.steps.back();
        if (*Dr.value < 0)
            working.notes.push_back("Dr = " + Dr.result + " < 0：e 大于 emax，请核对");
        if (*Dr.value > 1)
            working.notes.push_back("Dr = " + Dr.result + " > 1：e 小于 emin，请核对");
        // No two-decimal value is a third: the class goes by Dr before rounding.
        StateStep unrounded = Dr;
        unrounded.value = (emax - e) / (emax - emin);
        unrounded.result = plain(*unrounded.value);
        working.steps.push_back(naming("密实度", "砂土的密实度", kDensityBands, "Dr", unrounded));
    });
}

namespace {

// The cone's depths of the textbook's three readings, mm.
constexpr double kLiquidDepth = 17, kTenDepth = 10, kPlasticDepth = 2;

// The water content at `depth` on the straight line through p and q on
// lg h – lg w axes: w = wp·(depth/hp)^[lg(wq/wp)/lg(hq/hp)].
double water_at(ConePoint p, ConePoint q, double depth) {
    const double slope = std::log10(q.w / p.w) / std::log10(q.h / p.h);
    return p.w * std::pow(10.0, slope * std::log10(depth / p.h));
}

// The same line written out: the formula in the points' names, then with
// their numbers put in (q's water content as shown when it was worked out).
StateStep on_line(const char* symbol, const char* name, ConePoint a, ConePoint q,
                  const std::string& q_name, const std::string& q_w, double depth,
                  Precision precision) {
    const std::string d = plain(depth);
    return quantity(symbol, name, "%",
                    std::string(symbol) + " = wa·(" + d + "/ha)^[lg(w" + q_name + "/wa)/lg(h" +
                        q_name + "/ha)]",
                    plain(a.w) + "×(" + d + "/" + plain(a.h) + ")^[lg(" + q_w + "/" + plain(a.w) +
                        ")/lg(" + plain(q.h) + "/" + plain(a.h) + ")]",
                    water_at(a, q, depth), kWaterPlaces, precision);
}

std::string listed_points(const std::array<ConePoint, 3>& p) {
    std::string text;
    for (const ConePoint& point : p)
        text += (text.empty() ? "" : "，") + plain(point.h) + " mm：" + plain(point.w) + " %";
    return text;
}

// The points from the highest water content down, a, b, c; a refusal when
// one is not positive, or when the water content does not rise with depth.
bool order_points(std::array<ConePoint, 3>& p, StateWorking& working) {
    if (refuse(working,
               std::any_of(p.begin(), p.end(), [](ConePoint c) { return c.h <= 0 || c.w <= 0; }),
               "圆锥下沉深度和含水率都应大于 0"))
        return false;
    std::sort(p.begin(), p.end(), [](ConePoint x, ConePoint y) { return x.w > y.w; });
    return !refuse(working,
                   !(p[0].w > p[1].w && p[1].w > p[2].w && p[0].h > p[1].h && p[1].h > p[2].h),
                   "含水率应随圆锥下沉深度增大（" + listed_points(p) + "）：请核对各点");
}

// What the lines ab and ac say at 2 mm.
enum class TwoLines { one_line, within_2, repeat };

// wP on the lines ab and ac, and whether they agree to within 2 %: the
// difference step, and wP as their mean unless the test is to be repeated.
TwoLines plastic_limit(const std::array<ConePoint, 3>& p, Precision precision,
                       StateWorking& working) {
    auto& steps = working.steps;
    steps.push_back(on_line("wP,ab", "直线 ab 上 2 mm 处的含水率", p[0], p[1], "b", plain(p[1].w),
                            kPlasticDepth, precision));
    steps.push_back(on_line("wP,ac", "直线 ac 上 2 mm 处的含水率", p[0], p[2], "c", plain(p[2].w),
                            kPlasticDepth, precision));
    const StateStep ab = steps[0], ac = steps[1];  // copies: the vector grows below
    steps.push_back(quantity("ΔwP", "两线塑限之差", "%", "ΔwP = |wP,ab − wP,ac|",
                             "|" + ab.result + " − " + ac.result + "|",
                             std::fabs(*ab.value - *ac.value), kWaterPlaces, precision));
    const double difference = *steps.back().value;
    if (difference >= 2 - kSlack) {
        steps.back().comment = "不小于 2 %：试验应重做";
        refuse(working, true, "两线塑限相差 " + steps.back().result + " %，不小于 2 %：试验应重做");
        return TwoLines::repeat;
    }
    steps.back().comment =
        difference <= kSlack ? "三点在一条直线上" : "小于 2 %：取两者的平均值，与 a 点连成直线";
    steps.push_back(quantity("wP", "塑限", "%", "wP = (wP,ab + wP,ac)/2",
                             "(" + ab.result + " + " + ac.result + ")/2",
                             (*ab.value + *ac.value) / 2, kWaterPlaces, precision));
    return difference <= kSlack ? TwoLines::one_line : TwoLines::within_2;
}

}  // namespace

namespace {

// The plasticity chart's step, from wL at 17 mm and wP.
void add_chart(const StateStep& wL, const StateStep& wP, Precision precision,
               StateWorking& working) {
    working.steps.push_back(quantity("Ip17", "塑性指数（用于塑性图）", "", "Ip17 = wL − wP",
                                     wL.result + " − " + wP.result, *wL.value - *wP.value,
                                     kWaterPlaces, precision));
    const StateStep Ip17 = working.steps.back();
    working.steps.push_back(
        {.symbol = "塑性图",
         .name = "塑性图上的名称",
         .formula = "A 线 Ip = 0.73(wL − 20)，B 线 wL = 50",
         .substituted = "Ip17 = " + Ip17.result + "，0.73×(" + wL.result +
                        " − 20) = " + show(0.73 * (*wL.value - 20), kRatioPlaces, precision).text +
                        "，wL = " + wL.result,
         .result = chart_name(*wL.value, *Ip17.value)});
}

}  // namespace

StateWorking work_out_cone(const std::array<ConePoint, 3>& points, std::optional<double> w,
                           Precision precision) {
    return guarded_work([&](StateWorking& working) {
        working.given =
            "圆锥 76 g，" + listed_points(points) + (w ? "；w = " + plain(*w) + " %" : "");
        std::array<ConePoint, 3> p = points;
        if (!order_points(p, working)) return;
        const TwoLines lines = plastic_limit(p, precision, working);
        if (lines == TwoLines::repeat || refuse(working, w && *w < 0, "含水率不能为负")) return;
        // On one line the line ac is the line; else the line through a and wP
        // at 2 mm, which is defined since a lies deeper than 2 mm then.
        const StateStep wP = working.steps.back();
        const bool one = lines == TwoLines::one_line;
        const ConePoint q = one ? p[2] : ConePoint{kPlasticDepth, *wP.value};
        const std::string q_name = one ? "c" : "P", q_w = one ? plain(p[2].w) : wP.result;
        const StateStep wL =
            on_line("wL", "液限（17 mm）", p[0], q, q_name, q_w, kLiquidDepth, precision);
        const StateStep wL10 =
            on_line("wL10", "液限（10 mm）", p[0], q, q_name, q_w, kTenDepth, precision);
        working.steps.push_back(wL);
        working.steps.push_back(wL10);
        add_chart(wL, wP, precision, working);
        add_plasticity(wL10, wP, w, precision, working);
    });
}

namespace {

// The columns a text takes in a terminal, Greek letters and ASCII one each.
std::size_t columns(std::string_view utf8) {
    std::size_t count = 0;
    for (const char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

// 塑性指数（用于定名） Ip
//   Ip = wL − wP
//      = 40 − 20
//      = 20
// and a name or state:
// 黏性土的状态 状态
//   0.25 < IL ≤ 0.75：0.25 < .5 ≤ 0.75
//   → 可塑
void append_step(const StateStep& step, std::string& text) {
    text += step.name + " " + step.symbol + (step.unit.empty() ? "" : "（" + step.unit + "）");
    if (!step.value && !step.result.empty()) {
        text += "\n  " + step.formula + "：" + step.substituted + "\n  → " + step.result + "\n";
        return;
    }
    text += "\n";
    if (!step.formula.empty()) text += "  " + step.formula + "\n";
    const std::string indent(2 + columns(step.symbol) + 1, ' ');
    if (!step.substituted.empty()) text += indent + "= " + step.substituted + "\n";
    const std::string unit = step.unit.empty() ? "" : " " + step.unit;
    text += indent + (step.result.empty() ? "无法计算：" + step.reason : "= " + step.result + unit);
    text += (step.comment.empty() ? "" : "，" + step.comment) + "\n";
}

}  // namespace

std::string state_working_text(const StateWorking& working) {
    std::string text = "已知：" + working.given + "\n";
    for (const StateStep& step : working.steps) append_step(step, text);
    if (!working.refusal.empty()) text += "无法计算：" + working.refusal + "\n";
    if (working.notes.empty()) return text;
    text += "说明：\n";
    for (const std::string& note : working.notes) text += "  " + note + "\n";
    return text;
}

}  // namespace vorlith
