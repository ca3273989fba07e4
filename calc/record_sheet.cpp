#include "record_sheet.h"

#include <cstdint>
#include <cstdlib>

#include "calc/fifteen_digits.h"
#include "calc/numeric_text.h"
#include "runtime/guarded.h"

namespace vorlith {
namespace {

constexpr int kDensityDecimals = 2;  // ρ to 0.01 g/cm³
constexpr int kWaterDecimals = 1;    // w to 0.1 %

long long power_of_ten(int n) {
    long long p = 1;
    while (n-- > 0) p *= 10;
    return p;
}

// The mean of two recorded values at their precision: a half rounds to the
// even neighbour, as record does.
Recorded mean_of(const std::vector<Recorded>& values, int decimals) {
    if (values.size() < 2) return values.empty() ? Recorded{0, decimals} : values[0];
    const long long sum = values[0].units + values[1].units;
    long long half = sum / 2;
    if (half % 2 != 0) half += sum % 2;  // sum % 2 is the half's sign, or 0
    return {half, values[0].decimals};
}

Determinations determine(std::vector<Recorded> values, Recorded limit) {
    Determinations d;
    d.values = std::move(values);
    d.mean = mean_of(d.values, limit.decimals);
    d.difference = {0, limit.decimals};
    if (d.values.size() == 2)
        d.difference.units = std::llabs(d.values[0].units - d.values[1].units);
    d.limit = limit;
    return d;
}

// The largest difference between two parallel determinations of the water
// content, in tenths of a percent, by the water content itself.
Recorded water_limit(const Recorded& mean) {
    if (mean.units < 100) return {5, kWaterDecimals};   // below 10 %: 0.5 %
    if (mean.units < 400) return {10, kWaterDecimals};  // 10 % to 40 %: 1 %
    return {20, kWaterDecimals};                        // 40 % and above: 2 %
}

void check(const char* symbol, const Determinations& d, const char* unit,
           std::vector<DataNote>& notes) {
    const std::string name = symbol;
    if (d.values.size() < 2) {
        notes.push_back({name + " 只测定了一次：应进行两次平行测定"});
    } else if (d.over_limit()) {
        notes.push_back({name + " 的两次测定相差 " + d.difference.text() + unit +
                         "，超过允许的平行差值 " + d.limit.text() + unit + "：应重做试验"});
    }
}

}  // namespace

double Recorded::value() const {
    return static_cast<double>(units) / static_cast<double>(power_of_ten(decimals));
}

std::string Recorded::text() const {
    std::string digits = std::to_string(std::llabs(units));
    if (digits.size() <= static_cast<std::size_t>(decimals))
        digits.insert(0, decimals + 1 - digits.size(), '0');
    if (decimals > 0) digits.insert(digits.size() - decimals, 1, '.');
    return (units < 0 ? "-" : "") + digits;
}

Recorded record(double x, int decimals) {
    if (x == 0) return {0, decimals};
    const RoundedDecimal r = round_to_15_digits(std::abs(x));
    if (r.exponent + decimals >= 15) raise(ErrorNumber::Overflow);
    const int shift = r.exponent - r.count + 1 + decimals;  // digits × 10^shift units
    long long units = static_cast<long long>(r.digits);
    if (shift >= 0) {
        units *= power_of_ten(shift);
    } else if (-shift > 18) {
        units = 0;  // below half a unit
    } else {
        const long long divisor = power_of_ten(-shift), rest = units % divisor;
        units /= divisor;
        if (2 * rest > divisor || (2 * rest == divisor && units % 2 != 0)) ++units;
    }
    return {x < 0 ? -units : units, decimals};
}

SheetWorking work_sheet(const RecordSheet& sheet) {
    SheetWorking w;
    std::vector<Recorded> densities, waters;
    double volume = 0;
    for (const Ring& ring : sheet.rings) {
        densities.push_back(
            record(guarded::div(guarded::sub(ring.m1, ring.m0), ring.V), kDensityDecimals));
        volume = guarded::add(volume, ring.V);
    }
    for (const Tin& tin : sheet.tins) {
        const double wet = guarded::sub(tin.m1, tin.m2), dry = guarded::sub(tin.m2, tin.m0);
        waters.push_back(record(guarded::mul(guarded::div(wet, dry), 100), kWaterDecimals));
    }
    w.density = determine(densities, {3, kDensityDecimals});  // 0.03 g/cm³
    w.water = determine(waters, {0, kWaterDecimals});
    w.water.limit = water_limit(w.water.mean);
    w.ds = sheet.ds;
    // The sheet reports ρ and w, not the masses of one specimen. Form1 gets
    // the mean ring's volume, the mass that gives it the mean density and the
    // dry mass that gives it the mean water content: m = ρ·V and
    // ms = m/(1 + 0.01w), so that Form1's ρ and w are the sheet's means.
    // Both are worked out from the means' whole hundredths and tenths, one
    // rounding each: 192×60/100 = 115.2 and 192×60×10/(1000 + 252).
    w.lab.V = guarded::div(volume, static_cast<double>(sheet.rings.size()));
    const double hundredths = guarded::mul(static_cast<double>(w.density.mean.units), w.lab.V);
    w.lab.m = hundredths / 100;
    w.lab.ms =
        guarded::div(guarded::mul(hundredths, 10), 1000 + static_cast<double>(w.water.mean.units));
    w.lab.ds = sheet.ds;
    check("ρ", w.density, " g/cm³", w.notes);
    check("w", w.water, " %", w.notes);
    return w;
}

namespace {

// 环刀 1：m0 = 40 g，m1 = 154.2 g，V = 60 cm³
//   ρ1 = (m1 − m0)/V = (154.2 − 40)/60 = 1.90 g/cm³
void append_rings(const RecordSheet& sheet, const Determinations& d, std::string& text) {
    text += "密度试验（环刀法）\n";
    for (std::size_t i = 0; i < sheet.rings.size() && i < d.values.size(); ++i) {
        const Ring& r = sheet.rings[i];
        const std::string k = std::to_string(i + 1);
        text += "  环刀 " + k + "：m0 = " + written(r.m0) + " g，m1 = " + written(r.m1) +
                " g，V = " + written(r.V) + " cm³\n    ρ" + k + " = (m1 − m0)/V = (" +
                written(r.m1) + " − " + written(r.m0) + ")/" + written(r.V) + " = " +
                d.values[i].text() + " g/cm³\n";
    }
}

void append_tins(const RecordSheet& sheet, const Determinations& d, std::string& text) {
    text += "含水率试验（烘干法）\n";
    for (std::size_t i = 0; i < sheet.tins.size() && i < d.values.size(); ++i) {
        const Tin& t = sheet.tins[i];
        const std::string k = std::to_string(i + 1);
        text += "  称量盒 " + k + "：m0 = " + written(t.m0) + " g，m1 = " + written(t.m1) +
                " g，m2 = " + written(t.m2) + " g\n    w" + k +
                " = (m1 − m2)/(m2 − m0) × 100% = (" + written(t.m1) + " − " + written(t.m2) +
                ")/(" + written(t.m2) + " − " + written(t.m0) + ") × 100% = " + d.values[i].text() +
                " %\n";
    }
}

// 平行差值：|ρ1 − ρ2| = 0.03 g/cm³，允许 0.03 g/cm³
// 平均值：ρ = 1.92 g/cm³
void append_summary(const char* symbol, const Determinations& d, const char* unit,
                    std::string& text) {
    const std::string s = symbol;
    if (d.values.size() == 2) {
        text += "  平行差值：|" + s + "1 − " + s + "2| = " + d.difference.text() + unit +
                "，允许 " + d.limit.text() + unit + (d.over_limit() ? "，超过" : "") + "\n";
    }
    text += "  平均值：" + s + " = " + d.mean.text() + unit + "\n";
}

}  // namespace

std::string sheet_text(const RecordSheet& sheet, const SheetWorking& working) {
    const LabMeasurements& lab = working.lab;
    std::string text;
    append_rings(sheet, working.density, text);
    append_summary("ρ", working.density, " g/cm³", text);
    append_tins(sheet, working.water, text);
    append_summary("w", working.water, " %", text);
    text += "土粒比重：ds = " + written(working.ds) + "\n";
    text += "试验数据（填入七个输入框）：\n  V = " + written(lab.V) + " cm³（环刀容积的平均值）\n";
    text += "  m = ρ·V = " + working.density.mean.text() + "×" + written(lab.V) + " = " +
            written(lab.m) + " g\n";
    text += "  ms = m/(1 + 0.01w) = " + written(lab.m) + "/(1 + " +
            written(working.water.mean.value() / 100) + ") = " + written(lab.ms) + " g\n";
    text += "  ds = " + written(lab.ds) + "\n";
    if (working.notes.empty()) return text;
    text += "数据校核：\n";
    for (const DataNote& note : working.notes) text += "  " + note.text + "\n";
    return text;
}

}  // namespace vorlith
