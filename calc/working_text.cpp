// The working as text: what the working window shows and --working prints.
#include <string>

#include "calc/numeric_text.h"
#include "calc/phase_relations.h"

namespace vorlith {
namespace {

// A result as Str wrote it for Form1, as a student writes it by hand: no
// blank in front, a zero before a bare point (" .9" → "0.9", "-.6" → "-0.6").
std::string by_hand(std::string text) {
    if (!text.empty() && text[0] == ' ') text.erase(0, 1);
    const std::size_t digits = !text.empty() && text[0] == '-' ? 1 : 0;
    if (digits < text.size() && text[digits] == '.') text.insert(digits, 1, '0');
    return text;
}

// A number put into a formula: a negative one in brackets.
std::string term(double value) {
    std::string text = written(value);
    if (value < 0)
        text = std::string("(").append(text).append(")");  // not "(" + …: GCC 12's -Wrestrict
    return text;
}

// 已知：
//   V = 97 cm³，Vv = 7 cm³，Vw = 10 cm³，Vs = 80 cm³
//   m = 202 g，mw = 34.7 g，ms = 167.3 g
//   ρw = 1 g/cm³，g = 9.81 m/s²
void append_given(const PhaseWorking& working, std::string& text) {
    // The seven boxes on two lines, volumes then masses; a lab's four on one.
    const std::size_t first_line = working.lab ? working.data.size() : 4;
    text += "已知：\n";
    for (std::size_t i = 0; i < working.data.size(); ++i) {
        const bool starts = i == 0 || i == first_line;
        text += (starts ? "  " : "，") + working.data[i];
        if (i + 1 == first_line || i + 1 == working.data.size()) text += "\n";
    }
    text += "  " + working.given + "\n";
}

//   Vs	= ms/(ds·ρw)
// 	= 167.3/(2.09125×1)
// 	= 80 cm³
void append_step(const char* symbol, const char* formula, const std::string& substituted,
                 double value, const char* unit, std::string& text) {
    text += std::string("  ") + symbol + "\t= " + formula + "\n\t= " + substituted +
            "\n\t= " + written(value) + unit + "\n";
}

void append_lab(const LabMeasurements& lab, const SoilSample& s, std::string& text) {
    text += "由试验数据求各相的体积与质量\n";
    append_step("Vs", "ms/(ds·ρw)", term(lab.ms) + "/(" + term(lab.ds) + "×1)", s.Vs, " cm³", text);
    append_step("mw", "m − ms", term(lab.m) + " − " + term(lab.ms), s.mw, " g", text);
    append_step("Vw", "mw/ρw", term(s.mw) + "/1", s.Vw, " cm³", text);
    append_step("Vv", "V − Vs", term(lab.V) + " − " + term(s.Vs), s.Vv, " cm³", text);
}

// 土的天然密度 ρ（g/cm³）
//   ρ	= m/V
// 	= 202/97
// 	= 2.08247422680412 g/cm³
void append_index(const IndexWorking& index, const PhaseWorking& working, std::string& text) {
    text += index.name + " " + index.symbol + (index.unit.empty() ? "" : "（" + index.unit + "）");
    const std::string unit = index.unit.empty() ? "" : " " + index.unit;
    if (working.lab && index.index == Index::ds) {  // measured, not worked out
        text += "\n  ds\t= " + written(working.lab->ds) + "（试验测得）\n";
        return;
    }
    const std::size_t equals = index.formula.find(" = ");
    text +=
        "\n  " + index.formula.substr(0, equals) + "\t" + index.formula.substr(equals + 1) + "\n";
    if (!index.substituted.empty()) text += "\t= " + index.substituted + "\n";
    text += index.result.empty() ? "\t无法计算：" + index.reason + "\n"
                                 : "\t= " + by_hand(index.result) + unit + "\n";
}

}  // namespace

std::string working_text(const PhaseWorking& working) {
    std::string text;
    append_given(working, text);
    if (working.lab) append_lab(*working.lab, working.sample, text);
    for (const IndexWorking& index : working.indices) append_index(index, working, text);
    if (working.notes.empty()) return text;
    text += "数据校核：\n";
    for (const DataNote& note : working.notes) text += "  " + note.text + "\n";
    return text;
}

}  // namespace vorlith
