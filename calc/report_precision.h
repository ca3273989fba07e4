#pragma once

// The precision a result is reported to, as a lab report or a homework
// answer writes it: densities to 0.01 g/cm³ and the water content to 0.1 %,
// as GB/T 50123 asks of its tests, every other index to three significant
// figures. Always a zero before the point ("0.74", "-0.6"), unlike Str.

#include <string>

#include "calc/phase_relations.h"

namespace vorlith {

// `value` of `index` (w, n and Sr in %) at its report precision. Rounded
// half away from zero from the 15 significant digits that Str shows, as a
// person rounds the number a calculator shows: 0.8245 gives "0.825" even
// though the double nearest 0.8245 lies below it. A value that would need
// more than 15 digits before the point, or more than 15 zeros after it for
// three significant figures, is written as plain writes it ("1E-20").
std::string report_text(Index index, double value);

// The working's results at report precision, for what goes on paper, one
// line each as the working aligns them: "结果（按报告精度）：\n" then
// "  ρ\t= 1.90 g/cm³\n" …; an index without a result is left out.
std::string report_results_text(const PhaseWorking& working);

}  // namespace vorlith
