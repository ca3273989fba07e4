#include "phase_relations.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string_view>

#include "numeric_text.h"
#include "runtime/guarded.h"

namespace vorlith {
namespace {

constexpr double kWaterDensity = 1;  // ρw, g/cm³

// The boxes Text1..Text7: the symbol each quantity goes by, and its field.
struct BoxRow {
    const char* symbol;
    double SoilSample::*field;
    const char* unit;
};

constexpr BoxRow kBoxRows[] = {
    {"V", &SoilSample::V, " cm³"},   {"Vv", &SoilSample::Vv, " cm³"},
    {"Vw", &SoilSample::Vw, " cm³"}, {"Vs", &SoilSample::Vs, " cm³"},
    {"m", &SoilSample::m, " g"},     {"mw", &SoilSample::mw, " g"},
    {"ms", &SoilSample::ms, " g"},
};
static_assert(std::size(kBoxRows) == kInputCount);

// One row per index, in Index order (its symbol is in kIndexSymbols).
// `pattern` is the formula's right-hand side with {name} where a number goes;
// a division by `divisor` fails when it is zero, and `undefined` says why
// instead of the run-time's description. A unit weight is its `density`
// times g.
struct IndexRow {
    const char* name;
    const char* unit;
    const char* formula;
    const char* pattern;
    double SoilSample::*divisor;
    const char* dividend;
    const char* undefined;
    const char* density;
};

constexpr IndexRow kIndexRows[] = {
    {"土的天然密度", "g/cm³", "ρ = m/V", "{m}/{V}", &SoilSample::V, "m", nullptr, nullptr},
    {"土的含水量", "%", "w = mw/ms × 100%", "{mw}/{ms} × 100%", &SoilSample::ms, "mw", nullptr,
     nullptr},
    {"土粒相对密度", "", "ds = ms/(Vs·ρw)", "{ms}/({Vs}×1)", &SoilSample::Vs, "ms", nullptr,
     nullptr},
    {"土的干密度", "g/cm³", "ρd = ms/V", "{ms}/{V}", &SoilSample::V, "ms", nullptr, nullptr},
    {"土的饱和密度", "g/cm³", "ρsat = (ms + Vv·ρw)/V", "({ms} + {Vv}×1)/{V}", &SoilSample::V,
     "ms + Vv·ρw", nullptr, nullptr},
    {"土的有效密度", "g/cm³", "ρ' = (ms − Vs·ρw)/V", "({ms} − {Vs}×1)/{V}", &SoilSample::V,
     "ms − Vs·ρw", nullptr, nullptr},
    {"土的孔隙比", "", "e = Vv/Vs", "{Vv}/{Vs}", &SoilSample::Vs, "Vv", nullptr, nullptr},
    {"土的孔隙率", "%", "n = Vv/V × 100%", "{Vv}/{V} × 100%", &SoilSample::V, "Vv", nullptr,
     nullptr},
    {"土的饱和度", "%", "Sr = Vw/Vv × 100%", "{Vw}/{Vv} × 100%", &SoilSample::Vv, "Vw",
     "饱和度无定义", nullptr},
    {"土的天然重度", "kN/m³", "γ = ρ·g", "{ρ}×{g}", nullptr, nullptr, nullptr, "ρ"},
    {"土的干重度", "kN/m³", "γd = ρd·g", "{ρd}×{g}", nullptr, nullptr, nullptr, "ρd"},
    {"土的饱和重度", "kN/m³", "γsat = ρsat·g", "{ρsat}×{g}", nullptr, nullptr, nullptr, "ρsat"},
    {"土的有效重度", "kN/m³", "γ' = ρ'·g", "{ρ'}×{g}", nullptr, nullptr, nullptr, "ρ'"},
};
static_assert(std::size(kIndexRows) == kIndexCount);
constexpr int kSr = static_cast<int>(Index::Sr);

// A quantity a formula may name: a box, g, or an index worked out before.
struct Known {
    std::string name;
    std::optional<double> value;
    std::string reason;  // why there is no value
};
using Knowns = std::vector<Known>;

const Known& find(const Knowns& known, std::string_view name) {
    return *std::find_if(known.begin(), known.end(),
                         [&](const Known& k) { return k.name == name; });
}

// The value of a named quantity; one without a value counts as an overflow,
// since only an overflowing box or index leaves a quantity without one.
double value(const Knowns& known, std::string_view name) {
    const Known& k = find(known, name);
    if (!k.value) raise(ErrorNumber::Overflow);
    return *k.value;
}

// `pattern` with each {name} replaced by its number; empty, with the first
// quantity that has no value, when one has none.
std::string fill(std::string_view pattern, const Knowns& known, const Known** missing) {
    std::string text;
    for (size_t at = 0;;) {
        const size_t open = pattern.find('{', at);
        text += pattern.substr(at, open - at);
        if (open == std::string_view::npos) break;
        const size_t close = pattern.find('}', open);
        const Known& k = find(known, pattern.substr(open + 1, close - open - 1));
        if (!k.value && *missing == nullptr) *missing = &k;
        if (k.value) {
            // A negative number in brackets. Appended piece by piece: MinGW's
            // GCC 12 warns of a false overlap (-Wrestrict) in "(" + s + ")".
            const bool negative = *k.value < 0;
            if (negative) text += '(';
            text += written(*k.value);
            if (negative) text += ')';
        }
        at = close + 1;
    }
    return *missing == nullptr ? text : std::string();
}

const char* box_symbol(double SoilSample::*field) {
    return std::find_if(std::begin(kBoxRows), std::end(kBoxRows),
                        [&](const BoxRow& b) { return b.field == field; })
        ->symbol;
}

double evaluate(int i, const SoilSample& sample, const Knowns& known) {
    if (i < kResultCount) return compute_index(sample, i + 1);  // as Form1 does
    if (i == kSr) return guarded::mul(guarded::div(sample.Vw, sample.Vv), 100);
    return guarded::mul(value(known, kIndexRows[i].density), value(known, "g"));
}

// A zero divisor raises 11, or 6 when the dividend is 0 as well; an overflow
// elsewhere raises 6 too. Working the index out again with the divisor at 1
// yields the dividend and tells these apart.
std::string error_reason(int i, const SoilSample& sample, const Knowns& known,
                         const RuntimeError& error) {
    const IndexRow& row = kIndexRows[i];
    if (row.divisor == nullptr || sample.*row.divisor != 0)
        return "结果超出范围，" + error.description;
    const std::string zero = box_symbol(row.divisor) + std::string(" = 0");
    if (row.undefined != nullptr) return zero + "，" + row.undefined;
    if (error.number == static_cast<int>(ErrorNumber::DivisionByZero)) {
        return zero + "，" + error.description;
    }
    SoilSample one = sample;
    one.*row.divisor = 1;
    try {
        if (evaluate(i, one, known) == 0)
            return zero + " 且 " + row.dividend + " = 0，" + error.description;
    } catch (const RuntimeError&) {
    }
    return "结果超出范围，" + error.description;
}

IndexWorking work_index(int i, const SoilSample& sample, Knowns& known) {
    const IndexRow& row = kIndexRows[i];
    IndexWorking w;
    w.index = static_cast<Index>(i);
    w.symbol = kIndexSymbols[i];
    w.name = row.name;
    w.unit = row.unit;
    w.formula = row.formula;
    const Known* missing = nullptr;
    w.substituted = fill(row.pattern, known, &missing);
    if (missing != nullptr) {
        w.reason = missing->reason;
        if (i < kResultCount) w.error = make_error(ErrorNumber::Overflow);  // Val raised
    } else {
        try {
            const double v = evaluate(i, sample, known);
            w.result = Str(v);
            w.value = v;
            known.push_back({w.symbol, v, {}});
            return w;
        } catch (const RuntimeError& error) {
            w.reason = error_reason(i, sample, known, error);
            if (i < kResultCount) w.error = error;
        }
    }
    known.push_back({w.symbol, std::nullopt, w.symbol + " 无结果（" + w.reason + "）"});
    return w;
}

// Reads each box with Val on its own, so that one overflowing box leaves the
// others read. Form1 reads all but Vw and stops at the first that raises.
Knowns read_boxes(const std::array<std::u16string, kInputCount>& texts, PhaseWorking& working) {
    Knowns known;
    for (int k = 0; k < kInputCount; ++k) {
        const char* symbol = kBoxRows[k].symbol;
        try {
            const double v = Val(texts[k]);
            working.sample.*kBoxRows[k].field = v;
            known.push_back({symbol, v, {}});
        } catch (const RuntimeError& error) {
            if (!working.read_error) working.read_error = error;
            if (kBoxRows[k].field != &SoilSample::Vw && !working.form1_error)
                working.form1_error = error;
            known.push_back({symbol, std::nullopt, std::string(symbol) + " 读入时溢出"});
        }
    }
    return known;
}

// Two sides that should be equal; a note when they differ by more than 1 % of
// the larger.
struct BalanceRow {
    const char* left;
    const char* right;
    const char* unit;
    const char* rule;
    double (*lhs)(const Knowns&);
    double (*rhs)(const Knowns&);
};

constexpr BalanceRow kBalanceRows[] = {
    {"V", "Vv + Vs", " cm³", "孔隙与颗粒的体积之和应等于总体积",
     [](const Knowns& k) { return value(k, "V"); },
     [](const Knowns& k) { return guarded::add(value(k, "Vv"), value(k, "Vs")); }},
    {"m", "mw + ms", " g", "水与颗粒的质量之和应等于总质量",
     [](const Knowns& k) { return value(k, "m"); },
     [](const Knowns& k) { return guarded::add(value(k, "mw"), value(k, "ms")); }},
    {"mw", "Vw·ρw", " g", "水的质量应等于水的体积乘以水的密度",
     [](const Knowns& k) { return value(k, "mw"); },
     [](const Knowns& k) { return guarded::mul(value(k, "Vw"), kWaterDensity); }},
};

// A balance that cannot be worked out (a box or a sum overflows) gives no note.
void check_balance(const BalanceRow& row, const Knowns& known, std::vector<DataNote>& notes) {
    try {
        const double a = row.lhs(known), b = row.rhs(known);
        const double difference = std::fabs(guarded::sub(a, b));
        if (difference <= 0.01 * std::max(std::fabs(a), std::fabs(b))) return;
        notes.push_back({std::string(row.left) + " = " + written(a) + row.unit + "，而 " +
                         row.right + " = " + written(b) + row.unit + "，相差 " +
                         written(difference) + row.unit + "：" + row.rule});
    } catch (const RuntimeError&) {
    }
}

// More water than voids: a degree of saturation over 100 %.
void check_saturation(const Knowns& known, std::vector<DataNote>& notes) {
    const Known &vw = find(known, "Vw"), &vv = find(known, "Vv"), &sr = find(known, "Sr");
    if (!vw.value || !vv.value || *vw.value <= *vv.value) return;
    std::string text = "Vw = " + written(*vw.value) + " cm³ > Vv = " + written(*vv.value) + " cm³";
    if (sr.value && *sr.value > 100)
        text = "Sr = " + written(*sr.value) + " % > 100 %（" + text + "）";
    notes.push_back({text + "：水的体积不能超过孔隙的体积"});
}

// Less wet soil than dry soil.
void check_masses(const Knowns& known, std::vector<DataNote>& notes) {
    const Known &m = find(known, "m"), &ms = find(known, "ms");
    if (!m.value || !ms.value || *m.value >= *ms.value) return;
    notes.push_back({"m = " + written(*m.value) + " g < ms = " + written(*ms.value) +
                     " g：湿土的质量不能小于干土的质量"});
}

// Quantities that no soil has below zero.
struct SignRow {
    const char* symbol;
    const char* unit;
    const char* rule;
};

constexpr SignRow kSignRows[] = {
    {"Vv", " cm³", "颗粒的体积超过了总体积"},
    {"e", "", "孔隙比不能为负"},
    {"n", " %", "孔隙率不能为负"},
    {"Sr", " %", "饱和度不能为负"},
};

void check_signs(const Knowns& known, std::vector<DataNote>& notes) {
    for (const SignRow& row : kSignRows) {
        const Known& k = find(known, row.symbol);
        if (!k.value || *k.value >= 0) continue;
        notes.push_back(
            {std::string(row.symbol) + " = " + written(*k.value) + row.unit + " < 0：" + row.rule});
    }
}

// UTF-16 to UTF-8, a lone surrogate as U+FFFD.
std::string utf8(std::u16string_view text) {
    constexpr unsigned char kLead[] = {0x00, 0xC0, 0xE0, 0xF0};  // by the bytes that follow
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        const int follow = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        out += static_cast<char>(kLead[follow] | (c >> (6 * follow)));
        for (int k = follow - 1; k >= 0; --k)
            out += static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F));
    }
    return out;
}

