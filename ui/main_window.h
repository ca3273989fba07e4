#pragma once

#include <span>

#include "runtime/program.h"

namespace vorlith {

// Form1's client area below the menu bar, in twips.
inline constexpr int kClientWidth = 11205;
inline constexpr int kClientHeight = 3000;

// The top of row `row` (1, 2, …) of a form's boxes and fields, in twips.
constexpr int row_top(int row) {
    return 120 + 360 * (row - 1);
}

// Whether every position and size of `rows`, and the client area, is a
// whole number of pixels at 96 dots per inch.
constexpr bool on_pixel_grid(std::span<const ControlRow> rows, int width, int height) {
    constexpr int twips_per_pixel = kTwipsPerInch / 96;
    for (const ControlRow& row : rows) {
        for (int twips : {row.left, row.top, row.width, row.height}) {
            if (twips % twips_per_pixel != 0) return false;
        }
    }
    return width % twips_per_pixel == 0 && height % twips_per_pixel == 0;
}

// Form1's input boxes in box order (k = 1..7): V, Vv, Vw, Vs, m, mw, ms.
inline constexpr const char* kBoxNames[] = {"Text1", "Text2", "Text3", "Text4",
                                            "Text5", "Text6", "Text7"};

// The 45 controls of Form1 in tab-index order.
std::span<const ControlRow> form1_layout();

// The Click of Command1: computes the indices from the boxes' texts into the
// result fields, and refills the working window while it is shown. A
// run-time error is left to the run-time's report.
void Command1_Click();

// The program's description for the run-time: title, language, Form1 with
// its controls and menus, the other forms, and the Click handlers.
const ProgramDescription& form1_program();

}  // namespace vorlith
