#pragma once

// FormLab (由试验数据填入, modal): the lab's record sheet. Two rings for the
// density (环刀法), two tins for the water content (烘干法) and ds; the
// sheet worked out in a read-only view, and its means written into Form1's
// seven boxes by 填入. A single determination, the second ring and tin left
// blank, is read as well.

#include "runtime/program.h"

namespace vorlith {

// FormLab's client area in twips, and the form itself.
inline constexpr int kLabWidth = 10440;
inline constexpr int kLabHeight = 4560;
extern const FormDescription kLabForm;

void LAB_Click();
// 计算: the sheet worked out in its view.
void LabCalc_Click();
// 填入: the sheet worked out, then Form1's boxes filled from its means.
void LabFill_Click();
// 打印… and 复制: the sheet worked out, then printed or copied.
void LabPrint_Click();
void LabCopy_Click();
void LabCancel_Click();

}  // namespace vorlith
