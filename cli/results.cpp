#include "cli/results.h"

namespace vorlith::cli {
namespace {

// Where Form1 stops: the first of its eight indices that raises an error, or
// 0 when reading a box already did.
int failing_index(const PhaseWorking& working) {
    if (working.read_error) return 0;
    for (int j = 0; j < kResultCount; ++j) {
        if (working.indices[j].error) return j;
    }
    return 0;
}

std::string without_blank(const std::string& text) {
    return !text.empty() && text.front() == ' ' ? text.substr(1) : text;
}

}  // namespace

std::array<std::string, kIndexCount> shown_results(const PhaseWorking& working) {
    std::array<std::string, kIndexCount> texts;
    const int shown = working.form1_error ? failing_index(working) : kIndexCount;
    for (int j = 0; j < shown; ++j) texts[j] = working.indices[j].result;
    return texts;
}

std::string error_text(const RuntimeError& error) {
    return "实时错误 '" + std::to_string(error.number) + "': " + error.description;
}

void write_results(const PhaseWorking& working, Output& out) {
    const auto texts = shown_results(working);
    for (int j = 0; j < kIndexCount; ++j) out.line(working.indices[j].symbol + "\t" + texts[j]);
}

void write_working(const PhaseWorking& working, Output& out) {
    for (const IndexWorking& index : working.indices) {
        const std::string unit = index.unit.empty() ? "" : " " + index.unit;
        out.line(index.symbol + "  " + index.name +
                 (index.unit.empty() ? "" : "（" + index.unit + "）"));
        out.line("    公式：" + index.formula);
        out.line("    代入：" + index.substituted);
        if (!index.result.empty()) {
            out.line("    结果：" + without_blank(index.result) + unit);
        } else {
            out.line("    无法计算：" + index.reason);
        }
    }
    if (working.notes.empty()) return;
    out.line("说明：");
    for (const DataNote& note : working.notes) out.line("    " + note.text);
}

}  // namespace vorlith::cli
