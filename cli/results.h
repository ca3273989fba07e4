#pragma once

#include <array>
#include <optional>
#include <string>

#include "calc/phase_relations.h"
#include "cli/output.h"

namespace vorlith::cli {

// What Form1 leaves in its fields for these texts, and the error its 计算
// raises: the eight by compute_indices itself (up to the failing index, empty
// from there on), then Sr and the unit weights from the working, empty when
// Form1 raised an error.
struct Shown {
    std::array<std::string, kIndexCount> texts;
    std::optional<RuntimeError> error;
};
Shown form1_results(const std::array<std::u16string, kInputCount>& texts,
                    const PhaseWorking& working);

// One line per index: its symbol, a tab and its text.
void write_results(const Shown& shown, Output& out);

// The working (working_text), line by line.
void write_working(const PhaseWorking& working, Output& out);

}  // namespace vorlith::cli
