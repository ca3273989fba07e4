#pragma once

#include "runtime/program.h"
#include "ui/layout.h"

namespace vorlith {

// FormGiven's client area in twips.
inline constexpr int kGivenWidth = 9000;
inline constexpr int kGivenHeight = 5520;

// FormGiven (由已知指标换算, modeless): the homework problem in a window. The
// student types three of the thirteen indices; 换算 shows all thirteen at
// report precision with the working, and 填入 writes the soil into Form1's
// boxes for V = 1 cm³.
//
// Thirteen rows like Form1's boxes, in Index order: symbol, box, unit (ds
// and e have none). Then 换算 under the boxes, the results beside them, and
// 打印…, 复制, 填入 and 关闭 under the results.
// clang-format off
inline constexpr ControlRow kFormGiven[] = {
    {"GivenSymbol1",  ControlRow::Kind::Caption, "ρ：",    120,  row_top(1),  975,  255, "土的天然密度", nullptr},
    {"GivenText1",    ControlRow::Kind::Input,   "",       1200, row_top(1),  1335, 270, nullptr, "土的天然密度"},
    {"GivenUnit1",    ControlRow::Kind::Caption, "g/cm³",  2640, row_top(1),  840,  255, nullptr, nullptr},
    {"GivenSymbol2",  ControlRow::Kind::Caption, "w：",    120,  row_top(2),  975,  255, "土的含水量", nullptr},
    {"GivenText2",    ControlRow::Kind::Input,   "",       1200, row_top(2),  1335, 270, nullptr, "土的含水量"},
    {"GivenUnit2",    ControlRow::Kind::Caption, "%",      2640, row_top(2),  840,  255, nullptr, nullptr},
    {"GivenSymbol3",  ControlRow::Kind::Caption, "ds：",   120,  row_top(3),  975,  255, "土粒相对密度", nullptr},
    {"GivenText3",    ControlRow::Kind::Input,   "",       1200, row_top(3),  1335, 270, nullptr, "土粒相对密度"},
    {"GivenSymbol4",  ControlRow::Kind::Caption, "ρd：",   120,  row_top(4),  975,  255, "土的干密度", nullptr},
    {"GivenText4",    ControlRow::Kind::Input,   "",       1200, row_top(4),  1335, 270, nullptr, "土的干密度"},
    {"GivenUnit4",    ControlRow::Kind::Caption, "g/cm³",  2640, row_top(4),  840,  255, nullptr, nullptr},
    {"GivenSymbol5",  ControlRow::Kind::Caption, "ρsat：", 120,  row_top(5),  975,  255, "土的饱和密度", nullptr},
    {"GivenText5",    ControlRow::Kind::Input,   "",       1200, row_top(5),  1335, 270, nullptr, "土的饱和密度"},
    {"GivenUnit5",    ControlRow::Kind::Caption, "g/cm³",  2640, row_top(5),  840,  255, nullptr, nullptr},
    {"GivenSymbol6",  ControlRow::Kind::Caption, "ρ'：",   120,  row_top(6),  975,  255, "土的有效密度", nullptr},
    {"GivenText6",    ControlRow::Kind::Input,   "",       1200, row_top(6),  1335, 270, nullptr, "土的有效密度"},
    {"GivenUnit6",    ControlRow::Kind::Caption, "g/cm³",  2640, row_top(6),  840,  255, nullptr, nullptr},
    {"GivenSymbol7",  ControlRow::Kind::Caption, "e：",    120,  row_top(7),  975,  255, "土的孔隙比", nullptr},
    {"GivenText7",    ControlRow::Kind::Input,   "",       1200, row_top(7),  1335, 270, nullptr, "土的孔隙比"},
    {"GivenSymbol8",  ControlRow::Kind::Caption, "n：",    120,  row_top(8),  975,  255, "土的孔隙率", nullptr},
    {"GivenText8",    ControlRow::Kind::Input,   "",       1200, row_top(8),  1335, 270, nullptr, "土的孔隙率"},
    {"GivenUnit8",    ControlRow::Kind::Caption, "%",      2640, row_top(8),  840,  255, nullptr, nullptr},
    {"GivenSymbol9",  ControlRow::Kind::Caption, "Sr：",   120,  row_top(9),  975,  255, "土的饱和度", nullptr},
    {"GivenText9",    ControlRow::Kind::Input,   "",       1200, row_top(9),  1335, 270, nullptr, "土的饱和度"},
    {"GivenUnit9",    ControlRow::Kind::Caption, "%",      2640, row_top(9),  840,  255, nullptr, nullptr},
    {"GivenSymbol10", ControlRow::Kind::Caption, "γ：",    120,  row_top(10), 975,  255, "土的天然重度", nullptr},
    {"GivenText10",   ControlRow::Kind::Input,   "",       1200, row_top(10), 1335, 270, nullptr, "土的天然重度"},
    {"GivenUnit10",   ControlRow::Kind::Caption, "kN/m³",  2640, row_top(10), 840,  255, nullptr, nullptr},
    {"GivenSymbol11", ControlRow::Kind::Caption, "γd：",   120,  row_top(11), 975,  255, "土的干重度", nullptr},
    {"GivenText11",   ControlRow::Kind::Input,   "",       1200, row_top(11), 1335, 270, nullptr, "土的干重度"},
    {"GivenUnit11",   ControlRow::Kind::Caption, "kN/m³",  2640, row_top(11), 840,  255, nullptr, nullptr},
    {"GivenSymbol12", ControlRow::Kind::Caption, "γsat：", 120,  row_top(12), 975,  255, "土的饱和重度", nullptr},
    {"GivenText12",   ControlRow::Kind::Input,   "",       1200, row_top(12), 1335, 270, nullptr, "土的饱和重度"},
    {"GivenUnit12",   ControlRow::Kind::Caption, "kN/m³",  2640, row_top(12), 840,  255, nullptr, nullptr},
    {"GivenSymbol13", ControlRow::Kind::Caption, "γ'：",   120,  row_top(13), 975,  255, "土的有效重度", nullptr},
    {"GivenText13",   ControlRow::Kind::Input,   "",       1200, row_top(13), 1335, 270, nullptr, "土的有效重度"},
    {"GivenUnit13",   ControlRow::Kind::Caption, "kN/m³",  2640, row_top(13), 840,  255, nullptr, nullptr},
    {"GivenConvert",  ControlRow::Kind::DefaultButton, "换算", 120, 5040, 1200, 360, nullptr, nullptr},
    {"GivenResults",  ControlRow::Kind::TextView, "",      3600, 120,         5280, 4800, nullptr, "换算结果"},
    {"GivenPrint",    ControlRow::Kind::Button,  "打印…",  3600, 5040,        1200, 360, nullptr, nullptr},
    {"GivenCopy",     ControlRow::Kind::Button,  "复制",   4920, 5040,        1200, 360, nullptr, nullptr},
    {"GivenFill",     ControlRow::Kind::Button,  "填入",   6360, 5040,        1200, 360, nullptr, nullptr},
    {"GivenClose",    ControlRow::Kind::CancelButton, "关闭", 7680, 5040,     1200, 360, nullptr, nullptr},
};
// clang-format on

inline constexpr FormDescription kGivenForm = {.name = "FormGiven",
                                               .caption = "由已知指标换算",
                                               .client_width = kGivenWidth,
                                               .client_height = kGivenHeight,
                                               .controls = kFormGiven,
                                               .menus = {},
                                               .icon = nullptr};

// The Click handlers of the TOOLS menu's item and of FormGiven's buttons.
void GIVEN_Click();
void GivenConvert_Click();
// 打印… and 复制: the results as shown.
void GivenPrint_Click();
void GivenCopy_Click();
void GivenFill_Click();
void GivenClose_Click();

}  // namespace vorlith
