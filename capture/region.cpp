// Region capture: the overlay window covers the screen with a frozen picture
// of it, the user drags a rectangle on that picture, and the rectangle is cut
// out of the picture (not taken from the live screen), shown in the main
// window and put on the clipboard.
#include "app/handlers.h"
#include "app/program_state.h"
#include "capture/clipboard.h"
#include "capture/options.h"
#include "capture/region_selection.h"
#include "forms/layouts/elements.h"

#include <algorithm>
#include <cstdlib>

namespace vorn::capture {

namespace {

namespace main = ui::主窗口;
using forms::PropertyId;

// Long enough for the desktop to repaint what the hidden main window covered
// before the screen is photographed.
constexpr std::int64_t kOverlaySettleMilliseconds = 200;

void back_to_main_window(const facade::Runtime& runtime) {
    runtime.set_flag(main::窗口, PropertyId::visible, true);
    runtime.set_flag(main::窗口, PropertyId::stay_on_top, true);
}

} // namespace

Selection select_region(std::int32_t press_x, std::int32_t press_y, std::int32_t release_x,
                        std::int32_t release_y) {
    // 64-bit differences: the points come from the program's 32-bit numbers.
    const std::int64_t width = std::llabs(std::int64_t(release_x) - press_x);
    const std::int64_t height = std::llabs(std::int64_t(release_y) - press_y);
    return {std::min(press_x, release_x), std::min(press_y, release_y),
            std::int32_t(std::min<std::int64_t>(width, INT32_MAX)),
            std::int32_t(std::min<std::int64_t>(height, INT32_MAX))};
}

} // namespace vorn::capture

namespace vorn::app {

namespace main = ui::主窗口;
namespace overlay = ui::区域窗口;
using forms::PropertyId;

void 按钮_截取区域_被单击(const Runtime& runtime, const EventArgs&) {
    if (capture::hide_while_capturing(runtime))
        runtime.set_flag(main::窗口, PropertyId::visible, false);
    runtime.load_window(overlay::kId, main::kId, false);
}

// Runs before the overlay is shown: the picture it takes is the screen
// without the overlay (and without a hidden main window).
void 区域窗口_创建完毕(const Runtime& runtime, const EventArgs&) {
    runtime.wait(capture::kOverlaySettleMilliseconds);
    runtime.move(overlay::窗口, 0, 0, runtime.screen_width(), runtime.screen_height());
    runtime.move(overlay::画板, 0, 0, runtime.integer(overlay::窗口, PropertyId::width),
                 runtime.integer(overlay::窗口, PropertyId::height));
    const facade::Block screen = runtime.snapshot();
    runtime.set_block(overlay::画板, PropertyId::background_picture, screen);
    runtime.give_focus(overlay::画板);
}

void 画板_左键被按下(const Runtime&, const EventArgs& args) {
    ProgramState& state = program_state();
    state.press_x = std::int32_t(args.integer(0));
    state.press_y = std::int32_t(args.integer(1));
    state.dragging = 1;
}

// The canvas's own pen draws the rubber band; the clear before it repaints
// the frozen picture and so removes the previous one.
void 画板_鼠标位置被移动(const Runtime& runtime, const EventArgs& args) {
    const ProgramState& state = program_state();
    if (state.dragging == 0)
        return;
    runtime.canvas_clear(overlay::画板);
    runtime.canvas_rectangle(overlay::画板, state.press_x, state.press_y, args.integer(0), args.integer(1));
}

void 画板_左键被放开(const Runtime& runtime, const EventArgs& args) {
    ProgramState& state = program_state();
    const capture::Selection selection = capture::select_region(
        state.press_x, state.press_y, std::int32_t(args.integer(0)), std::int32_t(args.integer(1)));
    state.dragging = 0;
    // A click without a drag selects nothing: it ends the overlay like a
    // cancel, and the last shot stays in the picture box and on the clipboard.
    if (!selection.empty()) {
        capture::play_capture_sound(runtime); // before the cut, as the user lets go
        runtime.set_integer(overlay::后台画板, PropertyId::width, selection.width);
        runtime.set_integer(overlay::后台画板, PropertyId::height, selection.height);
        runtime.canvas_clear(overlay::画板);
        runtime.canvas_copy(overlay::画板, selection.left, selection.top, selection.width, selection.height,
                            overlay::后台画板);
        const facade::Block shot = runtime.canvas_picture(overlay::后台画板);
        runtime.set_block(main::截图效果图片框, PropertyId::picture, shot);
        capture::transfer_to_clipboard(runtime, shot);
    }
    runtime.set_flag(overlay::窗口, PropertyId::visible, false);
    runtime.close_window(overlay::kId);
    capture::back_to_main_window(runtime);
}

// A cancel also ends a drag, so the next overlay starts without a rubber band.
void 画板_右键被按下(const Runtime& runtime, const EventArgs&) {
    program_state().dragging = 0;
    runtime.close_window(overlay::kId);
    capture::back_to_main_window(runtime);
}

} // namespace vorn::app
