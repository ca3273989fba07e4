#include "calc/record_sheet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vorlith {
namespace {

// Worked by hand: ρ = (m1 − m0)/V and w = (m1 − m2)/(m2 − m0) × 100 in exact
// fractions, each recorded to 0.01 g/cm³ or 0.1 % (a half to the even digit),
// the mean of the recorded values recorded the same way. Each case reads
// "determinations | difference/limit | mean".
const std::vector<Ring> kRingsWithin = {{40, 154.2, 60}, {41.5, 157.3, 60}};  // 1.90, 1.93
const std::vector<Ring> kRingsOver = {{40, 154.2, 60}, {41.5, 157.9, 60}};    // 1.90, 1.94
const std::vector<Ring> kRingsTie = {{40, 154.2, 60}, {40, 154.6, 60}};       // 1.90, 1.91
const std::vector<Tin> kTinsWithin = {{20, 60, 52}, {21, 61.5, 53.3}};        // 25.0, 25.4
const std::string kDensityOver =
    "ρ 的两次测定相差 0.04 g/cm³，超过允许的平行差值 0.03 g/cm³：应重做试验";

struct SheetRow {
    const char* name;
    RecordSheet sheet;
    const char* density;
    const char* water;
    std::vector<std::string> notes;
};

// clang-format off
const SheetRow kSheetRows[] = {
    {"BothWithin", {kRingsWithin, kTinsWithin, 2.7}, "1.90 1.93 | 0.03/0.03 | 1.92",
     "25.0 25.4 | 0.4/1.0 | 25.2", {}},
    {"DensityOverWaterBelowTenWithin", {kRingsOver, {{20, 70, 66}, {20, 70, 66.2}}, 2.7},
     "1.90 1.94 | 0.04/0.03 | 1.92", "8.7 8.2 | 0.5/0.5 | 8.4", {kDensityOver}},
    {"WaterOverMeanTieDown", {kRingsTie, {{20, 60, 52}, {21, 62, 53}}, 2.7},
     "1.90 1.91 | 0.01/0.03 | 1.90", "25.0 28.1 | 3.1/1.0 | 26.6",
     {"w 的两次测定相差 3.1 %，超过允许的平行差值 1.0 %：应重做试验"}},
    {"OneRingWaterBelowTenOver", {{{40, 154.2, 60}}, {{20, 70, 66}, {20, 70, 66.4}}, 2.7},
     "1.90 | 0.00/0.03 | 1.90", "8.7 7.8 | 0.9/0.5 | 8.2",
     {"ρ 只测定了一次：应进行两次平行测定",
      "w 的两次测定相差 0.9 %，超过允许的平行差值 0.5 %：应重做试验"}},
    {"AboveFortyWithin", {kRingsWithin, {{20, 80, 62}, {20, 80, 62.5}}, 2.7},
     "1.90 1.93 | 0.03/0.03 | 1.92", "42.9 41.2 | 1.7/2.0 | 42.0", {}},
    {"AboveFortyOverOneTin", {kRingsOver, {{20, 80, 61}}, 2.7},
     "1.90 1.94 | 0.04/0.03 | 1.92", "46.3 | 0.0/2.0 | 46.3",
     {kDensityOver, "w 只测定了一次：应进行两次平行测定"}},
};
// clang-format on

std::string summary(const Determinations& d) {
    std::string text;
    for (const Recorded& v : d.values) text += v.text() + " ";
    return text + "| " + d.difference.text() + "/" + d.limit.text() + " | " + d.mean.text();
}

TEST(RecordSheet, ChecksEachPairAgainstItsLimitAndTakesTheMean) {
    for (const SheetRow& row : kSheetRows) {
        const SheetWorking w = work_sheet(row.sheet);
        EXPECT_EQ(summary(w.density), row.density) << row.name;
        EXPECT_EQ(summary(w.water), row.water) << row.name;
        std::vector<std::string> notes;
        for (const DataNote& note : w.notes) notes.push_back(note.text);
        EXPECT_EQ(notes, row.notes) << row.name;
    }
}

// A half goes to the even digit on the decimal value, not on its binary
// neighbour (1.905 is 1.90499… as a double, 1.915 is 1.91500…).
TEST(RecordSheet, RecordsHalvesToTheEvenDigit) {
    const struct {
        double x;
        int decimals;
        const char* text;
    } rows[] = {{1.905, 2, "1.90"}, {1.915, 2, "1.92"}, {0.745, 2, "0.74"},
                {-0.6, 1, "-0.6"},  {0.04, 1, "0.0"},   {123.45, 1, "123.4"}};
    for (const auto& row : rows) EXPECT_EQ(record(row.x, row.decimals).text(), row.text) << row.x;
}

// BothWithin: V = 60, m = 1.92×60 = 115.2, ms = 115.2/1.252 = 92.0127795527157…
const char* const kWrittenUp = R"(密度试验（环刀法）
  环刀 1：m0 = 40 g，m1 = 154.2 g，V = 60 cm³
    ρ1 = (m1 − m0)/V = (154.2 − 40)/60 = 1.90 g/cm³
  环刀 2：m0 = 41.5 g，m1 = 157.3 g，V = 60 cm³
    ρ2 = (m1 − m0)/V = (157.3 − 41.5)/60 = 1.93 g/cm³
  平行差值：|ρ1 − ρ2| = 0.03 g/cm³，允许 0.03 g/cm³
  平均值：ρ = 1.92 g/cm³
含水率试验（烘干法）
  称量盒 1：m0 = 20 g，m1 = 60 g，m2 = 52 g
    w1 = (m1 − m2)/(m2 − m0) × 100% = (60 − 52)/(52 − 20) × 100% = 25.0 %
  称量盒 2：m0 = 21 g，m1 = 61.5 g，m2 = 53.3 g
    w2 = (m1 − m2)/(m2 − m0) × 100% = (61.5 − 53.3)/(53.3 − 21) × 100% = 25.4 %
  平行差值：|w1 − w2| = 0.4 %，允许 1.0 %
  平均值：w = 25.2 %
土粒比重：ds = 2.7
试验数据（填入七个输入框）：
  V = 60 cm³（环刀容积的平均值）
  m = ρ·V = 1.92×60 = 115.2 g
  ms = m/(1 + 0.01w) = 115.2/(1 + 0.252) = 92.0127795527157 g
  ds = 2.7
)";

TEST(RecordSheet, WritesTheSheetUpAndTheFourMeasurements) {
    const SheetWorking w = work_sheet(kSheetRows[0].sheet);
    EXPECT_EQ(sheet_text(kSheetRows[0].sheet, w), kWrittenUp);
}

TEST(RecordSheet, RaisesForAnEmptyRingOrDrySoilOfNoMass) {
    for (const RecordSheet& sheet : {RecordSheet{{{40, 154.2, 0}}, {{20, 60, 52}}, 2.7},
                                     RecordSheet{{{40, 154.2, 60}}, {{20, 60, 20}}, 2.7}}) {
        try {
            work_sheet(sheet);
            ADD_FAILURE() << "no error";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.number, 11);
        }
    }
}

}  // namespace
}  // namespace vorlith
