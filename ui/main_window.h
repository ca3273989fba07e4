#pragma once

#include <span>

#include "runtime/program.h"
#include "ui/form1_boxes.h"
#include "ui/layout.h"

namespace vorlith {

// Form1's client area below the menu bar, in twips.
inline constexpr int kClientWidth = 11205;
inline constexpr int kClientHeight = 3000;

// The 45 controls of Form1 in tab-index order.
std::span<const ControlRow> form1_layout();

// The Click of Command1: computes the indices from the boxes' texts into the
// result fields, and refills the working window while it is shown. A
// run-time error is left to the run-time's report.
void Command1_Click();

}  // namespace vorlith
