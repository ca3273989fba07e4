#include "other_forms.h"

#include <array>
#include <iterator>
#include <string>

#include "calc/numeric_text.h"
#include "calc/phase_relations.h"
#include "runtime/operations.h"
#include "ui/form1_boxes.h"
#include "ui/form_state.h"
#include "ui/layout.h"
#include "ui/phase_diagram.h"

namespace vorlith {
namespace {

using Kind = ControlRow::Kind;

constexpr int kDiagramWidth = 3240;
constexpr int kDiagramHeight = 4440;

// clang-format off
constexpr ControlRow kFormWorking[] = {
    // name          kind               text              left  top   width         height          tooltip, quantity
    {"WorkingText",  Kind::TextView,    "",               120,  120,  5400,         5640,           nullptr, "计算过程"},
    {"Diagram",      Kind::Drawing,     "",               5640, 120,  kDiagramWidth, kDiagramHeight, nullptr, "三相图"},
    {"Gravity981",   Kind::Option,      "g = 9.81 m/s²",  5640, 4680, 1560,         300,            nullptr, nullptr},
    {"Gravity10",    Kind::Option,      "g = 10 m/s²",    7320, 4680, 1560,         300,            nullptr, nullptr},
    {"WorkingClose", Kind::CancelButton, "关闭",          7680, 5400, 1200,         360,            nullptr, nullptr},
};

// Four rows like Form1's boxes: symbol, box, unit.
constexpr ControlRow kFormLab[] = {
    {"LabSymbol1", Kind::Caption,       "V:",   120,  row_top(1), 375,  255, "环刀体积", nullptr},
    {"LabText1",   Kind::Input,         "",     480,  row_top(1), 1335, 270, nullptr, "环刀体积"},
    {"LabUnit1",   Kind::Caption,       "cm3",  1920, row_top(1), 615,  255, nullptr, nullptr},
    {"LabSymbol2", Kind::Caption,       "m:",   120,  row_top(2), 375,  255, "湿土质量", nullptr},
    {"LabText2",   Kind::Input,         "",     480,  row_top(2), 1335, 270, nullptr, "湿土质量"},
    {"LabUnit2",   Kind::Caption,       "g",    1920, row_top(2), 615,  255, nullptr, nullptr},
    {"LabSymbol3", Kind::Caption,       "ms:",  120,  row_top(3), 375,  255, "烘干土质量", nullptr},
    {"LabText3",   Kind::Input,         "",     480,  row_top(3), 1335, 270, nullptr, "烘干土质量"},
    {"LabUnit3",   Kind::Caption,       "g",    1920, row_top(3), 615,  255, nullptr, nullptr},
    {"LabSymbol4", Kind::Caption,       "ds:",  120,  row_top(4), 375,  255, "土粒比重", nullptr},
    {"LabText4",   Kind::Input,         "",     480,  row_top(4), 1335, 270, nullptr, "土粒比重"},
    {"LabFill",    Kind::DefaultButton, "填入", 2760, 120,        1200, 360, nullptr, nullptr},
    {"LabCancel",  Kind::CancelButton,  "取消", 2760, 600,        1200, 360, nullptr, nullptr},
};
// clang-format on

constexpr FormDescription kForms[] = {
    {.name = "FormWorking",
     .caption = "计算过程",
     .client_width = kWorkingWidth,
     .client_height = kWorkingHeight,
     .controls = kFormWorking,
     .menus = {},
     .icon = nullptr},
    {.name = "FormLab",
     .caption = "由试验数据填入",
     .client_width = kLabWidth,
     .client_height = kLabHeight,
     .controls = kFormLab,
     .menus = {},
     .icon = nullptr},
    kStateForm,
};

static_assert(fits(kForms[0]) && fits(kForms[1]));

constexpr const char* kLabBoxes[] = {"LabText1", "LabText2", "LabText3", "LabText4"};

}  // namespace

std::span<const FormDescription> other_forms() {
    return kForms;
}

void fill_working(const std::array<std::u16string, kInputCount>& texts) {
    const PhaseWorking working =
        work_out(texts, Value("Gravity10") ? Gravity::Ten : Gravity::Standard);
    set_text("WorkingText", working_text(working));
    const PhaseDiagram diagram = phase_diagram(working.sample, kDiagramWidth, kDiagramHeight);
    set_drawing("Diagram", diagram.shapes, diagram.alternative);
}

void WORKING_Click() {
    fill_working(box_texts());
    Show("FormWorking", Modal::No);
}

void Gravity_Click() {
    fill_working(box_texts());
}

void LAB_Click() {
    Show("FormLab", Modal::Yes);
}

void WorkingClose_Click() {
    Hide("FormWorking");
}

// Val of each box, then the seven quantities with the guarded arithmetic:
// ds = 0 raises 11 and the form stays for the student to mend it.
void LabFill_Click() {
    LabMeasurements lab;
    double* const fields[] = {&lab.V, &lab.m, &lab.ms, &lab.ds};
    for (std::size_t i = 0; i < std::size(kLabBoxes); ++i) *fields[i] = Val(text_of(kLabBoxes[i]));
    const std::array<std::string, kInputCount> texts = sample_texts(from_lab(lab));
    for (int k = 0; k < kInputCount; ++k) set_text(kBoxNames[k], texts[k]);
    Hide("FormLab");
}

void LabCancel_Click() {
    Hide("FormLab");
}

}  // namespace vorlith
