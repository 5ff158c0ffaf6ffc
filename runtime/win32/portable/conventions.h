// Numbers the runtime translates between the program and Windows, and the
// geometry of the picture box: small pure functions with named constants.
#pragma once

#include <cstdint>

namespace vorn::win32 {

// The third argument of the mouse events and the second of the key event:
// shift 1, control 2, alt 4, added together.
inline constexpr std::int64_t kShiftKey = 1;
inline constexpr std::int64_t kControlKey = 2;
inline constexpr std::int64_t kAltKey = 4;
std::int64_t modifier_keys(bool shift, bool control, bool alt);

// Where the picture box draws a picture: scaled down to fit the box if it
// is larger, keeping its proportions, never enlarged, centred. Empty
// pictures and boxes give an empty rectangle.
struct PlacedRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const PlacedRect&) const = default;
};
PlacedRect fit_picture(std::int32_t picture_width, std::int32_t picture_height, std::int32_t box_width,
                       std::int32_t box_height);

// The printer takes positions and sizes in screen pixels (1/96 inch) from
// the page's top-left corner. A drawing that would not fit the page is
// shrunk, keeping its proportions, until its right and bottom edges do.
struct PageScale {
    double x = 1;
    double y = 1;
    bool operator==(const PageScale&) const = default;
};
inline constexpr std::int32_t kScreenDpi = 96;
PageScale page_scale(std::int32_t dpi_x, std::int32_t dpi_y, std::int32_t page_width,
                     std::int32_t page_height, std::int32_t drawing_right, std::int32_t drawing_bottom);

} // namespace vorn::win32
