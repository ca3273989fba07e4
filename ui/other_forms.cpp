#include "other_forms.h"

#include <array>
#include <string>

#include "calc/phase_relations.h"
#include "runtime/operations.h"
#include "ui/form1_boxes.h"
#include "ui/form_given.h"
#include "ui/form_lab.h"
#include "ui/form_state.h"
#include "ui/layout.h"
#include "ui/main_window.h"
#include "ui/phase_diagram.h"

namespace vorlith {
namespace {

using Kind = ControlRow::Kind;

constexpr int kDiagramWidth = 3240;
constexpr int kDiagramHeight = 4200;

// clang-format off
constexpr ControlRow kFormWorking[] = {
    // name          kind               text              left  top   width         height          tooltip, quantity
    {"WorkingText",  Kind::TextView,    "",               120,  120,  5400,         5640,           nullptr, "计算过程"},
    {"Diagram",      Kind::Drawing,     "",               5640, 120,  kDiagramWidth, kDiagramHeight, nullptr, "三相图"},
    {"Gravity981",   Kind::Option,      "g = 9.81 m/s²",  5640, 4440, 1560,         300,            nullptr, nullptr},
    {"Gravity98",    Kind::Option,      "g = 9.8 m/s²",   5640, 4800, 1560,         300,            nullptr, nullptr},
    {"Gravity10",    Kind::Option,      "g = 10 m/s²",    5640, 5160, 1560,         300,            nullptr, nullptr},
    {"WorkingPrint", Kind::Button,      "打印…",          7680, 4440, 1200,         360,            nullptr, nullptr},
    {"WorkingCopy",  Kind::Button,      "复制",           7680, 4920, 1200,         360,            nullptr, nullptr},
    {"WorkingClose", Kind::CancelButton, "关闭",          7680, 5400, 1200,         360,            nullptr, nullptr},
};
// clang-format on

constexpr FormDescription kWorkingForm = {.name = "FormWorking",
                                          .caption = "计算过程",
                                          .client_width = kWorkingWidth,
                                          .client_height = kWorkingHeight,
                                          .controls = kFormWorking,
                                          .menus = {},
                                          .icon = nullptr};
static_assert(fits(kWorkingForm));

const FormDescription kForms[] = {
    kWorkingForm,
    kLabForm,
    kGivenForm,
    kStateForm,
};

static_assert(fits(kGivenForm));

// What WorkingText shows, for 打印… and 复制.
std::string& shown_working() {
    static std::string text;
    return text;
}

Gravity chosen_gravity() {
    if (Value("Gravity98")) return Gravity::NineEight;
    return Value("Gravity10") ? Gravity::Ten : Gravity::Standard;
}

}  // namespace

std::span<const FormDescription> other_forms() {
    return kForms;
}

void fill_working(const std::array<std::u16string, kInputCount>& texts) {
    const PhaseWorking working = work_out(texts, chosen_gravity());
    shown_working() = working_text(working);
    set_text("WorkingText", shown_working());
    const PhaseDiagram diagram = phase_diagram(working.sample, kDiagramWidth, kDiagramHeight);
    set_drawing("Diagram", diagram.shapes, diagram.alternative);
}

void WORKING_Click() {
    follow_calculate([](const std::array<std::u16string, kInputCount>& texts) {
        if (Visible("FormWorking")) fill_working(texts);
    });
    fill_working(box_texts());
    Show("FormWorking", Modal::No);
}

void Gravity_Click() {
    fill_working(box_texts());
}

void WorkingPrint_Click() {
    print_text("计算过程", shown_working());
}

void WorkingCopy_Click() {
    copy_text(shown_working());
}

void WorkingClose_Click() {
    Hide("FormWorking");
}

}  // namespace vorlith
