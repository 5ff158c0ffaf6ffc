// The arrow tool's head: a filled triangle at the tip, its two wings at a
// half-angle of about 30 degrees either side of the line, their length
// following the line width. Pure, for the table of worked cases in the tests.
#pragma once

#include <array>
#include <cstdint>

namespace vorn::editor {

// Tip x, tip y, wing 1 x, wing 1 y, wing 2 x, wing 2 y.
using HeadPoints = std::array<std::int32_t, 6>;

// The head of an arrow from (x0, y0) to (x0 + dx, y0 + dy) drawn with the
// given line width.
HeadPoints arrow_head(std::int32_t x0, std::int32_t y0, std::int32_t dx, std::int32_t dy,
                      std::int64_t line_width);

} // namespace vorn::editor
