#include "cli/results.h"

namespace vorlith::cli {
namespace {

std::string without_blank(const std::string& text) {
    return !text.empty() && text.front() == ' ' ? text.substr(1) : text;
}

// The columns a text takes in a terminal, Greek letters and ASCII one each.
std::size_t columns(std::string_view utf8) {
    std::size_t count = 0;
    for (const char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

// 土的天然密度 ρ（g/cm3）
//   ρ = m/V
//     = 202/97
//     = 2.08247422680412 g/cm3
void write_index(const IndexWorking& index, Output& out) {
    out.line(index.name + " " + index.symbol +
             (index.unit.empty() ? "" : "（" + index.unit + "）"));
    out.line("  " + index.formula);
    const std::string unit = index.unit.empty() ? "" : " " + index.unit;
    const std::string indent(2 + columns(index.symbol) + 1, ' ');
    if (!index.substituted.empty()) out.line(indent + "= " + index.substituted);
    out.line(indent + (index.result.empty() ? "无法计算：" + index.reason
                                            : "= " + without_blank(index.result) + unit));
}

}  // namespace

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

std::string error_text(const RuntimeError& error) {
    return "实时错误 '" + std::to_string(error.number) + "': " + error.description;
}

void write_results(const Shown& shown, Output& out) {
    for (int i = 0; i < kIndexCount; ++i)
        out.line(std::string(kSymbols[i]) + "\t" + shown.texts[i]);
}

void write_working(const PhaseWorking& working, Output& out) {
    out.line("已知：" + working.given);
    for (const IndexWorking& index : working.indices) write_index(index, out);
    if (working.notes.empty()) return;
    out.line("说明：");
    for (const DataNote& note : working.notes) out.line("  " + note.text);
}

}  // namespace vorlith::cli
