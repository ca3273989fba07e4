#include "program.h"

#include <algorithm>
#include <array>

#include "ui/form_given.h"
#include "ui/form_lab.h"
#include "ui/form_state.h"
#include "ui/main_window.h"
#include "ui/menus.h"
#include "ui/other_forms.h"

namespace vorlith {
namespace {

// Form1's own handlers come first, so that Form1 alone has the same click
// numbers as the whole program.
constexpr ClickHandler kForm1Clicks[] = {
    {"Command1", Command1_Click},
    {"EXIT", EXIT_Click},
    {"SOFT", SOFT_Click},
    {"WRITER", WRITER_Click},
};

// The handlers of 工具 and of its windows.
// clang-format off
constexpr ClickHandler kToolClicks[] = {
    {"WORKING", WORKING_Click},
    {"LAB", LAB_Click},
    {"Gravity981", Gravity_Click},
    {"Gravity98", Gravity_Click},
    {"Gravity10", Gravity_Click},
    {"WorkingPrint", WorkingPrint_Click},
    {"WorkingCopy", WorkingCopy_Click},
    {"WorkingClose", WorkingClose_Click},
    {"LabCalc", LabCalc_Click},
    {"LabFill", LabFill_Click},
    {"LabPrint", LabPrint_Click},
    {"LabCopy", LabCopy_Click},
    {"LabCancel", LabCancel_Click},
    {"GIVEN", GIVEN_Click},
    {"GivenConvert", GivenConvert_Click},
    {"GivenFill", GivenFill_Click},
    {"GivenPrint", GivenPrint_Click},
    {"GivenCopy", GivenCopy_Click},
    {"GivenClose", GivenClose_Click},
    {"STATE", STATE_Click},
    {"StateWork", StateWork_Click},
    {"StatePrint", StatePrint_Click},
    {"StateCopy", StateCopy_Click},
    {"StateClose", StateClose_Click},
};
// clang-format on

constexpr auto kClicks = [] {
    std::array<ClickHandler, std::size(kForm1Clicks) + std::size(kToolClicks)> all{};
    // Emscripten's library has no ranges algorithms.
    std::copy(std::begin(kToolClicks), std::end(kToolClicks),
              std::copy(std::begin(kForm1Clicks), std::end(kForm1Clicks), all.begin()));
    return all;
}();

FormDescription form1() {
    return {.name = "Form1",
            .caption = nullptr,
            .client_width = kClientWidth,
            .client_height = kClientHeight,
            .controls = form1_layout(),
            .menus = form1_menus(),
            .icon = "vorlith"};
}

}  // namespace

// Form1 alone differs from the whole program only in its clicks and forms.
const ProgramDescription& form1_program() {
    static const ProgramDescription program{
        .title = "Vorlith", .form = form1(), .clicks = kClicks, .other_forms = other_forms()};
    return program;
}

const ProgramDescription& form1_alone() {
    static const ProgramDescription program{
        .title = "Vorlith", .form = form1(), .clicks = kForm1Clicks, .other_forms = {}};
    return program;
}

}  // namespace vorlith
