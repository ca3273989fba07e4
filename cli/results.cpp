#include "cli/results.h"

namespace vorlith::cli {
Shown form1_results(const std::array<std::u16string, kInputCount>& texts,
                    const PhaseWorking& working) {
    Shown shown;
    shown.error =
        compute_indices([&](int k) { return texts[k - 1]; },
                        [&](int j, const std::string& text) { shown.texts[j - 1] = text; });
    if (shown.error) return shown;
    for (int i = kResultCount; i < kIndexCount; ++i) shown.texts[i] = working.indices[i].result;
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
