#pragma once

// The formulas that take the known indices down to ds, e and w, and every
// index up from them: tables that calc/given_indices.cpp reads, one row a
// formula, in the textbook's notation, with the numbers put in by pattern.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "calc/phase_relations.h"

namespace vorlith::given {

// The numbers known so far, by symbol; w, n and Sr as fractions, as the
// formulas take them.
using Named = std::vector<std::pair<std::string, double>>;

std::optional<double> lookup(const Named& named, std::string_view name);
double at(const Named& named, std::string_view name);  // one that is known

// One step from known numbers to an unknown one. `sketch` names the
// relations of the three-phase sketch (Vs = 1 cm³) that the formula solves
// when textbooks give no formula for it.
struct Step {
    Index target;
    std::array<const char*, 3> needs;
    const char* formula;
    const char* pattern;
    double (*value)(const Named&);
    const char* sketch;
};

// Tried in this order, the first that applies each time: a known unit
// weight, n or ρ' first becomes its density or e, then the textbook's
// formulas, then the sketch's.
extern const std::vector<Step> kSteps;

// One index's formula in ds, e, w and the indices before it.
struct ResultRow {
    const char* formula;
    const char* pattern;
    double (*value)(const Named&);
};

// Each index from ds, e and w (and the indices before it), in Index order;
// empty rows for ds, e and w themselves.
extern const std::array<ResultRow, kIndexCount> kResults;

}  // namespace vorlith::given
