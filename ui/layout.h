#pragma once

// Where the program's forms put their controls.

#include <span>

#include "runtime/program.h"

namespace vorlith {

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

// Whether every control of `form` lies inside it and on the pixel grid.
constexpr bool fits(const FormDescription& form) {
    for (const ControlRow& row : form.controls) {
        if (row.left + row.width > form.client_width || row.top + row.height > form.client_height)
            return false;
    }
    return on_pixel_grid(form.controls, form.client_width, form.client_height);
}

}  // namespace vorlith
