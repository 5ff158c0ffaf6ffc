// The runtime's one default font and the point sizes the program speaks in.
// Every control and canvas without a font of its own takes this one: 9
// points on a 96-dpi screen (12 pixels), the Chinese character set and the
// system's face for it.
#pragma once

#include "forms/font.h"

#include <cstdint>

namespace vorn::runtime {

inline constexpr std::int32_t kFontDpi = 96;
inline constexpr std::int32_t kPointsPerInch = 72;
inline constexpr std::int32_t kDefaultPointSize = 9;

// The LOGFONT height (negative: the character height) of a point size.
constexpr std::int32_t font_height_of_points(std::int64_t points) {
    return -std::int32_t((points * kFontDpi + kPointsPerInch / 2) / kPointsPerInch);
}

inline forms::Font default_font() {
    forms::Font font;
    font.height = font_height_of_points(kDefaultPointSize);
    return font;
}

} // namespace vorn::runtime
