#pragma once

#include <array>
#include <optional>
#include <string>

#include "calc/phase_relations.h"
#include "cli/output.h"

namespace vorlith::cli {

// What Form1 leaves in its fields for the working's texts, and the error its
// 计算 raises: the eight up to the failing index, empty from there on, then
// Sr and the unit weights, empty when Form1 raised an error.
struct Shown {
    std::array<std::string, kIndexCount> texts;
    std::optional<RuntimeError> error;
};
Shown form1_results(const PhaseWorking& working);

// One line per index: its symbol, a tab and its text.
void write_results(const Shown& shown, Output& out);

// The working (working_text), line by line.
void write_working(const PhaseWorking& working, Output& out);

}  // namespace vorlith::cli
