// The rectangle a drag on the region overlay selects, from its press and
// release points: the smaller coordinates are the corner, so a drag up or to
// the left takes the rectangle the user drew, and the size is the distance
// between the two points. Pure, for the table of cases in the tests.
#pragma once

#include <cstdint>

namespace vorn::capture {

struct Selection {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
    bool operator==(const Selection&) const = default;
};

Selection select_region(std::int32_t press_x, std::int32_t press_y, std::int32_t release_x,
                        std::int32_t release_y);

} // namespace vorn::capture
