#include "editor/layout.h"

namespace vorn::editor {

namespace {

// Room the screen keeps beside the canvas: the window's frame and tool row
// (and the taskbar, below).
constexpr std::int64_t kSpareWidth = 40;
constexpr std::int64_t kSpareHeight = 90;
constexpr double kShrink = 0.9;
constexpr std::int64_t kFrameMargin = 8;
// The tool row is this wide: a narrower frame would cut it.
constexpr std::int64_t kMinimumFrameWidth = 550;
constexpr std::int64_t kMinimumFrameHeight = 296;
constexpr std::int64_t kWindowExtraWidth = 28;
constexpr std::int64_t kWindowExtraHeight = 84;
constexpr std::int64_t kTaskbarAllowance = 30;

std::int64_t shrunk(std::int64_t size) {
    return std::int64_t(double(size) * kShrink); // truncated toward zero
}

std::int64_t half(std::int64_t size) {
    return std::int64_t(double(size) / 2.0);
}

} // namespace

EditorLayout lay_out_editor(std::int64_t canvas_width, std::int64_t canvas_height, std::int64_t screen_width,
                            std::int64_t screen_height) {
    EditorLayout out;
    out.canvas_width = canvas_width >= screen_width - kSpareWidth ? shrunk(canvas_width) : canvas_width;
    out.canvas_height = canvas_height >= screen_height - kSpareHeight ? shrunk(canvas_height) : canvas_height;
    out.frame_width = out.canvas_width + kFrameMargin;
    out.frame_height = out.canvas_height + kFrameMargin;
    // One rule or the other: a narrow shot keeps its frame height.
    if (out.canvas_width < kMinimumFrameWidth)
        out.frame_width = kMinimumFrameWidth;
    else if (out.canvas_height < kMinimumFrameHeight)
        out.frame_height = kMinimumFrameHeight;
    out.canvas_left = half(out.frame_width - out.canvas_width);
    out.canvas_top = half(out.frame_height - out.canvas_height);
    out.window_width = out.frame_width + kWindowExtraWidth;
    out.window_height = out.frame_height + kWindowExtraHeight;
    out.window_top = half(screen_height - kTaskbarAllowance - out.window_height);
    out.window_left = half(screen_width - out.window_width);
    return out;
}

} // namespace vorn::editor