// A box whose text Val reads only in part, or not at all (as 0).
void check_reading(const std::array<std::u16string, kInputCount>& texts, const Knowns& known,
                   std::vector<DataNote>& notes) {
    for (int k = 0; k < kInputCount; ++k) {
        const std::size_t stop = val_stop(texts[k]);
        const Known& box = find(known, kBoxRows[k].symbol);
        if (stop == texts[k].size() || !box.value) continue;
        const std::string name = std::string(box.name) + " 的文本“" + utf8(texts[k]) + "”";
        const std::string unit = kBoxRows[k].unit;
        notes.push_back({stop == 0 ? name + "读不出数字：按 0" + unit + " 计算"
                                   : name + "只读出 " + written(*box.value) + unit + "：“" +
                                         utf8(texts[k].substr(stop)) + "”未读"});
    }
}

}  // namespace

double gravity_value(Gravity g) {
    switch (g) {
        case Gravity::NineEight:
            return 9.8;
        case Gravity::Ten:
            return 10;
        case Gravity::Standard:
            break;
    }
    return 9.81;
}

PhaseWorking work_out(const std::array<std::u16string, kInputCount>& texts, Gravity g) {
    PhaseWorking working;
    Knowns known = read_boxes(texts, working);
    if (working.form1_error) working.form1_filled = 0;
    known.push_back({"g", gravity_value(g), {}});
    working.given = "ρw = 1 g/cm³，g = " + written(gravity_value(g)) + " m/s²";
    for (int k = 0; k < kInputCount; ++k) {
        const Known& box = known[k];
        working.data.push_back(box.value ? box.name + " = " + written(*box.value) + kBoxRows[k].unit
                                         : box.reason);
    }
    for (int i = 0; i < kIndexCount; ++i) {
        working.indices.push_back(work_index(i, working.sample, known));
        if (i < kResultCount && !working.form1_error && working.indices[i].error) {
            working.form1_error = working.indices[i].error;
            working.form1_filled = i;
        }
    }
    check_reading(texts, known, working.notes);
    for (const auto& row : kBalanceRows) check_balance(row, known, working.notes);
    check_saturation(known, working.notes);
    check_masses(known, working.notes);
    check_signs(known, working.notes);
    return working;
}

