#include "calc/soil_indices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "runtime/runtime_error.h"

namespace vorlith {
namespace {

// Box texts in box order: V, Vv, Vw, Vs, m, mw, ms.
using Inputs = std::array<std::u16string, 7>;
// Result-field writes in the order they happen: (j, text).
using Writes = std::vector<std::pair<int, std::string>>;

const RuntimeError kOverflow{6, "溢出"};
const RuntimeError kDivisionByZero{11, "除数为零"};

const Inputs kInitial = {u"97", u"7", u"10", u"80", u"202", u"34.7", u"167.3"};
const std::vector<int> kReadOrder = {1, 2, 4, 5, 6, 7};

// `base` with box k holding `text` instead.
Inputs with(Inputs base, int k, std::u16string text) {
    base[k - 1] = std::move(text);
    return base;
}

Inputs with(Inputs base, int k1, std::u16string t1, int k2, std::u16string t2) {
    return with(with(std::move(base), k1, std::move(t1)), k2, std::move(t2));
}

// Fields 1.. get `texts`; the remaining fields up to 8 are emptied.
Writes shown(std::initializer_list<const char*> texts) {
    Writes writes;
    for (const char* text : texts) writes.emplace_back(static_cast<int>(writes.size()) + 1, text);
    while (writes.size() < 8) writes.emplace_back(static_cast<int>(writes.size()) + 1, "");
    return writes;
}

// What one press of Calculate did, in the order it did it.
struct Press {
    std::vector<int> reads;
    Writes writes;
    int last_read_step = -1;
    int first_write_step = -1;
    std::optional<RuntimeError> error;
};

Press press(const Inputs& inputs) {
    Press p;
    int step = 0;
    p.error = compute_indices(
        [&](int k) {
            p.reads.push_back(k);
            p.last_read_step = step++;
            return k >= 1 && k <= 7 ? inputs[k - 1] : std::u16string();
        },
        [&](int j, const std::string& text) {
            if (p.first_write_step < 0) p.first_write_step = step;
            ++step;
            p.writes.emplace_back(j, text);
        });
    return p;
}

void expect_error(const std::optional<RuntimeError>& got, const RuntimeError* expected) {
    if (expected == nullptr) {
        EXPECT_FALSE(got.has_value()) << "raised " << got->number << " " << got->description;
        return;
    }
    ASSERT_TRUE(got.has_value()) << "expected error " << expected->number;
    EXPECT_EQ(got->number, expected->number);
    EXPECT_EQ(got->description, expected->description);
}

const Writes kInitialResults =
    shown({" 2.08247422680412", " 20.7411835026898", " 2.09125", " 1.72474226804124",
           " 1.79690721649485", " .9", " .0875", " 7.21649484536082"});

struct PressCase {
    const char* name;
    Inputs inputs;
    Writes writes;
    const RuntimeError* error;
    bool reading_fails;  // the error comes from a box text, not from an index
};

class ComputeIndicesPress : public testing::TestWithParam<PressCase> {};

TEST_P(ComputeIndicesPress, WritesEveryFieldInOrder) {
    const PressCase& c = GetParam();
    const Press p = press(c.inputs);
    EXPECT_EQ(p.writes, c.writes);
    expect_error(p.error, c.error);
}

TEST_P(ComputeIndicesPress, ReadsUsedBoxesOnceInOrderBeforeAnyWrite) {
    const PressCase& c = GetParam();
    const Press p = press(c.inputs);
    if (c.reading_fails) {
        ASSERT_FALSE(p.reads.empty());
        ASSERT_LE(p.reads.size(), kReadOrder.size());
        EXPECT_TRUE(std::equal(p.reads.begin(), p.reads.end(), kReadOrder.begin()))
            << testing::PrintToString(p.reads);
    } else {
        EXPECT_EQ(p.reads, kReadOrder);
    }
    EXPECT_LT(p.last_read_step, p.first_write_step);
}

TEST_P(ComputeIndicesPress, SecondPressRepeatsTheFirst) {
    const PressCase& c = GetParam();
    const Press first = press(c.inputs);
    const Press second = press(c.inputs);
    EXPECT_EQ(second.reads, first.reads);
    EXPECT_EQ(second.writes, first.writes);
    ASSERT_EQ(second.error.has_value(), first.error.has_value());
    if (first.error) {
        EXPECT_EQ(second.error->number, first.error->number);
        EXPECT_EQ(second.error->description, first.error->description);
    }
}

const PressCase kPressCases[] = {
    {"InitialSample", kInitial, kInitialResults, nullptr, false},
    {"FullWidthVolume", with(kInitial, 1, u"\uFF19\uFF17"), kInitialResults, nullptr, false},
    {"BlanksInVolume", with(kInitial, 1, u" 9 7 "), kInitialResults, nullptr, false},
    {"VoidsZero", with(kInitial, 2, u"0"),
     shown({" 2.08247422680412", " 20.7411835026898", " 2.09125", " 1.72474226804124",
            " 1.72474226804124", " .9", " 0", " 0"}),
     nullptr, false},
    {"SolidMassBelowSolidVolume", with(kInitial, 7, u"50"),
     shown({" 2.08247422680412", " 69.4", " .625", " .515463917525773", " .587628865979381",
            "-.309278350515464", " .0875", " 7.21649484536082"}),
     nullptr, false},
    // Near the top of the range a percentage stays in range only when its
    // quotient is formed before the multiplication by 100.
    {"PercentagesNearTopOfRange",
     with(with(with(kInitial, 1, u"10"), 2, u"1e307", 6, u"1e307"), 7, u"10"),
     shown({" 20.2", " 1E+308", " .125", " 1", " 1E+306", "-7", " 1.25E+305", " 1E+308"}), nullptr,
     false},
    {"VolumeEmpty", with(kInitial, 1, u""), shown({}), &kDivisionByZero, false},
    {"VolumeLetters", with(kInitial, 1, u"abc"), shown({}), &kDivisionByZero, false},
    {"SolidMassZero", with(kInitial, 7, u"0"), shown({" 2.08247422680412"}), &kDivisionByZero,
     false},
    {"SolidAndWaterMassZero", with(kInitial, 6, u"0", 7, u"0"), shown({" 2.08247422680412"}),
     &kOverflow, false},
    {"SolidVolumeZero", with(kInitial, 4, u"0"), shown({" 2.08247422680412", " 20.7411835026898"}),
     &kDivisionByZero, false},
    {"DensityOverflows", with(kInitial, 5, u"1e308", 1, u"1e-10"), shown({}), &kOverflow, false},
    {"WaterContentOverflows", with(kInitial, 6, u"1e307", 7, u"1"), shown({" 2.08247422680412"}),
     &kOverflow, false},
    {"SaturatedDensityOverflows", with(with(kInitial, 1, u"1"), 2, u"1.7e308", 7, u"1.7e308"),
     shown({" 202", " 2.04117647058824E-305", " 2.125E+306", " 1.7E+308"}), &kOverflow, false},
    {"VolumeTextOverflows", with(kInitial, 1, u"1e400"), shown({}), &kOverflow, true},
    {"SolidMassTextOverflows", with(kInitial, 7, u"1e400"), shown({}), &kOverflow, true},
    {"HexVolumeTextOverflows", with(kInitial, 1, u"&H100000000"), shown({}), &kOverflow, true},
};
INSTANTIATE_TEST_SUITE_P(Samples, ComputeIndicesPress, testing::ValuesIn(kPressCases),
                         [](const testing::TestParamInfo<PressCase>& test) {
                             return std::string(test.param.name);
                         });

// The water volume takes part in no index, so whatever its box holds, even a
// text that would not convert, the results are those of the initial sample.
struct WaterVolumeCase {
    const char* name;
    const char16_t* text;
};

class ComputeIndicesWaterVolume : public testing::TestWithParam<WaterVolumeCase> {};

TEST_P(ComputeIndicesWaterVolume, LeavesTheResultsUnchanged) {
    const Press p = press(with(kInitial, 3, GetParam().text));
    EXPECT_EQ(p.writes, kInitialResults);
    expect_error(p.error, nullptr);
    EXPECT_EQ(std::count(p.reads.begin(), p.reads.end(), 3), 0);
}

const WaterVolumeCase kWaterVolumeCases[] = {
    {"Initial", u"10"},
    {"Zero", u"0"},
    {"Negative", u"-5"},
    {"Empty", u""},
    {"Letters", u"abc"},
    {"DecimalTextOverflows", u"1e400"},
    {"HexTextOverflows", u"&H100000000"},
};
INSTANTIATE_TEST_SUITE_P(AnyText, ComputeIndicesWaterVolume, testing::ValuesIn(kWaterVolumeCases),
                         [](const testing::TestParamInfo<WaterVolumeCase>& test) {
                             return std::string(test.param.name);
                         });

}  // namespace
}  // namespace vorlith
