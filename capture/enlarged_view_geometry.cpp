#include "capture/enlarged_view_geometry.h"

#include <limits>

namespace vorn::capture {

namespace {

constexpr double kTolerance = 1e-7;
constexpr std::int32_t kStripHeight = 20; // the title strip above the picture
constexpr std::int32_t kBoxMarginLeft = 1;
constexpr double kBoxWidthMargin = 2;   // one pixel each side
constexpr double kBoxHeightMargin = 40; // the strip and 20 pixels below
constexpr double kCloseRightMargin = 2;
constexpr double kLabelGap = 10;
constexpr std::int64_t kHoverRim = 4;

// Truncation toward zero into the 32-bit range the program's numbers have.
std::int32_t trunc32(double value) {
    constexpr double kLow = std::numeric_limits<std::int32_t>::min();
    constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
    return value <= kLow    ? std::numeric_limits<std::int32_t>::min()
           : value >= kHigh ? std::numeric_limits<std::int32_t>::max()
                            : std::int32_t(value);
}

ViewRect centred(std::int32_t width, std::int32_t height, std::int64_t screen_width,
                 std::int64_t screen_height) {
    return {trunc32((double(screen_width) - width) / 2), trunc32((double(screen_height) - height) / 2), width,
            height};
}

} // namespace

std::optional<ViewRect> enlarged_view(ViewRect window, std::int64_t screen_width,
                                      std::int64_t screen_height) {
    const double height = window.height * kEnlargeFactor, width = window.width * kEnlargeFactor;
    if (height > double(screen_height) + kTolerance || width > double(screen_width) + kTolerance)
        return std::nullopt;
    return centred(trunc32(width), trunc32(height), screen_width, screen_height);
}

std::optional<ViewRect> shrunk_view(ViewRect window, std::int64_t screen_width, std::int64_t screen_height) {
    const double height = window.height * kShrinkFactor, width = window.width * kShrinkFactor;
    if (height < kMinimumShrunkHeight - kTolerance)
        return std::nullopt;
    return centred(trunc32(width), trunc32(height), screen_width, screen_height);
}

ViewLayout view_layout(std::int64_t window_width, std::int64_t window_height, std::int64_t close_width,
                       std::int64_t save_width) {
    ViewLayout layout;
    layout.box = {kBoxMarginLeft, kStripHeight, trunc32(double(window_width) - kBoxWidthMargin),
                  trunc32(double(window_height) - kBoxHeightMargin)};
    layout.close_left = trunc32(double(window_width) - double(close_width) - kCloseRightMargin);
    layout.save_left = trunc32(double(layout.close_left) - double(save_width) - kLabelGap);
    return layout;
}

std::uint32_t label_hover_colour(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height) {
    const bool inside = x > kHoverRim && x < width - kHoverRim && y > kHoverRim && y < height - kHoverRim;
    return inside ? kLabelInside : kLabelRim;
}

} // namespace vorn::capture
