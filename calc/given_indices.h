#pragma once

// The homework problem: three of the thirteen indices are known, find the
// rest. Every index is a function of three numbers, ds, e and w (water at
// ρw = 1 g/cm³): the known ones are reduced to those three, by the
// textbook's conversion formulas where it has one for the set, else by the
// three-phase sketch (Vs = 1 cm³), and the rest follow from them. Plain C++,
// like the rest of calc/: the command line and the tests read the same texts.

#include <array>
#include <string>
#include <vector>

#include "calc/phase_relations.h"
#include "calc/soil_indices.h"

namespace vorlith {

// One known index; w, n and Sr in %.
struct GivenValue {
    Index index;
    double value;
};

struct GivenWorking {
    // Why the known values give no soil, in Chinese; empty when they give
    // one. When it is not empty, nothing below is filled in.
    std::string refusal;
    std::array<double, kIndexCount> values{};  // Index order; the known ones as given
    SoilSample sample;                         // the seven quantities for V = 1 cm³
    std::string method;   // "换算公式法" or "三相草图法（设 Vs = 1 cm³）"
    std::string working;  // in Chinese, one line after another, each ending in '\n'
    // Results that cannot be one soil (Sr over 100 %, n of 100 % or more,
    // e ≤ 0, w < 0) and a ds outside the usual 2.60–2.80, each in Chinese.
    std::vector<std::string> notes;
};

// All thirteen indices from the known ones. Refuses (with `refusal` set) a
// set other than three, a set whose members say the same thing ("e 与 n
// 互相换算，只算一个已知量"), a density, unit weight, ds, e or n that is not
// positive, a w or Sr below 0, and values for which a formula divides by zero.
// Values that cannot be one soil are worked out and noted, never refused.
GivenWorking from_given(const std::vector<GivenValue>& given, Gravity g = Gravity::Standard);

}  // namespace vorlith
