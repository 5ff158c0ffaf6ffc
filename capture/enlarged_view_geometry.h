// The enlarged view's geometry: pure functions over the window's rectangle
// and the screen's size. Values are computed in double precision and
// truncated toward zero; a limit holds when it is met within 1e-7.
#pragma once

#include <cstdint>
#include <optional>

namespace vorn::capture {

struct ViewRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const ViewRect&) const = default;
};

inline constexpr double kEnlargeFactor = 1.05;
inline constexpr double kShrinkFactor = 0.95;
inline constexpr double kMinimumShrunkHeight = 300;

// One step larger, centred on the screen; nullopt when the larger window
// would not fit the screen.
std::optional<ViewRect> enlarged_view(ViewRect window, std::int64_t screen_width, std::int64_t screen_height);
// One step smaller, centred; nullopt when its height would drop below 300.
std::optional<ViewRect> shrunk_view(ViewRect window, std::int64_t screen_width, std::int64_t screen_height);

// Where the picture box and the two labels go in a window of this size.
struct ViewLayout {
    ViewRect box;
    std::int32_t close_left = 0; // "关闭"
    std::int32_t save_left = 0;  // "保存"
    bool operator==(const ViewLayout&) const = default;
};
ViewLayout view_layout(std::int64_t window_width, std::int64_t window_height, std::int64_t close_width,
                       std::int64_t save_width);

// A label's colour under the pointer at (x, y) in its own pixels: green in
// its middle, red within 4 pixels of its edge.
inline constexpr std::uint32_t kLabelInside = 0x0000FF00;
inline constexpr std::uint32_t kLabelRim = 0x000000FF;
std::uint32_t label_hover_colour(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height);

} // namespace vorn::capture
