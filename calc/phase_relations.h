#pragma once

// Beyond the eight indices of Form1: how each index comes about (its formula
// in the textbook's notation and with the numbers put in), the degree of
// saturation and the unit weights, notes on data that cannot be one soil,
// and the seven quantities worked out from what a lab measures. Plain C++,
// like the rest of calc/: the working window, the command line and the tests
// read the same texts.
//
// Nothing here changes what Form1 shows: the eight results are computed by
// the same code as compute_indices and written by the same Str.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/soil_indices.h"
#include "runtime/runtime_error.h"

namespace vorlith {

// Acceleration due to gravity for the unit weights, in m/s²: 9.81, or the
// 9.8 and 10 that textbooks' exercises use.
enum class Gravity { Standard, NineEight, Ten };
double gravity_value(Gravity g);

// The thirteen indices, in the order the working and the command line list
// them: Form1's eight (j = 1..8), then Sr and the four unit weights.
enum class Index {
    rho,
    w,
    ds,
    rho_d,
    rho_sat,
    rho_prime,
    e,
    n,
    Sr,
    gamma,
    gamma_d,
    gamma_sat,
    gamma_prime
};
inline constexpr int kIndexCount = 13;

// Each index's symbol, in Index order: the working names the indices by
// these, and so do the command line's lines and its CSV columns.
inline constexpr std::array<std::string_view, kIndexCount> kIndexSymbols = {
    "ρ", "w", "ds", "ρd", "ρsat", "ρ'", "e", "n", "Sr", "γ", "γd", "γsat", "γ'"};

// How one index comes about.
struct IndexWorking {
    Index index;
    std::string symbol;   // kIndexSymbols[index]
    std::string name;     // Chinese name, "土的天然密度" …
    std::string unit;     // "g/cm³", "%", "kN/m³", or "" for none
    std::string formula;  // in symbols, ρw written out: "ρsat = (ms + Vv·ρw)/V"
    // The right-hand side of `formula` with the numbers put in, each as
    // `written` writes it (0.9, not Str's .9), a negative one in brackets, ρw
    // as 1: "(167.3 + 7×1)/97". Empty when a quantity it needs has no value.
    std::string substituted;
    std::string result;  // Str of the value, as Form1 shows it; "" when not computed
    double value = 0;    // the value itself, when computed
    std::string reason;  // when not computed: why, in words ("Vv = 0，饱和度无定义")
    // For Form1's eight: the run-time error this index raises in Form1, if any.
    std::optional<RuntimeError> error;
};

// One check on the data (数据校核) that found something no soil can have, in
// Chinese, with the values and their units: two sides that should be equal
// apart by more than 1 % of the larger, more water than voids, less wet soil
// than dry soil (m < ms), Vv, e, n or Sr below zero, or a box whose text Val
// reads only in part ("12abc" as 12) or not at all ("abc" as 0; an empty box
// is a 0 left out and gives no note).
struct DataNote {
    std::string text;
};

// What a lab measures: ring-cutter volume V (cm³), wet mass m (g), oven-dry
// mass ms (g) and the specific gravity of the solids ds (no unit).
struct LabMeasurements {
    double V = 0, m = 0, ms = 0, ds = 0;
};

struct PhaseWorking {
    SoilSample sample;  // all seven, Vw included, each Val of its box (0 where it raised)
    std::vector<IndexWorking> indices;  // kIndexCount, in Index order
    std::vector<DataNote> notes;        // empty when the data are consistent
    std::string given;                  // the constants used: "ρw = 1 g/cm³，g = 9.81 m/s²"
    // The data it starts from, as 已知 lists them: the seven boxes
    // ("V = 97 cm³", or "V 读入时溢出"), or a lab's four measurements.
    std::vector<std::string> data;
    // For a lab's measurements: the four, whose seven quantities the working
    // derives before the indices.
    std::optional<LabMeasurements> lab;
    std::optional<RuntimeError> form1_error;  // the error Form1's 计算 raises, if any
    std::optional<RuntimeError> read_error;   // Val raised while reading a box (overflow)
    // How many of Form1's result fields, from ρ on, its 计算 leaves filled
    // (with these indices' results): all eight without form1_error, none
    // when reading a box raised it, else those before the index that did.
    int form1_filled = kResultCount;
};

// The working for the seven texts of Form1's boxes, Text1..Text7, each read
// with Val as Command1_Click reads it. Never throws a RuntimeError: an index
// that cannot be computed is left empty with its reason, and each index is
// computed on its own, so that one failing index leaves the others shown.
PhaseWorking work_out(const std::array<std::u16string, kInputCount>& texts,
                      Gravity g = Gravity::Standard);

// The seven quantities from a lab's four, water at 1 g/cm³:
// Vs = ms/(ds·ρw), mw = m − ms, Vw = mw/ρw, Vv = V − Vs, with the guarded
// arithmetic: raises RuntimeError 11 for ds = 0, 6 on overflow.
SoilSample from_lab(const LabMeasurements& lab);

// The seven quantities as Str writes them, in box order, for Text1..Text7.
std::array<std::string, kInputCount> sample_texts(const SoilSample& sample);

// The working from a lab's four measurements: the seven quantities from
// from_lab (which may raise), written into the boxes by Str and worked out
// as work_out does, with `lab` and its four as the data.
PhaseWorking work_out_lab(const LabMeasurements& lab, Gravity g = Gravity::Standard);

// The working a student can hand in, in Chinese, one line after another,
// each ending in '\n': 已知 (the data, ρw and g); for a lab's measurements
// Vs, mw, Vw and Vv with the numbers put in; per index its name and unit,
// its formula, the formula with the numbers put in, and the result or why
// there is none; then the notes (数据校核).
//
// Numbers are written with their leading zero (0.9, -0.6); Form1's boxes and
// result fields keep Str's ".9". Units: cm³, g, g/cm³, kN/m³, m/s².
//
// Alignment without a monospace font: a formula's line is "  ρ\t= m/V" and
// each line that goes on from it begins with a tab, "\t= 202/97", so that
// every "=" of a formula stands at the first tab stop. A window sets that
// stop wider than the widest "  ρsat" (a terminal's stop of 8 columns is).
std::string working_text(const PhaseWorking& working);

}  // namespace vorlith
