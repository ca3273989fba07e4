#pragma once

#include <array>
#include <span>
#include <string>

#include "calc/soil_indices.h"
#include "runtime/program.h"

namespace vorlith {

// FormWorking's client area in twips.
inline constexpr int kWorkingWidth = 9000;
inline constexpr int kWorkingHeight = 5880;

// The program's other forms: FormWorking (计算过程, modeless: the working
// and the three-phase diagram for what Form1's boxes hold) and FormLab
// (由试验数据填入, modal: the lab's record sheet, form_lab.h).
std::span<const FormDescription> other_forms();

// Fills FormWorking from the boxes' texts with the chosen g: the working
// text and the diagram. Never raises an error.
void fill_working(const std::array<std::u16string, kInputCount>& texts);

// The Click handlers of the TOOLS menu's items and of the other forms'
// controls.
void WORKING_Click();
// The Click of the three g options: FormWorking filled anew with the chosen g.
void Gravity_Click();
// The working as FormWorking shows it, printed or copied.
void WorkingPrint_Click();
void WorkingCopy_Click();
void WorkingClose_Click();

}  // namespace vorlith
