#include "runtime/win32/portable/conventions.h"

#include <algorithm>

namespace vorn::win32 {

std::int64_t modifier_keys(bool shift, bool control, bool alt) {
    return (shift ? kShiftKey : 0) + (control ? kControlKey : 0) + (alt ? kAltKey : 0);
}

PlacedRect fit_picture(std::int32_t picture_width, std::int32_t picture_height, std::int32_t box_width,
                       std::int32_t box_height) {
    if (picture_width <= 0 || picture_height <= 0 || box_width <= 0 || box_height <= 0)
        return {};
    // The scale is the smaller of the two ratios, capped at 1; sizes are
    // rounded to whole pixels and kept at least one pixel.
    const double scale =
        std::min({1.0, double(box_width) / picture_width, double(box_height) / picture_height});
    const auto width = std::max(1, std::int32_t(picture_width * scale + 0.5));
    const auto height = std::max(1, std::int32_t(picture_height * scale + 0.5));
    return {(box_width - width) / 2, (box_height - height) / 2, width, height};
}

PageScale page_scale(std::int32_t dpi_x, std::int32_t dpi_y, std::int32_t page_width,
                     std::int32_t page_height, std::int32_t drawing_right, std::int32_t drawing_bottom) {
    const double x = double(std::max(dpi_x, 1)) / kScreenDpi, y = double(std::max(dpi_y, 1)) / kScreenDpi;
    double shrink = 1;
    if (drawing_right > 0 && page_width > 0)
        shrink = std::min(shrink, page_width / (drawing_right * x));
    if (drawing_bottom > 0 && page_height > 0)
        shrink = std::min(shrink, page_height / (drawing_bottom * y));
    return {x * shrink, y * shrink};
}

} // namespace vorn::win32
