// Where the highlight frame goes around a hovered window: four 4-pixel bars
// outside the window's restored rectangle, or, for a window the size of the
// screen, the screen itself with the bars inside its edge. Pure, for the
// table of cases in the tests.
#pragma once

#include <cstdint>

namespace vorn::capture {

inline constexpr std::int64_t kFrameBar = 4;

struct WindowRect {
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t right = 0;
    std::int64_t bottom = 0;
    std::int64_t width() const { return right - left; }
    std::int64_t height() const { return bottom - top; }
};

struct FramePlace {
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool full_screen = false;
    bool operator==(const FramePlace&) const = default;
};

// A window whose restored size matches the screen in both dimensions,
// wherever it lies (another monitor, say), is framed as the screen.
inline bool fills_screen(const WindowRect& normal, std::int64_t screen_width, std::int64_t screen_height) {
    return normal.width() == screen_width && normal.height() == screen_height;
}

// Child and owned windows are not framed, unless their restored size
// matches the screen in at least one dimension.
inline bool worth_framing(const WindowRect& normal, std::uint64_t parent, std::int64_t screen_width,
                          std::int64_t screen_height) {
    return parent == 0 || normal.height() == screen_height || normal.width() == screen_width;
}

inline FramePlace place_frame(const WindowRect& normal, std::int64_t screen_width,
                              std::int64_t screen_height) {
    if (fills_screen(normal, screen_width, screen_height))
        return {0, 0, normal.width(), normal.height(), true};
    return {normal.left - kFrameBar, normal.top - kFrameBar, normal.width() + 2 * kFrameBar,
            normal.height() + 2 * kFrameBar, false};
}

} // namespace vorn::capture
