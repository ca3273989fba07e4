#include "form_lab.h"

#include <array>
#include <optional>
#include <string>

#include "calc/numeric_text.h"
#include "calc/phase_relations.h"
#include "calc/record_sheet.h"
#include "runtime/operations.h"
#include "ui/form1_boxes.h"
#include "ui/layout.h"

namespace vorlith {
namespace {

using Kind = ControlRow::Kind;

// Two columns of boxes, one per determination (symbol, box, unit), beside
// the sheet's view; 打印… and 复制 under the boxes, the others under the
// view.
constexpr int kFirst = 120;    // the first determination's column
constexpr int kSecond = 2520;  // the second's
constexpr int kBox = 480;      // from a column's symbol to its box
constexpr int kUnit = 1740;    // from a column's symbol to its unit

// clang-format off
constexpr ControlRow kControls[] = {
    // name           kind                text                   left              top          width  height  tooltip         quantity
    {"LabDensity",  Kind::Caption,      "密度试验（环刀法）",   kFirst,           row_top(1),  4620,  255,    nullptr,        nullptr},
    {"LabRing1",    Kind::Caption,      "环刀 1",               kFirst,           row_top(2),  2220,  255,    nullptr,        nullptr},
    {"LabSymbol1",  Kind::Caption,      "m0:",                  kFirst,           row_top(3),  480,   255,    "环刀质量",     nullptr},
    {"LabText1",    Kind::Input,        "",                     kFirst + kBox,    row_top(3),  1200,  270,    nullptr,        "环刀 1 质量"},
    {"LabUnit1",    Kind::Caption,      "g",                    kFirst + kUnit,   row_top(3),  480,   255,    nullptr,        nullptr},
    {"LabSymbol2",  Kind::Caption,      "m1:",                  kFirst,           row_top(4),  480,   255,    "环刀加土质量", nullptr},
    {"LabText2",    Kind::Input,        "",                     kFirst + kBox,    row_top(4),  1200,  270,    nullptr,        "环刀 1 加土质量"},
    {"LabUnit2",    Kind::Caption,      "g",                    kFirst + kUnit,   row_top(4),  480,   255,    nullptr,        nullptr},
    {"LabSymbol3",  Kind::Caption,      "V:",                   kFirst,           row_top(5),  480,   255,    "环刀容积",     nullptr},
    {"LabText3",    Kind::Input,        "",                     kFirst + kBox,    row_top(5),  1200,  270,    nullptr,        "环刀 1 容积"},
    {"LabUnit3",    Kind::Caption,      "cm3",                  kFirst + kUnit,   row_top(5),  480,   255,    nullptr,        nullptr},
    {"LabRing2",    Kind::Caption,      "环刀 2",               kSecond,          row_top(2),  2220,  255,    nullptr,        nullptr},
    {"LabSymbol4",  Kind::Caption,      "m0:",                  kSecond,          row_top(3),  480,   255,    "环刀质量",     nullptr},
    {"LabText4",    Kind::Input,        "",                     kSecond + kBox,   row_top(3),  1200,  270,    nullptr,        "环刀 2 质量"},
    {"LabUnit4",    Kind::Caption,      "g",                    kSecond + kUnit,  row_top(3),  480,   255,    nullptr,        nullptr},
    {"LabSymbol5",  Kind::Caption,      "m1:",                  kSecond,          row_top(4),  480,   255,    "环刀加土质量", nullptr},
    {"LabText5",    Kind::Input,        "",                     kSecond + kBox,   row_top(4),  1200,  270,    nullptr,        "环刀 2 加土质量"},
    {"LabUnit5",    Kind::Caption,      "g",                    kSecond + kUnit,  row_top(4),  480,   255,    nullptr,        nullptr},
    {"LabSymbol6",  Kind::Caption,      "V:",                   kSecond,          row_top(5),  480,   255,    "环刀容积",     nullptr},
    {"LabText6",    Kind::Input,        "",                     kSecond + kBox,   row_top(5),  1200,  270,    nullptr,        "环刀 2 容积"},
    {"LabUnit6",    Kind::Caption,      "cm3",                  kSecond + kUnit,  row_top(5),  480,   255,    nullptr,        nullptr},
    {"LabWater",    Kind::Caption,      "含水率试验（烘干法）", kFirst,           row_top(6),  4620,  255,    nullptr,        nullptr},
    {"LabTin1",     Kind::Caption,      "称量盒 1",             kFirst,           row_top(7),  2220,  255,    nullptr,        nullptr},
    {"LabSymbol7",  Kind::Caption,      "m0:",                  kFirst,           row_top(8),  480,   255,    "盒质量",       nullptr},
    {"LabText7",    Kind::Input,        "",                     kFirst + kBox,    row_top(8),  1200,  270,    nullptr,        "称量盒 1 质量"},
    {"LabUnit7",    Kind::Caption,      "g",                    kFirst + kUnit,   row_top(8),  480,   255,    nullptr,        nullptr},
    {"LabSymbol8",  Kind::Caption,      "m1:",                  kFirst,           row_top(9),  480,   255,    "盒加湿土质量", nullptr},
    {"LabText8",    Kind::Input,        "",                     kFirst + kBox,    row_top(9),  1200,  270,    nullptr,        "称量盒 1 加湿土质量"},
    {"LabUnit8",    Kind::Caption,      "g",                    kFirst + kUnit,   row_top(9),  480,   255,    nullptr,        nullptr},
    {"LabSymbol9",  Kind::Caption,      "m2:",                  kFirst,           row_top(10), 480,   255,    "盒加干土质量", nullptr},
    {"LabText9",    Kind::Input,        "",                     kFirst + kBox,    row_top(10), 1200,  270,    nullptr,        "称量盒 1 加干土质量"},
    {"LabUnit9",    Kind::Caption,      "g",                    kFirst + kUnit,   row_top(10), 480,   255,    nullptr,        nullptr},
    {"LabTin2",     Kind::Caption,      "称量盒 2",             kSecond,          row_top(7),  2220,  255,    nullptr,        nullptr},
    {"LabSymbol10", Kind::Caption,      "m0:",                  kSecond,          row_top(8),  480,   255,    "盒质量",       nullptr},
    {"LabText10",   Kind::Input,        "",                     kSecond + kBox,   row_top(8),  1200,  270,    nullptr,        "称量盒 2 质量"},
    {"LabUnit10",   Kind::Caption,      "g",                    kSecond + kUnit,  row_top(8),  480,   255,    nullptr,        nullptr},
    {"LabSymbol11", Kind::Caption,      "m1:",                  kSecond,          row_top(9),  480,   255,    "盒加湿土质量", nullptr},
    {"LabText11",   Kind::Input,        "",                     kSecond + kBox,   row_top(9),  1200,  270,    nullptr,        "称量盒 2 加湿土质量"},
    {"LabUnit11",   Kind::Caption,      "g",                    kSecond + kUnit,  row_top(9),  480,   255,    nullptr,        nullptr},
    {"LabSymbol12", Kind::Caption,      "m2:",                  kSecond,          row_top(10), 480,   255,    "盒加干土质量", nullptr},
    {"LabText12",   Kind::Input,        "",                     kSecond + kBox,   row_top(10), 1200,  270,    nullptr,        "称量盒 2 加干土质量"},
    {"LabUnit12",   Kind::Caption,      "g",                    kSecond + kUnit,  row_top(10), 480,   255,    nullptr,        nullptr},
    {"LabSymbol13", Kind::Caption,      "ds:",                  kFirst,           row_top(11), 480,   255,    "土粒比重",     nullptr},
    {"LabText13",   Kind::Input,        "",                     kFirst + kBox,    row_top(11), 1200,  270,    nullptr,        "土粒比重"},
    {"LabSheet",    Kind::TextView,     "",                     4920,             row_top(1),  5400,  3870,   nullptr,        "试验记录"},
    {"LabPrint",    Kind::Button,       "打印…",                kFirst,           row_top(12), 1200,  360,    nullptr,        nullptr},
    {"LabCopy",     Kind::Button,       "复制",                 kFirst + 1320,    row_top(12), 1200,  360,    nullptr,        nullptr},
    {"LabCalc",     Kind::Button,       "计算",                 6480,             row_top(12), 1200,  360,    nullptr,        nullptr},
    {"LabFill",     Kind::DefaultButton, "填入",                7800,             row_top(12), 1200,  360,    nullptr,        nullptr},
    {"LabCancel",   Kind::CancelButton, "取消",                 9120,             row_top(12), 1200,  360,    nullptr,        nullptr},
};
// clang-format on

// Each determination's boxes in the sheet's order: a ring's m0, m1, V, a
// tin's m0, m1, m2.
using Boxes = std::array<const char*, 3>;
constexpr Boxes kRings[] = {{"LabText1", "LabText2", "LabText3"},
                            {"LabText4", "LabText5", "LabText6"}};
constexpr Boxes kTins[] = {{"LabText7", "LabText8", "LabText9"},
                           {"LabText10", "LabText11", "LabText12"}};
constexpr const char* kDsBox = "LabText13";

bool blank(const std::u16string& text) {
    return text.find_first_not_of(u' ') == std::u16string::npos;
}

// Val of a determination's three boxes, or nothing for a second one left
// blank: the first is always read, so that blank boxes there read as 0 and
// a ring of volume 0 is reported.
std::optional<std::array<double, 3>> determination(const Boxes& boxes, bool first) {
    const std::array<std::u16string, 3> texts = {text_of(boxes[0]), text_of(boxes[1]),
                                                 text_of(boxes[2])};
    if (!first && blank(texts[0]) && blank(texts[1]) && blank(texts[2])) return std::nullopt;
    return std::array<double, 3>{Val(texts[0]), Val(texts[1]), Val(texts[2])};
}

RecordSheet typed_sheet() {
    RecordSheet sheet;
    for (std::size_t k = 0; k < std::size(kRings); ++k) {
        if (const auto r = determination(kRings[k], k == 0))
            sheet.rings.push_back({(*r)[0], (*r)[1], (*r)[2]});
    }
    for (std::size_t k = 0; k < std::size(kTins); ++k) {
        if (const auto t = determination(kTins[k], k == 0))
            sheet.tins.push_back({(*t)[0], (*t)[1], (*t)[2]});
    }
    sheet.ds = Val(text_of(kDsBox));
    return sheet;
}

struct ShownSheet {
    SheetWorking working;
    std::string text;
};

// The sheet as typed, worked out and shown in its view; a ring of volume 0
// or a tin without dry soil raises 11 (6 for 0/0) before the view changes.
ShownSheet show_sheet() {
    const RecordSheet sheet = typed_sheet();
    ShownSheet shown{work_sheet(sheet), {}};
    shown.text = sheet_text(sheet, shown.working);
    set_text("LabSheet", shown.text);
    return shown;
}

}  // namespace

constexpr FormDescription kLabForm = {.name = "FormLab",
                                      .caption = "由试验数据填入",
                                      .client_width = kLabWidth,
                                      .client_height = kLabHeight,
                                      .controls = kControls,
                                      .menus = {},
                                      .icon = nullptr};
static_assert(fits(kLabForm));

void LAB_Click() {
    Show("FormLab", Modal::Yes);
}

void LabCalc_Click() {
    show_sheet();
}

// Two determinations further apart than the standard allows give no mean a
// lab teacher would sign: the student is told why (the sheet's notes), the
// boxes keep their texts and the form stays, to repeat the determination.
// Then as Form1's other ways in, the seven quantities with the guarded
// arithmetic: ds = 0 raises 11 and the form stays for the student to mend it.
void LabFill_Click() {
    const SheetWorking working = show_sheet().working;
    if (working.density.over_limit() || working.water.over_limit()) {
        std::string message;
        for (const DataNote& note : working.notes) {
            if (!message.empty()) message += '\n';
            message += note.text;
        }
        MsgBox(message);
        return;
    }
    const std::array<std::string, kInputCount> texts = sample_texts(from_lab(working.lab));
    for (int k = 0; k < kInputCount; ++k) set_text(kBoxNames[k], texts[k]);
    Hide("FormLab");
}

// The sheet worked out anew, so that what is printed or copied right after
// typing is the sheet of the boxes' values.
void LabPrint_Click() {
    print_text(kLabForm.caption, show_sheet().text);
}

void LabCopy_Click() {
    copy_text(show_sheet().text);
}

void LabCancel_Click() {
    Hide("FormLab");
}

}  // namespace vorlith
