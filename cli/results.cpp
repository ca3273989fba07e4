#include "cli/results.h"

namespace vorlith::cli {
Shown form1_results(const PhaseWorking& working) {
    Shown shown{{}, working.form1_error};
    const int filled = shown.error ? working.form1_filled : kIndexCount;
    for (int i = 0; i < filled; ++i) shown.texts[i] = working.indices[i].result;
    return shown;
}

void write_results(const Shown& shown, Output& out) {
    for (int i = 0; i < kIndexCount; ++i)
        out.line(std::string(kIndexSymbols[i]) + "\t" + shown.texts[i]);
}

void write_working(const PhaseWorking& working, Output& out) {
    const std::string text = working_text(working);
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        out.line(std::string_view(text).substr(at, end - at));
        at = end + 1;
    }
}

}  // namespace vorlith::cli
