#pragma once

// FormState (物理状态指标, modeless): the limits from the 76 g cone or as
// typed, Ip, IL, the name and the state of a fine-grained soil, Dr of a sand,
// with the plasticity chart and the cone's plot. w and e come from Form1's
// boxes when they hold a sample, and may be changed.

#include "runtime/program.h"
#include "ui/layout.h"

namespace vorlith {

// Its client area and each drawing, in twips.
inline constexpr int kStateWidth = 11400;
inline constexpr int kStateHeight = 6120;
inline constexpr int kChartWidth = 3720;
inline constexpr int kChartHeight = 3600;

// The boxes in rows of symbol, box, unit, two to a row where the first has
// a unit to end it (a caption after a box on its line is read as its unit);
// w alone, wide enough for the fifteen digits it takes from Form1; the
// symbols wide enough for "emax:" with a gap before the box; 计算 beside
// emin, level with it, ending where the units end. The two drawings right of
// them, the results across the foot with 打印…, 复制 and 关闭 right of them.
// clang-format off
inline constexpr ControlRow kFormState[] = {
    {"StateConeHeading", ControlRow::Kind::Caption, "76 g 圆锥三点：", 120, row_top(1), 3480, 255, nullptr, nullptr},
    {"StateSymbolH1", ControlRow::Kind::Caption, "h1:", 120, row_top(2), 600, 255, "第一点入土深度", nullptr},
    {"StateH1", ControlRow::Kind::Input, "", 720, row_top(2), 780, 270, nullptr, "第一点入土深度"},
    {"StateUnitH1", ControlRow::Kind::Caption, "mm", 1560, row_top(2), 360, 255, nullptr, nullptr},
    {"StateSymbolW1", ControlRow::Kind::Caption, "w1:", 1980, row_top(2), 600, 255, "第一点含水率", nullptr},
    {"StateW1", ControlRow::Kind::Input, "", 2580, row_top(2), 780, 270, nullptr, "第一点含水率"},
    {"StateUnitW1", ControlRow::Kind::Caption, "%", 3420, row_top(2), 180, 255, nullptr, nullptr},
    {"StateSymbolH2", ControlRow::Kind::Caption, "h2:", 120, row_top(3), 600, 255, "第二点入土深度", nullptr},
    {"StateH2", ControlRow::Kind::Input, "", 720, row_top(3), 780, 270, nullptr, "第二点入土深度"},
    {"StateUnitH2", ControlRow::Kind::Caption, "mm", 1560, row_top(3), 360, 255, nullptr, nullptr},
    {"StateSymbolW2", ControlRow::Kind::Caption, "w2:", 1980, row_top(3), 600, 255, "第二点含水率", nullptr},
    {"StateW2", ControlRow::Kind::Input, "", 2580, row_top(3), 780, 270, nullptr, "第二点含水率"},
    {"StateUnitW2", ControlRow::Kind::Caption, "%", 3420, row_top(3), 180, 255, nullptr, nullptr},
    {"StateSymbolH3", ControlRow::Kind::Caption, "h3:", 120, row_top(4), 600, 255, "第三点入土深度", nullptr},
    {"StateH3", ControlRow::Kind::Input, "", 720, row_top(4), 780, 270, nullptr, "第三点入土深度"},
    {"StateUnitH3", ControlRow::Kind::Caption, "mm", 1560, row_top(4), 360, 255, nullptr, nullptr},
    {"StateSymbolW3", ControlRow::Kind::Caption, "w3:", 1980, row_top(4), 600, 255, "第三点含水率", nullptr},
    {"StateW3", ControlRow::Kind::Input, "", 2580, row_top(4), 780, 270, nullptr, "第三点含水率"},
    {"StateUnitW3", ControlRow::Kind::Caption, "%", 3420, row_top(4), 180, 255, nullptr, nullptr},
    {"StateLimitsHeading", ControlRow::Kind::Caption, "或直接输入液限、塑限（以上六格空时）：", 120, row_top(5), 3480, 255, nullptr, nullptr},
    {"StateSymbolWL", ControlRow::Kind::Caption, "wL:", 120, row_top(6), 600, 255, "液限", nullptr},
    {"StateWL", ControlRow::Kind::Input, "", 720, row_top(6), 780, 270, nullptr, "液限"},
    {"StateUnitWL", ControlRow::Kind::Caption, "%", 1560, row_top(6), 360, 255, nullptr, nullptr},
    {"StateSymbolWP", ControlRow::Kind::Caption, "wP:", 1980, row_top(6), 600, 255, "塑限", nullptr},
    {"StateWP", ControlRow::Kind::Input, "", 2580, row_top(6), 780, 270, nullptr, "塑限"},
    {"StateUnitWP", ControlRow::Kind::Caption, "%", 3420, row_top(6), 180, 255, nullptr, nullptr},
    {"StateSymbolWater", ControlRow::Kind::Caption, "w:", 120, row_top(7), 600, 255, "天然含水率", nullptr},
    {"StateWater", ControlRow::Kind::Input, "", 720, row_top(7), 2640, 270, nullptr, "天然含水率"},
    {"StateUnitWater", ControlRow::Kind::Caption, "%", 3420, row_top(7), 180, 255, nullptr, nullptr},
    {"StateSymbolE", ControlRow::Kind::Caption, "e:", 120, row_top(8), 600, 255, "天然孔隙比", nullptr},
    {"StateE", ControlRow::Kind::Input, "", 720, row_top(8), 780, 270, nullptr, "天然孔隙比"},
    {"StateSymbolEmax", ControlRow::Kind::Caption, "emax:", 120, row_top(9), 600, 255, "最大孔隙比", nullptr},
    {"StateEmax", ControlRow::Kind::Input, "", 720, row_top(9), 780, 270, nullptr, "最大孔隙比"},
    {"StateSymbolEmin", ControlRow::Kind::Caption, "emin:", 120, row_top(10), 600, 255, "最小孔隙比", nullptr},
    {"StateEmin", ControlRow::Kind::Input, "", 720, row_top(10), 780, 270, nullptr, "最小孔隙比"},
    {"StateWork", ControlRow::Kind::DefaultButton, "计算", 2400, row_top(10) - 45, 1200, 360, nullptr, nullptr},
    {"PlasticityChart", ControlRow::Kind::Drawing, "", 3720, 120, kChartWidth, kChartHeight, nullptr, "塑性图"},
    {"ConePlot", ControlRow::Kind::Drawing, "", 7560, 120, kChartWidth, kChartHeight, nullptr, "圆锥入土深度与含水率关系图"},
    {"StateText", ControlRow::Kind::TextView, "", 120, 3840, 9840, 2160, nullptr, "结果与计算过程"},
    {"StatePrint", ControlRow::Kind::Button, "打印…", 10080, 3840, 1200, 360, nullptr, nullptr},
    {"StateCopy", ControlRow::Kind::Button, "复制", 10080, 4320, 1200, 360, nullptr, nullptr},
    {"StateClose", ControlRow::Kind::CancelButton, "关闭", 10080, 5640, 1200, 360, nullptr, nullptr},
};
// clang-format on

inline constexpr FormDescription kStateForm{.name = "FormState",
                                            .caption = "物理状态指标",
                                            .client_width = kStateWidth,
                                            .client_height = kStateHeight,
                                            .controls = kFormState,
                                            .menus = {},
                                            .icon = nullptr};
static_assert(fits(kStateForm));

void STATE_Click();
void StateWork_Click();
// 打印… and 复制: the results as shown.
void StatePrint_Click();
void StateCopy_Click();
void StateClose_Click();

}  // namespace vorlith
