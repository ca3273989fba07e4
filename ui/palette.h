#pragma once

// The program's colours for its drawings, in one place. Fills are light
// enough that black text on each has a contrast of 12:1 or more; lines and
// dots are dark enough to stand out 4.5:1 or more from the form's light
// grey background. In high contrast and forced colours the system's
// colours take their place.

#include "runtime/operations.h"

namespace vorlith::palette {

// The three phases: air nearly white, water light blue, solids light sand.
inline constexpr Colour kAir{0xF4, 0xF9, 0xFF};
inline constexpr Colour kWater{0xBF, 0xDF, 0xFF};
inline constexpr Colour kSolid{0xE8, 0xD5, 0xB0};

// The charts: axes and marks dark grey, the A line and a chart's main line
// dark blue, the B line dark green, the soil's point and the measured
// points dark red.
inline constexpr Colour kAxis{0x40, 0x40, 0x40};
inline constexpr Colour kLineA{0x00, 0x3C, 0x8C};
inline constexpr Colour kLineB{0x1E, 0x5E, 0x1E};
inline constexpr Colour kPoint{0xA0, 0x10, 0x10};

}  // namespace vorlith::palette
