#pragma once

#include <cstdint>

#include "calc/phase_relations.h"
#include "cli/output.h"

namespace vorlith::cli {

// vorlith-calc --exercises N [--seed S]: N homework problems, each three
// known indices of a plausible soil (ds 2.60–2.80, 0 < Sr ≤ 100 %, e > 0)
// written at report precision, and the other ten as answers. As CSV:
//   题号,已知,ρ,w,ds,ρd,ρsat,ρ',e,n,Sr,γ,γd,γsat,γ'
// 已知 holds the three known symbols, separated by blanks. With `working`,
// each problem in words (已知……，求……) followed by its working instead.
// The CSV starts with a UTF-8 byte order mark where `bom`, as --csv's does.
// The same seed gives the same bytes everywhere: the soils are drawn with
// splitmix64 and integer arithmetic, never with a library's distributions.
void write_exercises(int count, std::uint64_t seed, Gravity g, bool working, bool bom, Output& out);

}  // namespace vorlith::cli
