#include "capture/shot.h"

#include "app/handlers.h"
#include "app/program_state.h"
#include "capture/clipboard.h"
#include "capture/options.h"
#include "forms/layouts/elements.h"

namespace vorn::capture {

namespace {

namespace main = ui::主窗口;
using forms::PropertyId;

// Long enough for the desktop to repaint what the hidden window covered.
constexpr std::int64_t kHideSettleMilliseconds = 100;

void present_shot(const facade::Runtime& runtime, facade::Block shot) {
    facade::Block& current = app::program_state().current_shot;
    current = std::move(shot); // the previous shot's block goes back to the runtime
    runtime.set_block(main::截图效果图片框, PropertyId::picture, current);
    transfer_to_clipboard(runtime, current);
    play_capture_sound(runtime);
}

} // namespace

void capture_full_screen(const facade::Runtime& runtime) {
    if (hide_while_capturing(runtime)) {
        runtime.set_flag(main::窗口, PropertyId::visible, false);
        runtime.wait(kHideSettleMilliseconds);
    }
    present_shot(runtime, runtime.snapshot());
    runtime.set_flag(main::窗口, PropertyId::visible, true);
}

void take_window_snapshot(const facade::Runtime& runtime) {
    const app::ProgramState& state = app::program_state();
    present_shot(runtime, runtime.snapshot(state.target_window, state.target_width, state.target_height));
    runtime.set_flag(main::窗口, PropertyId::stay_on_top, true);
}

} // namespace vorn::capture

namespace vorn::app {

void 按钮_截取全屏_被单击(const Runtime& runtime, const EventArgs&) {
    capture::capture_full_screen(runtime);
}

void 按钮2_被单击(const Runtime& runtime, const EventArgs&) {
    capture::take_window_snapshot(runtime);
}

} // namespace vorn::app
