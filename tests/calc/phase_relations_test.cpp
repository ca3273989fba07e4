#include "calc/phase_relations.h"
#include "calc/report_precision.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace vorlith {
namespace {

// Every expected number below was worked out by hand from the box texts with
// Python's fractions.Fraction (exact), then rounded half to even to 15
// significant digits and laid out as Str lays it out (" .9", "-.6", " 0").
using Texts = std::array<std::u16string, kInputCount>;  // V, Vv, Vw, Vs, m, mw, ms
using Shown = std::array<std::string, kIndexCount>;     // each result, or its reason when empty

// The program's own sample, and a sample whose phases add up: Vv + Vs = V,
// mw + ms = m, mw = Vw·ρw, Vw < Vv.
const Texts kProgram = {u"97", u"7", u"10", u"80", u"202", u"34.7", u"167.3"};
const Texts kBalanced = {u"100", u"40", u"30", u"60", u"190", u"30", u"160"};
// A ring-cutter sample: V = 60 cm³, m = 114 g, ms = 92 g, ds = 2.70, boxes
// filled from it as from_lab and sample_texts fill them (kLabRows).
const Texts kRing = {u"60", u"25.9259259259259", u"22", u"34.0740740740741", u"114", u"22", u"92"};

// clang-format off
const Shown kProgramShown = {
    " 2.08247422680412", " 20.7411835026898", " 2.09125", " 1.72474226804124", " 1.79690721649485",
    " .9", " .0875", " 7.21649484536082", " 142.857142857143",
    " 20.4290721649485", " 16.9197216494845", " 17.6276597938144", " 8.829"};
const Shown kBalancedShown = {
    " 1.9", " 18.75", " 2.66666666666667", " 1.6", " 2", " 1", " .666666666666667", " 40", " 75",
    " 18.639", " 15.696", " 19.62", " 9.81"};
const Shown kRingShown = {
    " 1.9", " 23.9130434782609", " 2.7", " 1.53333333333333", " 1.96543209876543",
    " .965432098765432", " .76086956521739", " 43.2098765432098", " 84.8571428571429",
    " 19", " 15.3333333333333", " 19.6543209876543", " 9.65432098765432"};
// clang-format on

const std::string kVolumes = "：孔隙与颗粒的体积之和应等于总体积";
const std::string kMasses = "：水与颗粒的质量之和应等于总质量";
const std::string kWater = "：水的质量应等于水的体积乘以水的密度";
const std::string kSaturation = "：水的体积不能超过孔隙的体积";
const std::vector<std::string> kProgramNotes = {
    "V = 97 cm³，而 Vv + Vs = 87 cm³，相差 10 cm³" + kVolumes,
    "mw = 34.7 g，而 Vw·ρw = 10 g，相差 24.7 g" + kWater,
    "Sr = 142.857142857143 % > 100 %（Vw = 10 cm³ > Vv = 7 cm³）" + kSaturation};

// An index whose text differs from the base row's; `error` is the run-time
// error Form1 raises at it (0: none).
struct Change {
    Index index;
    std::string shown;
    int error = 0;
};

struct WorkingCase {
    const char* name;
    std::vector<std::pair<int, const char16_t*>> boxes;  // box k (1..7) holds this text instead
    const Texts* texts;
    Gravity g;
    const Shown* shown;
    std::vector<Change> changes;
    int form1_error, read_error;  // 0: none
    std::vector<std::string> notes;
};

// V has no use: every index that divides by V fails with `error` for `why`, and
// the unit weight of each such density with it.
std::vector<Change> volume_fails(const std::string& why, int error) {
    std::vector<Change> changes;
    for (Index i : {Index::rho, Index::rho_d, Index::rho_sat, Index::rho_prime, Index::n}) {
        changes.push_back({i, why, error});
    }
    changes.push_back({Index::gamma, "ρ 无结果（" + why + "）"});
    changes.push_back({Index::gamma_d, "ρd 无结果（" + why + "）"});
    changes.push_back({Index::gamma_sat, "ρsat 无结果（" + why + "）"});
    changes.push_back({Index::gamma_prime, "ρ' 无结果（" + why + "）"});
    return changes;
}
// Without solids (ms = 0): `w` and what changes from the balanced sample.
std::vector<Change> solids_gone(Change w) {
    return {w,
            {Index::ds, " 0"},
            {Index::rho_d, " 0"},
            {Index::rho_sat, " .4"},
            {Index::rho_prime, "-.6"},
            {Index::gamma_d, " 0"},
            {Index::gamma_sat, " 3.924"},
            {Index::gamma_prime, "-5.886"}};
}

// clang-format off
const WorkingCase kWorkingCases[] = {
    {"Program", {}, &kProgram, Gravity::Standard, &kProgramShown, {}, 0, 0, kProgramNotes},
    {"ProgramTen", {}, &kProgram, Gravity::Ten, &kProgramShown,
     {{Index::gamma, " 20.8247422680412"}, {Index::gamma_d, " 17.2474226804124"},
      {Index::gamma_sat, " 17.9690721649485"}, {Index::gamma_prime, " 9"}}, 0, 0, kProgramNotes},
    {"ProgramNineEight", {}, &kProgram, Gravity::NineEight, &kProgramShown,
     {{Index::gamma, " 20.4082474226804"}, {Index::gamma_d, " 16.9024742268041"},
      {Index::gamma_sat, " 17.6096907216495"}, {Index::gamma_prime, " 8.82"}}, 0, 0, kProgramNotes},
    {"RingTen", {}, &kRing, Gravity::Ten, &kRingShown, {}, 0, 0, {}},
    {"Ring", {}, &kRing, Gravity::Standard, &kRingShown,
     {{Index::gamma, " 18.639"}, {Index::gamma_d, " 15.042"},
      {Index::gamma_sat, " 19.2808888888889"}, {Index::gamma_prime, " 9.47088888888888"}}, 0, 0, {}},
    {"Balanced", {}, &kBalanced, Gravity::Standard, &kBalancedShown, {}, 0, 0, {}},
    {"VolumeZero", {{1, u"0"}}, &kBalanced, Gravity::Standard, &kBalancedShown,
     volume_fails("V = 0，除数为零", 11),
     11, 0, {"V = 0 cm³，而 Vv + Vs = 100 cm³，相差 100 cm³" + kVolumes}},
    {"SolidMassZero", {{7, u"0"}}, &kBalanced, Gravity::Standard, &kBalancedShown,
     solids_gone({Index::w, "ms = 0，除数为零", 11}),
     11, 0, {"m = 190 g，而 mw + ms = 30 g，相差 160 g" + kMasses}},
    {"WaterAndSolidMassZero", {{6, u"0"}, {7, u"0"}}, &kBalanced, Gravity::Standard, &kBalancedShown,
     solids_gone({Index::w, "ms = 0 且 mw = 0，溢出", 6}),
     6, 0, {"m = 190 g，而 mw + ms = 0 g，相差 190 g" + kMasses,
            "mw = 0 g，而 Vw·ρw = 30 g，相差 30 g" + kWater}},
    {"SolidVolumeZero", {{4, u"0"}}, &kBalanced, Gravity::Standard, &kBalancedShown,
     {{Index::ds, "Vs = 0，除数为零", 11}, {Index::rho_prime, " 1.6"},
      {Index::e, "Vs = 0，除数为零", 11}, {Index::gamma_prime, " 15.696"}},
     11, 0, {"V = 100 cm³，而 Vv + Vs = 40 cm³，相差 60 cm³" + kVolumes}},
    {"VoidsZero", {{2, u"0"}}, &kBalanced, Gravity::Standard, &kBalancedShown,
     {{Index::rho_sat, " 1.6"}, {Index::e, " 0"}, {Index::n, " 0"},
      {Index::Sr, "Vv = 0，饱和度无定义"}, {Index::gamma_sat, " 15.696"}},
     0, 0, {"V = 100 cm³，而 Vv + Vs = 60 cm³，相差 40 cm³" + kVolumes,
            "Vw = 30 cm³ > Vv = 0 cm³" + kSaturation}},
    {"VolumeTextOverflows", {{1, u"1e400"}}, &kBalanced, Gravity::Standard, &kBalancedShown,
     volume_fails("V 读入时溢出", 6),
     6, 6, {}},
    {"DensityOverflows", {{1, u"1e-300"}, {5, u"1e300"}}, &kBalanced, Gravity::Standard,
     &kBalancedShown,
     {{Index::rho, "结果超出范围，溢出", 6}, {Index::rho_d, " 1.6E+302"}, {Index::rho_sat, " 2E+302"},
      {Index::rho_prime, " 1E+302"}, {Index::n, " 4E+303"},
      {Index::gamma, "ρ 无结果（结果超出范围，溢出）"}, {Index::gamma_d, " 1.5696E+303"},
      {Index::gamma_sat, " 1.962E+303"}, {Index::gamma_prime, " 9.81E+302"}},
     6, 0, {"V = 1E-300 cm³，而 Vv + Vs = 100 cm³，相差 100 cm³" + kVolumes,
            "m = 1E+300 g，而 mw + ms = 190 g，相差 1E+300 g" + kMasses}},
    // Form1 stops while reading Vv: the indices that do not need it are worked
    // out here, but Form1 leaves all eight empty.
    {"VoidsTextOverflows", {{2, u"1e400"}}, &kBalanced, Gravity::Standard, &kBalancedShown,
     {{Index::rho_sat, "Vv 读入时溢出", 6}, {Index::e, "Vv 读入时溢出", 6},
      {Index::n, "Vv 读入时溢出", 6}, {Index::Sr, "Vv 读入时溢出"},
      {Index::gamma_sat, "ρsat 无结果（Vv 读入时溢出）"}}, 6, 6, {}},
    // Form1 never reads Vw: its overflow leaves Form1's eight and raises nothing there.
    {"WaterVolumeTextOverflows", {{3, u"1e400"}}, &kBalanced, Gravity::Standard, &kBalancedShown,
     {{Index::Sr, "Vw 读入时溢出"}}, 0, 6, {}},
    // mw against Vw·ρw = 30: .25 is within 1 % of 30.25, .5 is not within 1 % of 30.5.
    {"WetBelowDry", {{5, u"150"}}, &kBalanced, Gravity::Standard, &kBalancedShown,
     {{Index::rho, " 1.5"}, {Index::gamma, " 14.715"}}, 0, 0,
     {"m = 150 g，而 mw + ms = 190 g，相差 40 g" + kMasses,
      "m = 150 g < ms = 160 g：湿土的质量不能小于干土的质量"}},
    {"VoidsBelowZero", {{2, u"-5"}}, &kBalanced, Gravity::Standard, &kBalancedShown,
     {{Index::rho_sat, " 1.55"}, {Index::e, "-8.33333333333333E-02"}, {Index::n, "-5"},
      {Index::Sr, "-600"}, {Index::gamma_sat, " 15.2055"}}, 0, 0,
     {"V = 100 cm³，而 Vv + Vs = 55 cm³，相差 45 cm³" + kVolumes,
      "Vw = 30 cm³ > Vv = -5 cm³" + kSaturation, "Vv = -5 cm³ < 0：颗粒的体积超过了总体积",
      "e = -8.33333333333333E-02 < 0：孔隙比不能为负", "n = -5 % < 0：孔隙率不能为负",
      "Sr = -600 % < 0：饱和度不能为负"}},
    {"TextsReadInPartOrNotAtAll", {{3, u"abc"}, {4, u"60abc"}}, &kBalanced, Gravity::Standard,
     &kBalancedShown, {{Index::Sr, " 0"}}, 0, 0,
     {"Vw 的文本“abc”读不出数字：按 0 cm³ 计算", "Vs 的文本“60abc”只读出 60 cm³：“abc”未读",
      "mw = 30 g，而 Vw·ρw = 0 g，相差 30 g" + kWater}},
    {"WaterMassWithinOnePercent", {{6, u"30.25"}}, &kBalanced, Gravity::Standard, &kBalancedShown,
     {{Index::w, " 18.90625"}}, 0, 0, {}},
    {"WaterMassBeyondOnePercent", {{6, u"30.5"}}, &kBalanced, Gravity::Standard, &kBalancedShown,
     {{Index::w, " 19.0625"}}, 0, 0, {"mw = 30.5 g，而 Vw·ρw = 30 g，相差 0.5 g" + kWater}},
};
// clang-format on

int number(const std::optional<RuntimeError>& error) {
    return error ? error->number : 0;
}

class PhaseWorkingTable : public testing::TestWithParam<WorkingCase> {
protected:
    Texts texts() const {
        Texts t = *GetParam().texts;
        for (const auto& [k, text] : GetParam().boxes) t[k - 1] = text;
        return t;
    }
};

TEST_P(PhaseWorkingTable, ShowsEachIndexOrWhyNotAndTheNotes) {
    const WorkingCase& c = GetParam();
    Shown shown = *c.shown;
    std::array<int, kIndexCount> errors{};
    for (const Change& change : c.changes) {
        shown[static_cast<int>(change.index)] = change.shown;
        errors[static_cast<int>(change.index)] = change.error;
    }
    const PhaseWorking w = work_out(texts(), c.g);
    ASSERT_EQ(w.indices.size(), static_cast<size_t>(kIndexCount));
    for (int i = 0; i < kIndexCount; ++i) {
        const IndexWorking& x = w.indices[i];
        EXPECT_NE(x.result.empty(), x.reason.empty()) << x.symbol;
        EXPECT_EQ(x.result.empty() ? x.reason : x.result, shown[i]) << x.symbol;
        EXPECT_EQ(number(x.error), errors[i]) << x.symbol;
    }
    std::vector<std::string> notes;
    for (const DataNote& note : w.notes) notes.push_back(note.text);
    EXPECT_EQ(notes, c.notes);
    EXPECT_EQ(number(w.form1_error), c.form1_error);
    EXPECT_EQ(number(w.read_error), c.read_error);
}

// What Form1's 计算 shows for the same texts: the same eight texts up to where
// it stops, empty fields from there on, and the same error.
TEST_P(PhaseWorkingTable, AgreesWithForm1) {
    const Texts t = texts();
    std::array<std::string, kResultCount> fields;
    const auto error =
        compute_indices([&](int k) { return t[k - 1]; },
                        [&](int j, const std::string& text) { fields[j - 1] = text; });
    const PhaseWorking w = work_out(t);
    EXPECT_EQ(w.form1_error, error);
    for (int j = 0; j < kResultCount; ++j) {
        EXPECT_EQ(j < w.form1_filled ? w.indices[j].result : "", fields[j]) << "field " << j + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(Samples, PhaseWorkingTable, testing::ValuesIn(kWorkingCases),
                         [](const auto& test) { return std::string(test.param.name); });

// Each index of the program's sample: symbol|name|unit|formula|the numbers put in.
const char* const kProgramWorking = R"(ρ|土的天然密度|g/cm³|ρ = m/V|202/97
w|土的含水量|%|w = mw/ms × 100%|34.7/167.3 × 100%
ds|土粒相对密度||ds = ms/(Vs·ρw)|167.3/(80×1)
ρd|土的干密度|g/cm³|ρd = ms/V|167.3/97
ρsat|土的饱和密度|g/cm³|ρsat = (ms + Vv·ρw)/V|(167.3 + 7×1)/97
ρ'|土的有效密度|g/cm³|ρ' = (ms − Vs·ρw)/V|(167.3 − 80×1)/97
e|土的孔隙比||e = Vv/Vs|7/80
n|土的孔隙率|%|n = Vv/V × 100%|7/97 × 100%
Sr|土的饱和度|%|Sr = Vw/Vv × 100%|10/7 × 100%
γ|土的天然重度|kN/m³|γ = ρ·g|2.08247422680412×9.81
γd|土的干重度|kN/m³|γd = ρd·g|1.72474226804124×9.81
γsat|土的饱和重度|kN/m³|γsat = ρsat·g|1.79690721649485×9.81
γ'|土的有效重度|kN/m³|γ' = ρ'·g|0.9×9.81
)";

TEST(PhaseWorkingFormula, NamesEachIndexAndPutsTheNumbersIn) {
    const PhaseWorking w = work_out(kProgram);
    std::string lines;
    for (int i = 0; i < kIndexCount; ++i) {
        const IndexWorking& x = w.indices[i];
        EXPECT_EQ(x.index, static_cast<Index>(i));
        lines +=
            x.symbol + "|" + x.name + "|" + x.unit + "|" + x.formula + "|" + x.substituted + "\n";
    }
    EXPECT_EQ(lines, kProgramWorking);
    EXPECT_EQ(w.given, "ρw = 1 g/cm³，g = 9.81 m/s²");
    EXPECT_EQ(work_out(kProgram, Gravity::Ten).given, "ρw = 1 g/cm³，g = 10 m/s²");
}

// A negative number stands in brackets; a number that is not there leaves the
// numbers out.
struct SubstitutedRow {
    Texts texts;
    Index index;
    const char* substituted;
};

const SubstitutedRow kSubstitutedRows[] = {
    {{u"100", u"40", u"30", u"60", u"190", u"30", u"0"}, Index::gamma_prime, "(-0.6)×9.81"},
    {{u"0", u"40", u"30", u"60", u"190", u"30", u"160"}, Index::rho, "190/0"},
    {{u"0", u"40", u"30", u"60", u"190", u"30", u"160"}, Index::gamma, ""},
    {{u"1e400", u"40", u"30", u"60", u"190", u"30", u"160"}, Index::rho, ""},
};

TEST(PhaseWorkingFormula, BracketsNegativesAndLeavesOutWhatIsMissing) {
    for (const SubstitutedRow& row : kSubstitutedRows) {
        EXPECT_EQ(work_out(row.texts).indices[static_cast<int>(row.index)].substituted,
                  row.substituted);
    }
}

// The working as handed in: the data first, numbers with their leading zero,
// units written cm³, g/cm³, kN/m³, and each line that goes on from a formula
// starting with a tab, under the formula's "=" at the first tab stop.
struct WorkingTextRow {
    Texts texts;
    const char* excerpt;
};

const WorkingTextRow kWorkingTextRows[] = {
    {kBalanced,
     "已知：\n  V = 100 cm³，Vv = 40 cm³，Vw = 30 cm³，Vs = 60 cm³\n"
     "  m = 190 g，mw = 30 g，ms = 160 g\n  ρw = 1 g/cm³，g = 9.81 m/s²\n"
     "土的天然密度 ρ（g/cm³）\n  ρ\t= m/V\n\t= 190/100\n\t= 1.9 g/cm³\n"},
    {kBalanced, "  e\t= Vv/Vs\n\t= 40/60\n\t= 0.666666666666667\n"},
    {{u"100", u"40", u"30", u"60", u"190", u"30", u"0"},
     "  ρ'\t= (ms − Vs·ρw)/V\n\t= (0 − 60×1)/100\n\t= -0.6 g/cm³\n"},
    {{u"100", u"40", u"30", u"60", u"190", u"30", u"0"},
     "  γ'\t= ρ'·g\n\t= (-0.6)×9.81\n\t= -5.886 kN/m³\n数据校核：\n"},
    {{u"1e400", u"40", u"30", u"60", u"190", u"30", u"160"}, "  V 读入时溢出，Vv = 40 cm³，"},
};

TEST(PhaseWorkingText, ListsTheDataAndAlignsUnderTheEqualsSign) {
    for (const WorkingTextRow& row : kWorkingTextRows) {
        const std::string text = working_text(work_out(row.texts));
        EXPECT_NE(text.find(row.excerpt), std::string::npos) << text << "\nlacks\n" << row.excerpt;
    }
}

// At report precision, by hand: w = 30/160 = 18.75 %, ds = 160/60, e =
// 40/60, γ = 1.9×9.81 = 18.639, γd = 15.696, γsat = 19.62, γ' = 9.81.
TEST(PhaseWorkingText, ReportsEachResultAtReportPrecisionForPrinting) {
    EXPECT_EQ(
        report_results_text(work_out(kBalanced)),
        "结果（按报告精度）：\n  ρ\t= 1.90 g/cm³\n  w\t= 18.8 %\n  ds\t= 2.67\n  ρd\t= 1.60 g/cm³\n"
        "  ρsat\t= 2.00 g/cm³\n  ρ'\t= 1.00 g/cm³\n  e\t= 0.667\n  n\t= 40.0 %\n  Sr\t= 75.0 %\n"
        "  γ\t= 18.6 kN/m³\n  γd\t= 15.7 kN/m³\n  γsat\t= 19.6 kN/m³\n  γ'\t= 9.81 kN/m³\n");
}

// From a lab's four measurements: Vs = 167.3/2.09125 = 80, mw = 202 − 167.3
// = 34.7, Vv = 97 − 80 = 17, and ds given, not worked out.
TEST(PhaseWorkingText, DerivesTheLabsQuantitiesBeforeTheIndices) {
    const std::string text = working_text(work_out_lab({97, 202, 167.3, 2.09125}));
    EXPECT_EQ(text.substr(0, text.find("土的天然密度")),
              "已知：\n  V = 97 cm³，m = 202 g，ms = 167.3 g，ds = 2.09125\n"
              "  ρw = 1 g/cm³，g = 9.81 m/s²\n由试验数据求各相的体积与质量\n"
              "  Vs\t= ms/(ds·ρw)\n\t= 167.3/(2.09125×1)\n\t= 80 cm³\n"
              "  mw\t= m − ms\n\t= 202 − 167.3\n\t= 34.7 g\n"
              "  Vw\t= mw/ρw\n\t= 34.7/1\n\t= 34.7 cm³\n"
              "  Vv\t= V − Vs\n\t= 97 − 80\n\t= 17 cm³\n");
    EXPECT_NE(text.find("土粒相对密度 ds\n  ds\t= 2.09125（试验测得）\n土的干密度"),
              std::string::npos);
}

// From a lab's four measurements to the seven box texts; Vs = ms/(ds·ρw) and
// Vv = V − Vs worked out by hand as above.
struct LabRow {
    LabMeasurements lab;
    std::array<const char*, kInputCount> texts;
    int error;
};

const LabRow kLabRows[] = {
    {{60, 114, 92, 2.7},
     {" 60", " 25.9259259259259", " 22", " 34.0740740740741", " 114", " 22", " 92"},
     0},
    {{50, 95.15, 75.05, 2.67},
     {" 50", " 21.8913857677903", " 20.1", " 28.1086142322097", " 95.15", " 20.1", " 75.05"},
     0},
    {{60, 114, 92, 0}, {}, 11},
    {{60, 114, 0, 0}, {}, 6},
    {{60, -1.7e308, 1.7e308, 2.7}, {}, 6},
};

TEST(PhaseWorkingLab, FillsTheSevenBoxes) {
    for (const LabRow& row : kLabRows) {
        try {
            const auto texts = sample_texts(from_lab(row.lab));
            EXPECT_EQ(row.error, 0) << row.lab.ds;
            for (int k = 0; k < kInputCount && row.error == 0; ++k)
                EXPECT_EQ(texts[k], row.texts[k]);
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.number, row.error) << row.lab.ds;
        }
    }
}

}  // namespace
}  // namespace vorlith
