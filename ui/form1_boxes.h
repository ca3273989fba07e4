#pragma once

// Form1's seven input boxes, which the other forms read and fill too.

#include <array>
#include <string>

#include "calc/soil_indices.h"

namespace vorlith {

// Form1's input boxes in box order (k = 1..7): V, Vv, Vw, Vs, m, mw, ms.
inline constexpr const char* kBoxNames[] = {"Text1", "Text2", "Text3", "Text4",
                                            "Text5", "Text6", "Text7"};
static_assert(std::size(kBoxNames) == kInputCount);

// The texts of Form1's seven boxes, in box order.
std::array<std::u16string, kInputCount> box_texts();

}  // namespace vorlith
