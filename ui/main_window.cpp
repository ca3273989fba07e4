#include "main_window.h"

#include <iterator>
#include <string>

#include "calc/soil_indices.h"
#include "runtime/operations.h"

namespace vorlith {
namespace {

using Kind = ControlRow::Kind;

// clang-format off
constexpr ControlRow kForm1[] = {
    // name       kind           text       left  top         width height tooltip, quantity
    {"Label1",  Kind::Caption, "V:",      120,  row_top(1), 375,  255, "土的体积", nullptr},
    {"Text1",   Kind::Input,   "97",      480,  row_top(1), 1335, 270, nullptr, "土的体积"},
    {"Label2",  Kind::Caption, "cm3",     1920, row_top(1), 615,  255, nullptr, nullptr},
    {"Label3",  Kind::Caption, "Vv:",     120,  row_top(2), 375,  255, "土中孔隙的体积", nullptr},
    {"Text2",   Kind::Input,   "7",       480,  row_top(2), 1335, 270, nullptr, "土中孔隙的体积"},
    {"Label4",  Kind::Caption, "cm3",     1920, row_top(2), 615,  255, nullptr, nullptr},
    {"Label5",  Kind::Caption, "Vw:",     120,  row_top(3), 375,  255, "土中水的体积", nullptr},
    {"Text3",   Kind::Input,   "10",      480,  row_top(3), 1335, 270, nullptr, "土中水的体积"},
    {"Label6",  Kind::Caption, "cm3",     1920, row_top(3), 615,  255, nullptr, nullptr},
    {"Label7",  Kind::Caption, "Vs:",     120,  row_top(4), 375,  255, "土中颗粒的体积", nullptr},
    {"Text4",   Kind::Input,   "80",      480,  row_top(4), 1335, 270, nullptr, "土中颗粒的体积"},
    {"Label8",  Kind::Caption, "cm3",     1920, row_top(4), 615,  255, nullptr, nullptr},
    {"Label9",  Kind::Caption, "m:",      120,  row_top(5), 375,  255, "土的总质量", nullptr},
    {"Text5",   Kind::Input,   "202",     480,  row_top(5), 1335, 270, nullptr, "土的总质量"},
    {"Label10", Kind::Caption, "g",       1920, row_top(5), 615,  255, nullptr, nullptr},
    {"Label11", Kind::Caption, "mw:",     120,  row_top(6), 375,  255, "土中水的质量", nullptr},
    {"Text6",   Kind::Input,   "34.7",    480,  row_top(6), 1335, 270, nullptr, "土中水的质量"},
    {"Label12", Kind::Caption, "g",       1920, row_top(6), 615,  255, nullptr, nullptr},
    {"Label13", Kind::Caption, "ms:",     120,  row_top(7), 375,  255, "土中颗粒的质量", nullptr},
    {"Text7",   Kind::Input,   "167.3",   480,  row_top(7), 1335, 270, nullptr, "土中颗粒的质量"},
    {"Label14", Kind::Caption, "g",       1920, row_top(7), 615,  255, nullptr, nullptr},
    {"Command1", Kind::Button, "计算",    2520, 120,        975,  2775, nullptr, nullptr},
    {"Label15", Kind::Caption, "ρ：",     3720, row_top(1), 615,  255, "土的天然密度", nullptr},
    {"Label16", Kind::Result,  "",        4200, row_top(1), 2295, 255, "土的天然密度", "土的天然密度"},
    {"Label17", Kind::Caption, "g/cm3  推荐值 1.6-2.2", 6600, row_top(1), 2295, 255, nullptr, nullptr},
    {"Label18", Kind::Caption, "w：",     3720, row_top(2), 255,  255, "土的含水量", nullptr},
    {"Label19", Kind::Result,  "",        4200, row_top(2), 2295, 255, "土的含水量", "土的含水量"},
    {"Label20", Kind::Caption, "%      推荐值 20-60", 6600, row_top(2), 2415, 255, nullptr, nullptr},
    {"Label21", Kind::Caption, "ds：",    3720, row_top(3), 615,  255, "土粒相对密度", nullptr},
    {"Label22", Kind::Result,  "",        4200, row_top(3), 2295, 255, "土粒相对密度", "土粒相对密度"},
    {"Label23", Kind::Caption, "g/cm3  粘性土2.72-2.75 粉土2.7-2.71 砂土2.65-2.69",
                                          6600, row_top(3), 4695, 255, nullptr, nullptr},
    {"Label24", Kind::Caption, "ρd：",    3720, row_top(4), 615,  255, "土的干密度", nullptr},
    {"Label25", Kind::Result,  "",        4200, row_top(4), 2295, 255, "土的干密度", "土的干密度"},
    {"Label26", Kind::Caption, "g/cm3  推荐值1.3-1.8", 6600, row_top(4), 2295, 255, nullptr, nullptr},
    {"Label27", Kind::Caption, "ρsat：",  3720, row_top(5), 975,  255, "土的饱和密度", nullptr},
    {"Label28", Kind::Result,  "",        4440, row_top(5), 2055, 255, "土的饱和密度", "土的饱和密度"},
    {"Label29", Kind::Caption, "g/cm3",   6600, row_top(5), 615,  255, nullptr, nullptr},
    {"Label30", Kind::Caption, "ρ'：",    3840, row_top(6), 615,  255, "土的有效密度", nullptr},
    {"Label31", Kind::Result,  "",        4440, row_top(6), 2055, 255, "土的有效密度", "土的有效密度"},
    {"Label32", Kind::Caption, "g/cm3",   6600, row_top(6), 615,  255, nullptr, nullptr},
    {"Label33", Kind::Caption, "e：",     3960, row_top(7), 615,  255, "土的孔隙比", nullptr},
    {"Label34", Kind::Result,  "",        4440, row_top(7), 2055, 255, "土的孔隙比", "土的孔隙比"},
    {"Label35", Kind::Caption, "n：",     3840, row_top(8), 615,  255, "土的孔隙率", nullptr},
    {"Label36", Kind::Result,  "",        4440, row_top(8), 2055, 255, "土的孔隙率", "土的孔隙率"},
    {"Label37", Kind::Caption, "%",       6600, row_top(8), 615,  255, nullptr, nullptr},
};
// clang-format on

static_assert(on_pixel_grid(kForm1, kClientWidth, kClientHeight));
static_assert(std::size(kForm1) == 45);

// The result fields in index order (j = 1..8).
constexpr const char* kResults[] = {"Label16", "Label19", "Label22", "Label25",
                                    "Label28", "Label31", "Label34", "Label36"};
static_assert(std::size(kResults) == kResultCount);

}  // namespace

std::span<const ControlRow> form1_layout() {
    return kForm1;
}

namespace {
void (*g_follower)(const std::array<std::u16string, kInputCount>&) = nullptr;
}  // namespace

void follow_calculate(void (*follower)(const std::array<std::u16string, kInputCount>& texts)) {
    g_follower = follower;
}

void Command1_Click() {
    const auto texts = box_texts();
    const auto error =
        compute_indices([&texts](int k) { return texts[k - 1]; },
                        [](int j, const std::string& text) { set_caption(kResults[j - 1], text); });
    if (g_follower) g_follower(texts);  // before the error, if any, is reported
    if (error) throw *error;            // unhandled: the run-time reports it
}

std::array<std::u16string, kInputCount> box_texts() {
    std::array<std::u16string, kInputCount> texts;
    for (int k = 0; k < kInputCount; ++k) texts[k] = text_of(kBoxNames[k]);
    return texts;
}

}  // namespace vorlith
