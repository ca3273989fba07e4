#pragma once

#include <array>
#include <span>
#include <string>

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
// result fields, then calls what follows 计算 (follow_calculate). A
// run-time error is left to the run-time's report.
void Command1_Click();

// Called after each 计算 with the boxes' texts, before its error is
// reported: the working window sets it as it first opens, to refill itself
// while it is shown. Form1 alone has none, nor any of that window's code.
void follow_calculate(void (*follower)(const std::array<std::u16string, kInputCount>& texts));

}  // namespace vorlith
