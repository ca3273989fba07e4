#include "calc/given_indices.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "calc/report_precision.h"

namespace vorlith {
namespace {

// Two soils worked out by hand from their three-phase sketches (V = 1 cm³),
// in exact fractions, each index from its definition (ρ = m/V, e = Vv/Vs …):
// A, the textbook's ρ = 1.85 g/cm³, w = 25 %, ds = 2.70 (ms = 1.48 g,
// mw = 0.37 g, Vs = 1.48/2.7 cm³), e = 61/74, at g = 9.81; B, Vs = 0.6,
// Vv = 0.4, Vw = 0.324 cm³, ds = 2.7, at g = 10. Index order, w, n, Sr in %.
using Soil = std::array<double, kIndexCount>;
const Soil kA = {1.85,
                 25,
                 2.7,
                 1.48,
                 1.93185185185185185,
                 0.931851851851851852,
                 0.824324324324324324,
                 45.1851851851851852,
                 81.8852459016393443,
                 18.1485,
                 14.5188,
                 18.9514666666666667,
                 9.14146666666666667};
const Soil kB = {1.944, 20, 2.7,   1.62, 2.02, 1.02, 0.666666666666666667,
                 40,    81, 19.44, 16.2, 20.2, 10.2};

struct SolvedCase {
    std::vector<GivenValue> given;
    const Soil* soil;
    Gravity g;
    bool sketch;  // worked by the three-phase sketch, not by the textbook's formulas
};

using I = Index;
const auto S = Gravity::Standard;
const auto T = Gravity::Ten;
const SolvedCase kSolved[] = {
    {{{I::rho, 1.85}, {I::w, 25}, {I::ds, 2.7}}, &kA, S, false},
    {{{I::rho, 1.85}, {I::ds, 2.7}, {I::rho_d, 1.48}}, &kA, S, false},
    {{{I::gamma, 18.1485}, {I::gamma_d, 14.5188}, {I::ds, 2.7}}, &kA, S, false},
    {{{I::gamma_d, 14.5188}, {I::w, 25}, {I::ds, 2.7}}, &kA, S, false},
    {{{I::rho, 1.944}, {I::w, 20}, {I::n, 40}}, &kB, T, false},
    {{{I::rho, 1.944}, {I::w, 20}, {I::rho_sat, 2.02}}, &kB, T, false},
    {{{I::rho, 1.944}, {I::w, 20}, {I::Sr, 81}}, &kB, T, true},
    {{{I::rho, 1.944}, {I::Sr, 81}, {I::ds, 2.7}}, &kB, T, true},
    {{{I::rho, 1.944}, {I::Sr, 81}, {I::n, 40}}, &kB, T, true},
    {{{I::rho, 1.944}, {I::Sr, 81}, {I::rho_sat, 2.02}}, &kB, T, true},
    {{{I::rho, 1.944}, {I::Sr, 81}, {I::rho_d, 1.62}}, &kB, T, true},
    {{{I::rho, 1.944}, {I::ds, 2.7}, {I::n, 40}}, &kB, T, false},
    {{{I::rho, 1.944}, {I::rho_d, 1.62}, {I::rho_sat, 2.02}}, &kB, T, false},
    {{{I::w, 20}, {I::Sr, 81}, {I::ds, 2.7}}, &kB, T, false},
    {{{I::w, 20}, {I::Sr, 81}, {I::n, 40}}, &kB, T, false},
    {{{I::w, 20}, {I::Sr, 81}, {I::rho_d, 1.62}}, &kB, T, true},
    {{{I::w, 20}, {I::Sr, 81}, {I::gamma_sat, 20.2}}, &kB, T, true},
    {{{I::rho_d, 1.62}, {I::rho_sat, 2.02}, {I::Sr, 81}}, &kB, T, false},
    {{{I::n, 40}, {I::rho_sat, 2.02}, {I::w, 20}}, &kB, T, false},
    {{{I::rho_prime, 1.02}, {I::ds, 2.7}, {I::Sr, 81}}, &kB, T, false},
    {{{I::gamma_d, 16.2}, {I::n, 40}, {I::w, 20}}, &kB, T, false},
    {{{I::gamma_prime, 10.2}, {I::n, 40}, {I::Sr, 81}}, &kB, T, false},
    {{{I::gamma, 19.44}, {I::ds, 2.7}, {I::w, 20}}, &kB, T, false},
};

std::string named(const std::vector<GivenValue>& given) {
    std::string text;
    for (const auto& v : given) text += std::string(kIndexSymbols[static_cast<int>(v.index)]) + " ";
    return text;
}

TEST(GivenIndicesTest, EveryKindOfKnownSetGivesTheSoil) {
    for (const SolvedCase& c : kSolved) {
        const GivenWorking r = from_given(c.given, c.g);
        EXPECT_EQ(r.refusal, "") << named(c.given);
        for (int i = 0; i < kIndexCount; ++i) {
            const double expected = (*c.soil)[i];
            EXPECT_NEAR(r.values[i], expected, 1e-12 * std::fabs(expected))
                << named(c.given) << "→ " << kIndexSymbols[i];
        }
        EXPECT_EQ(r.method.starts_with("三相草图法"), c.sketch) << named(c.given);
        EXPECT_TRUE(r.notes.empty()) << named(c.given);
    }
}

// Of the 286 sets of three, 155 fix the soil (counted by hand in
// docs/HOMEWORK.md); each, taken from soil B, gives soil B back.
TEST(GivenIndicesTest, EverySetThatFixesTheSoilGivesItBack) {
    int fixed = 0;
    for (int a = 0; a < kIndexCount; ++a) {
        for (int b = a + 1; b < kIndexCount; ++b) {
            for (int c = b + 1; c < kIndexCount; ++c) {
                const GivenWorking r =
                    from_given({{I(a), kB[a]}, {I(b), kB[b]}, {I(c), kB[c]}}, Gravity::Ten);
                if (!r.refusal.empty()) continue;
                ++fixed;
                for (int i = 0; i < kIndexCount; ++i)
                    EXPECT_NEAR(r.values[i], kB[i], 1e-9 * kB[i]) << a << b << c << " → " << i;
            }
        }
    }
    EXPECT_EQ(fixed, 155);
}

TEST(GivenIndicesTest, SevenQuantitiesForOneCubicCentimetre) {
    // Soil A: V = 1, Vv = n = 61/135, Vw = mw = 0.37, Vs = 74/135, m = 1.85, ms = 1.48.
    const SoilSample s = from_given({{I::rho, 1.85}, {I::w, 25}, {I::ds, 2.7}}).sample;
    const double expected[] = {1,   0.451851851851851852, 0.37, 0.548148148148148148, 1.85, 0.37,
                               1.48};
    const double got[] = {s.V, s.Vv, s.Vw, s.Vs, s.m, s.mw, s.ms};
    for (int k = 0; k < kInputCount; ++k) EXPECT_NEAR(got[k], expected[k], 1e-15) << k;
}

struct RefusedCase {
    std::vector<GivenValue> given;
    std::string refusal;
};

const RefusedCase kRefused[] = {
    {{{I::e, 0.8}, {I::n, 40}, {I::w, 20}}, "e 与 n 互相换算，只算一个已知量"},
    {{{I::w, 20}, {I::rho_sat, 2.02}, {I::rho_prime, 1.02}}, "ρsat 与 ρ' 互相换算，只算一个已知量"},
    {{{I::gamma, 19}, {I::w, 20}, {I::rho, 1.9}}, "γ 与 ρ 互相换算，只算一个已知量"},
    {{{I::rho_d, 1.5}, {I::ds, 2.7}, {I::e, 0.8}},
     "ρd、ds 与 e 都只与土粒和孔隙有关，与水无关，由其中两个可换算出第三个，只算两个已知量；"
     "还需 ρ、γ、w 或 Sr 之一"},
    {{{I::gamma, 19}, {I::w, 20}, {I::rho_d, 1.5}},
     "γ、w 与 ρd 互相换算（ρd = ρ/(1 + w)），只算两个已知量"},
    {{{I::w, 20}, {I::w, 25}, {I::ds, 2.7}}, "w 给了两次"},
    {{{I::w, 20}, {I::ds, 2.7}}, "需要三个已知量，给了 2 个"},
    {{{I::rho, 0}, {I::w, 20}, {I::ds, 2.7}}, "ρ 必须大于 0"},
    {{{I::rho, 1.9}, {I::w, 20}, {I::ds, -2.7}}, "ds 必须大于 0"},
    {{{I::rho, 1.9}, {I::w, -1}, {I::ds, 2.7}}, "w 不能小于 0"},
    // w·ds = Sr·e with Sr = 0 and w > 0: no e.
    {{{I::w, 20}, {I::Sr, 0}, {I::ds, 2.7}}, "求 e 时除数为零：这组已知量定不出一种土"},
};

TEST(GivenIndicesTest, SetsThatDoNotFixTheSoilAreRefused) {
    for (const RefusedCase& c : kRefused) EXPECT_EQ(from_given(c.given).refusal, c.refusal);
}

struct NotedCase {
    std::vector<GivenValue> given;
    std::vector<std::string> notes;
};

// Sr = 0.25×2.7/0.5 = 135 %; e = 2.7/2.8 − 1 = −1/28; n = 120 % gives e = −6;
// ρsat = 1.95, Sr = 80 %, ρ = 1.85: e = 0.1/0.1 = 1, ds = 1.95×2 − 1 = 2.9.
const NotedCase kNoted[] = {
    {{{I::ds, 2.7}, {I::e, 0.5}, {I::w, 25}}, {"Sr = 135 % > 100 %：水的体积不能超过孔隙的体积"}},
    {{{I::ds, 2.7}, {I::rho_d, 2.8}, {I::w, 10}}, {"e = -0.0357 ≤ 0：孔隙比必须大于 0"}},
    {{{I::ds, 2.7}, {I::n, 120}, {I::w, 10}},
     {"e = -6.00 ≤ 0：孔隙比必须大于 0", "n = 120 % ≥ 100 %：孔隙不能占满整个土体"}},
    {{{I::rho_sat, 1.95}, {I::Sr, 80}, {I::rho, 1.85}},
     {"ds = 2.90 不在常见的 2.60～2.80 之间，请核对"}},
};

TEST(GivenIndicesTest, ResultsThatCannotBeOneSoilAreNoted) {
    for (const NotedCase& c : kNoted) {
        const GivenWorking r = from_given(c.given);
        EXPECT_EQ(r.refusal, "");
        EXPECT_EQ(r.notes, c.notes);
    }
}

struct PrecisionCase {
    Index index;
    double value;
    const char* text;
};

const PrecisionCase kPrecision[] = {
    {I::rho, 1.85, "1.85"},
    {I::rho, 1.855, "1.86"},  // half up from 1.85500000000000
    {I::rho_prime, -0.6, "-0.60"},
    {I::rho_d, -0.004, "0.00"},
    {I::w, 25, "25.0"},
    {I::w, 0.05, "0.1"},
    {I::e, 0.824324324324324, "0.824"},
    {I::e, -0.6, "-0.600"},
    {I::ds, 2.7, "2.70"},
    {I::gamma_sat, 18.9514666666667, "19.0"},
    {I::e, 9.996, "10.0"},
    {I::Sr, 135, "135"},
    {I::Sr, 1234.5, "1230"},
    {I::n, 0.000123456, "0.000123"},
    {I::e, 0, "0.00"},
};

TEST(ReportPrecisionTest, DensitiesToHundredthsWaterContentToTenthsElseThreeFigures) {
    for (const PrecisionCase& c : kPrecision)
        EXPECT_EQ(report_text(c.index, c.value), c.text) << c.value;
}

}  // namespace
}  // namespace vorlith
