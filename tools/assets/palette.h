// The colours all of the program's pictures share: dark ink for outlines,
// blues for bodies and accents, red for what leaves or marks a selection,
// green for what confirms.
#pragma once

#include "tools/assets/canvas.h"

namespace vorn::assets::palette {

inline constexpr Colour kInk{0x1F, 0x2D, 0x3D};
inline constexpr Colour kDeepBlue{0x1A, 0x56, 0xA6};
inline constexpr Colour kBlue{0x2B, 0x78, 0xD6};
inline constexpr Colour kSky{0xA9, 0xCF, 0xF5};
inline constexpr Colour kPale{0xE7, 0xF1, 0xFC};
inline constexpr Colour kWhite{0xFF, 0xFF, 0xFF};
inline constexpr Colour kSteel{0x6B, 0x7B, 0x8F};
inline constexpr Colour kSilver{0xCF, 0xD7, 0xE1};
inline constexpr Colour kRed{0xD6, 0x3A, 0x2C};
inline constexpr Colour kPink{0xF2, 0x9A, 0x94};
inline constexpr Colour kGreen{0x2F, 0xA8, 0x4F};
inline constexpr Colour kDarkGreen{0x1B, 0x6E, 0x32};
inline constexpr Colour kWood{0xF1, 0xC8, 0x8E};

} // namespace vorn::assets::palette
