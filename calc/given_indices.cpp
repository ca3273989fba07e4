#include "given_indices.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>
#include <string_view>
#include <utility>

#include "given_formulas.h"
#include "numeric_text.h"
#include "report_precision.h"

namespace vorlith {
namespace {

using given::at;
using given::kResults;
using given::kSteps;
using given::lookup;
using given::Named;
using given::ResultRow;
using given::Step;

constexpr int kIndex = kIndexCount;

// Indices that can be turned into each other without a third one: a unit
// weight and its density, e and n, ρsat and ρ' (ρ' = ρsat − ρw). Two of one
// kind say one thing. The first four kinds depend on ds and e alone.
enum class Kind { ds, e, rho_d, rho_sat, rho, w, Sr };

constexpr Kind kKinds[kIndex] = {
    Kind::rho, Kind::w,  Kind::ds,  Kind::rho_d, Kind::rho_sat, Kind::rho_sat, Kind::e,
    Kind::e,   Kind::Sr, Kind::rho, Kind::rho_d, Kind::rho_sat, Kind::rho_sat};

bool depends_on_solids_alone(Kind kind) {
    return kind == Kind::ds || kind == Kind::e || kind == Kind::rho_d || kind == Kind::rho_sat;
}

// Each index's Chinese name and unit, in Index order.
struct NameRow {
    const char* name;
    const char* unit;
};
constexpr NameRow kNames[kIndex] = {
    {"土的天然密度", "g/cm3"}, {"土的含水量", "%"},       {"土粒相对密度", ""},
    {"土的干密度", "g/cm3"},   {"土的饱和密度", "g/cm3"}, {"土的有效密度", "g/cm3"},
    {"土的孔隙比", ""},        {"土的孔隙率", "%"},       {"土的饱和度", "%"},
    {"土的天然重度", "kN/m3"}, {"土的干重度", "kN/m3"},   {"土的饱和重度", "kN/m3"},
    {"土的有效重度", "kN/m3"}};

bool in_percent(Index i) {
    return i == Index::w || i == Index::n || i == Index::Sr;
}

std::string symbol(Index i) {
    return std::string(kIndexSymbols[static_cast<int>(i)]);
}

// `pattern` with each {name} replaced by its number, a negative one in
// brackets.
std::string fill(std::string_view pattern, const Named& named) {
    std::string text;
    for (std::size_t at_ = 0;;) {
        const std::size_t open = pattern.find('{', at_);
        text += pattern.substr(at_, open - at_);
        if (open == std::string_view::npos) return text;
        const std::size_t close = pattern.find('}', open);
        const double v = at(named, pattern.substr(open + 1, close - open - 1));
        if (v < 0) text += '(';
        text += plain(v);
        if (v < 0) text += ')';
        at_ = close + 1;
    }
}

std::string joined(const std::vector<GivenValue>& given) {
    std::string text = symbol(given[0].index);
    for (std::size_t k = 1; k < given.size(); ++k)
        text += (k + 1 == given.size() ? " 与 " : "、") + symbol(given[k].index);
    return text;
}

// Why the set says less than three things about the soil; empty when it
// fixes the soil.
std::string dependence(const std::vector<GivenValue>& given) {
    for (std::size_t a = 0; a < given.size(); ++a) {
        for (std::size_t b = a + 1; b < given.size(); ++b) {
            const auto i = given[a].index, j = given[b].index;
            if (i == j) return symbol(i) + " 给了两次";
            if (kKinds[static_cast<int>(i)] == kKinds[static_cast<int>(j)])
                return symbol(i) + " 与 " + symbol(j) + " 互相换算，只算一个已知量";
        }
    }
    std::vector<Kind> kinds;
    for (const auto& v : given) kinds.push_back(kKinds[static_cast<int>(v.index)]);
    if (std::all_of(kinds.begin(), kinds.end(), depends_on_solids_alone)) {
        return joined(given) +
               " 都只与土粒和孔隙有关，与水无关，由其中两个可换算出第三个，只算两个已知量；"
               "还需 ρ、γ、w 或 Sr 之一";
    }
    const auto has = [&](Kind k) { return std::count(kinds.begin(), kinds.end(), k) == 1; };
    if (has(Kind::rho) && has(Kind::rho_d) && has(Kind::w))
        return joined(given) + " 互相换算（ρd = ρ/(1 + w)），只算两个已知量";
    return {};
}

// A value the index cannot take at all; empty when the value is possible.
std::string impossible(const GivenValue& v) {
    const std::string name = symbol(v.index);
    if (!std::isfinite(v.value)) return name + " 不是一个数";
    switch (v.index) {
        case Index::w:
        case Index::Sr:
            return v.value < 0 ? name + " 不能小于 0" : "";
        case Index::rho_prime:
        case Index::gamma_prime:
            return "";
        default:
            return v.value <= 0 ? name + " 必须大于 0" : "";
    }
}

}  // namespace

namespace {

constexpr const char* kSketch =
    "三相草图，设 Vs = 1 cm3：ms = ds·ρw，Vv = e，Vw = Sr·e，mw = w·ds·ρw，V = 1 + e";

// The columns a text takes in a terminal, Greek letters and ASCII one each.
std::size_t columns(std::string_view utf8) {
    std::size_t count = 0;
    for (const char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

std::string with_unit(Index i, double shown) {
    const std::string unit = kNames[static_cast<int>(i)].unit;
    return plain(shown) + (unit.empty() ? "" : " " + unit);
}

// 土的孔隙比 e
//   e = ds(1 + w)ρw/ρ − 1
//     = 2.7×(1 + .25)×1/1.85 − 1
//     = .824324324324324
void append_block(Index i, const char* formula, const std::string& substituted, double value,
                  const char* sketch, std::string& text) {
    const NameRow& row = kNames[static_cast<int>(i)];
    text += std::string(row.name) + " " + symbol(i);
    text += *row.unit == '\0' ? "\n" : "（" + std::string(row.unit) + "）\n";
    text += "  " + std::string(formula) + "\n";
    if (sketch != nullptr) text += "  （" + std::string(kSketch) + "；" + sketch + "）\n";
    const std::string indent(2 + columns(symbol(i)) + 1, ' ');
    text += indent + "= " + substituted + "\n";
    text += indent + "= " + with_unit(i, in_percent(i) ? value * 100 : value) + "\n";
}

std::string divides_by_zero(Index i) {
    return "求 " + symbol(i) + " 时除数为零：这组已知量定不出一种土";
}

bool known(const Named& named, const char* name) {
    return name == nullptr || lookup(named, name).has_value();
}

// Works the known values down to ds, e and w, step by step; the refusal, or
// empty. `sketched` tells whether a step needed the three-phase sketch.
std::string solve(Named& named, std::string& text, bool& sketched) {
    while (!known(named, "ds") || !known(named, "e") || !known(named, "w")) {
        const auto next = std::find_if(std::begin(kSteps), std::end(kSteps), [&](const Step& s) {
            return !known(named, kIndexSymbols[static_cast<int>(s.target)].data()) &&
                   std::all_of(s.needs.begin(), s.needs.end(),
                               [&](const char* n) { return known(named, n); });
        });
        if (next == std::end(kSteps)) return "这组已知量定不出 ds、e 与 w";
        const double v = next->value(named);
        if (!std::isfinite(v)) return divides_by_zero(next->target);
        append_block(next->target, next->formula, fill(next->pattern, named), v, next->sketch,
                     text);
        sketched = sketched || next->sketch != nullptr;
        named.emplace_back(symbol(next->target), v);
    }
    return {};
}

// The indices not yet known, from ds, e and w.
std::string complete(Named& named, std::string& text) {
    for (int i = 0; i < kIndex; ++i) {
        const auto index = static_cast<Index>(i);
        if (lookup(named, symbol(index))) continue;
        const ResultRow& row = kResults[i];
        const double v = row.value(named);
        if (!std::isfinite(v)) return divides_by_zero(index);
        append_block(index, row.formula, fill(row.pattern, named), v, nullptr, text);
        named.emplace_back(symbol(index), v);
    }
    return {};
}

std::vector<std::string> notes_on(const std::array<double, kIndex>& v) {
    const auto of = [&](Index i) { return v[static_cast<int>(i)]; };
    std::vector<std::string> notes;
    if (of(Index::e) <= 0)
        notes.push_back("e = " + report_text(Index::e, of(Index::e)) + " ≤ 0：孔隙比必须大于 0");
    if (of(Index::n) >= 100)
        notes.push_back("n = " + report_text(Index::n, of(Index::n)) +
                        " % ≥ 100 %：孔隙不能占满整个土体");
    if (of(Index::w) < 0)
        notes.push_back("w = " + report_text(Index::w, of(Index::w)) + " % < 0：含水量不能为负");
    if (of(Index::Sr) > 100) {
        notes.push_back("Sr = " + report_text(Index::Sr, of(Index::Sr)) +
                        " % > 100 %：水的体积不能超过孔隙的体积");
    }
    const double ds = of(Index::ds);
    if (ds < 2.6 - 1e-9 || ds > 2.8 + 1e-9)
        notes.push_back("ds = " + report_text(Index::ds, ds) +
                        " 不在常见的 2.60～2.80 之间，请核对");
    return notes;
}

std::string given_line(const std::vector<GivenValue>& given, double g) {
    std::string text = "已知：";
    for (std::size_t k = 0; k < given.size(); ++k) {
        if (k > 0) text += "，";
        text += symbol(given[k].index) + " = " + with_unit(given[k].index, given[k].value);
    }
    return text + "；ρw = 1 g/cm3，g = " + plain(g) + " m/s2\n";
}

// The seven quantities for V = 1 cm³: Vs = 1/(1 + e), ms = ρd·V, mw = w·ms.
SoilSample unit_sample(const Named& named) {
    SoilSample s;
    s.V = 1;
    s.Vs = 1 / (1 + at(named, "e"));
    s.Vv = at(named, "n");
    s.ms = at(named, "ρd");
    s.mw = at(named, "w") * s.ms;
    s.Vw = s.mw;  // ρw = 1 g/cm³
    s.m = s.ms + s.mw;
    return s;
}

}  // namespace

GivenWorking from_given(const std::vector<GivenValue>& given, Gravity gravity) {
    GivenWorking result;
    if (given.size() != 3) {
        result.refusal = "需要三个已知量，给了 " + std::to_string(given.size()) + " 个";
        return result;
    }
    result.refusal = dependence(given);
    for (const GivenValue& v : given)
        if (result.refusal.empty()) result.refusal = impossible(v);
    if (!result.refusal.empty()) return result;

    const double g = gravity_value(gravity);
    Named named = {{"g", g}};
    for (const GivenValue& v : given)
        named.emplace_back(symbol(v.index), in_percent(v.index) ? v.value / 100 : v.value);
    std::string steps;
    bool sketched = false;
    result.refusal = solve(named, steps, sketched);
    if (result.refusal.empty()) result.refusal = complete(named, steps);
    if (!result.refusal.empty()) return result;

    for (int i = 0; i < kIndex; ++i) {
        const auto index = static_cast<Index>(i);
        result.values[i] = at(named, symbol(index)) * (in_percent(index) ? 100 : 1);
    }
    for (const GivenValue& v : given) result.values[static_cast<int>(v.index)] = v.value;
    if (!std::all_of(result.values.begin(), result.values.end(),
                     [](double v) { return std::isfinite(v); })) {
        result.refusal = "结果超出范围：这组已知量定不出一种土";
        return result;
    }
    result.sample = unit_sample(named);
    result.method = sketched ? "三相草图法（设 Vs = 1 cm3）" : "换算公式法";
    result.notes = notes_on(result.values);
    result.working = given_line(given, g) + "方法：" + result.method + "\n" + steps;
    if (!result.notes.empty()) {
        result.working += "说明：\n";
        for (const std::string& note : result.notes) result.working += "  " + note + "\n";
    }
    return result;
}

}  // namespace vorlith
