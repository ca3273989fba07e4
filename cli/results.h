#pragma once

#include <array>
#include <string>

#include "calc/phase_relations.h"
#include "cli/output.h"

namespace vorlith::cli {

// The thirteen result texts as Form1 leaves its fields: Str of each index up
// to the one where Form1 stops with an error, empty from there on (all of
// them when a box could not be read).
std::array<std::string, kIndexCount> shown_results(const PhaseWorking& working);

// "实时错误 '11': 除数为零", as the run-time's report words it.
std::string error_text(const RuntimeError& error);

// One line per index: its symbol, a tab and its text.
void write_results(const PhaseWorking& working, Output& out);

// The working in Chinese: per index its name, its formula, the formula with
// the numbers put in, and the result or why there is none; then the notes.
void write_working(const PhaseWorking& working, Output& out);

}  // namespace vorlith::cli