SoilSample from_lab(const LabMeasurements& lab) {
    SoilSample s;
    s.V = lab.V;
    s.m = lab.m;
    s.ms = lab.ms;
    s.Vs = guarded::div(lab.ms, guarded::mul(lab.ds, kWaterDensity));
    s.mw = guarded::sub(lab.m, lab.ms);
    s.Vw = guarded::div(s.mw, kWaterDensity);
    s.Vv = guarded::sub(lab.V, s.Vs);
    return s;
}

std::array<std::string, kInputCount> sample_texts(const SoilSample& sample) {
    std::array<std::string, kInputCount> texts;
    for (int k = 0; k < kInputCount; ++k) texts[k] = Str(sample.*kBoxRows[k].field);
    return texts;
}

PhaseWorking work_out_lab(const LabMeasurements& lab, Gravity g) {
    const auto quantities = sample_texts(from_lab(lab));
    std::array<std::u16string, kInputCount> texts;
    for (int k = 0; k < kInputCount; ++k)  // Str writes ASCII
        texts[k] = std::u16string(quantities[k].begin(), quantities[k].end());
    PhaseWorking working = work_out(texts, g);
    working.lab = lab;
    working.data = {"V = " + written(lab.V) + " cm³", "m = " + written(lab.m) + " g",
                    "ms = " + written(lab.ms) + " g", "ds = " + written(lab.ds)};
    return working;
}

}  // namespace vorlith
