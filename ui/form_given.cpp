#include "form_given.h"

#include <array>
#include <iterator>
#include <string>
#include <vector>

#include "calc/given_indices.h"
#include "calc/numeric_text.h"
#include "calc/phase_relations.h"
#include "calc/report_precision.h"
#include "runtime/operations.h"
#include "ui/form1_boxes.h"
#include "ui/other_forms.h"

namespace vorlith {
namespace {

// The boxes in Index order.
constexpr const char* kGivenBoxes[] = {"GivenText1", "GivenText2",  "GivenText3",  "GivenText4",
                                       "GivenText5", "GivenText6",  "GivenText7",  "GivenText8",
                                       "GivenText9", "GivenText10", "GivenText11", "GivenText12",
                                       "GivenText13"};
static_assert(std::size(kGivenBoxes) == kIndexCount);

// Each index's unit as its row shows it, in Index order.
constexpr const char* kUnits[] = {"g/cm³", "%", "",      "g/cm³", "g/cm³", "g/cm³", "",
                                  "%",     "%", "kN/m³", "kN/m³", "kN/m³", "kN/m³"};
static_assert(std::size(kUnits) == kIndexCount);

bool blank(const std::u16string& text) {
    return text.find_first_not_of(u" \t") == std::u16string::npos;
}

// Every box that holds more than blanks is a known value, read with Val.
std::vector<GivenValue> typed_values() {
    std::vector<GivenValue> given;
    for (int i = 0; i < kIndexCount; ++i) {
        const std::u16string text = text_of(kGivenBoxes[i]);
        if (!blank(text)) given.push_back({static_cast<Index>(i), Val(text)});
    }
    return given;
}

// The thirteen at report precision, the known ones marked, then the
// working; or why the known values give no soil.
std::string results_text(const std::vector<GivenValue>& given, const GivenWorking& r) {
    if (!r.refusal.empty()) return r.refusal + "\n";
    std::string text;
    for (int i = 0; i < kIndexCount; ++i) {
        const auto index = static_cast<Index>(i);
        text += std::string(kIndexSymbols[i]) + " = " + report_text(index, r.values[i]);
        if (*kUnits[i] != '\0') text += std::string(" ") + kUnits[i];
        for (const GivenValue& v : given)
            if (v.index == index) text += "（已知）";
        text += "\n";
    }
    return text + "\n" + r.working;
}

// What GivenResults shows, for 打印… and 复制.
std::string& shown_results() {
    static std::string text;
    return text;
}

// Converts what the boxes hold and shows it; the conversion, refused or not.
GivenWorking convert() {
    const std::vector<GivenValue> given = typed_values();
    GivenWorking r = from_given(given);
    shown_results() = results_text(given, r);
    set_text("GivenResults", shown_results());
    return r;
}

}  // namespace

void GIVEN_Click() {
    Show("FormGiven", Modal::No);
}

void GivenConvert_Click() {
    convert();
}

void GivenPrint_Click() {
    print_text(kGivenForm.caption, shown_results());
}

void GivenCopy_Click() {
    copy_text(shown_results());
}

// Converts anew, so that Form1 gets the soil of what the boxes hold now, and
// writes its seven quantities as the lab's 填入 does. A refused set leaves
// Form1 as it was and the window open with the reason.
void GivenFill_Click() {
    const GivenWorking r = convert();
    if (!r.refusal.empty()) return;
    const std::array<std::string, kInputCount> texts = sample_texts(r.sample);
    for (int k = 0; k < kInputCount; ++k) set_text(kBoxNames[k], texts[k]);
    if (Visible("FormWorking")) fill_working(box_texts());
    Hide("FormGiven");
}

void GivenClose_Click() {
    Hide("FormGiven");
}

}  // namespace vorlith
