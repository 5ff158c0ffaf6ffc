// Window capture: the user points at a window, a frame outlines it, and a
// click takes its picture. The main window's input device reports the
// pointer and the buttons over the whole screen; the frame is a borderless
// layered window whose magenta background is see-through, so only its four
// red bars and the snapshot canvas inside them show.
#include "app/handlers.h"
#include "app/program_state.h"
#include "capture/dll_call.h"
#include "capture/options.h"
#include "capture/shot.h"
#include "capture/window_frame.h"
#include "forms/events.h"
#include "forms/layouts/elements.h"

#include <array>
#include <cstdint>
#include <string>

namespace vorn::capture {

namespace {

namespace main = ui::主窗口;
namespace frame = ui::边框窗口;
using contract::DllCommand;
using forms::PropertyId;

constexpr std::int64_t kSeeThrough = 0x00FF00FF; // magenta: the frame's colour key
constexpr std::int64_t kDefaultColour = 0xFF000000;
constexpr std::int64_t kExStyleIndex = -20;
constexpr std::uint64_t kLayeredStyle = 0x80000;
constexpr std::uint64_t kLayeredAlpha = 200;
constexpr std::uint64_t kColourKeyOnly = 1;
// Raises the main window above the others: it must not hide what the user
// is about to point at when it stays shown.
constexpr std::int64_t kMainWindowForeground = 2;
// Presses and releases are both reported, and so is the release of the
// click on the capture button itself: the third report is the user's pick.
constexpr std::int32_t kReportsPerPick = 3;

std::uint64_t as_argument(std::int64_t value) {
    return std::uint64_t(value);
}

void set_geometry(const facade::Runtime& runtime, facade::Control control, std::int64_t left,
                  std::int64_t top, std::int64_t width, std::int64_t height) {
    runtime.set_integer(control, PropertyId::width, width);
    runtime.set_integer(control, PropertyId::height, height);
    runtime.set_integer(control, PropertyId::left, left);
    runtime.set_integer(control, PropertyId::top, top);
}

void make_see_through(const facade::Runtime& runtime) {
    const std::uint64_t handle = runtime.window_handle(frame::窗口);
    const auto style =
        std::uint32_t(call(runtime, DllCommand::GetWindowLongA, {handle, as_argument(kExStyleIndex)}));
    call(runtime, DllCommand::SetWindowLongA, {handle, as_argument(kExStyleIndex), style | kLayeredStyle});
    call(runtime, DllCommand::SetLayeredWindowAttributes,
         {handle, std::uint64_t(kSeeThrough), kLayeredAlpha, kColourKeyOnly});
}

// The bars go round the frame's own size as the window manager gave it.
void lay_out_bars(const facade::Runtime& runtime, std::int64_t width, std::int64_t height) {
    set_geometry(runtime, frame::标签1, 0, 0, width, kFrameBar);                  // top
    set_geometry(runtime, frame::标签2, 0, 0, kFrameBar, height);                 // left
    set_geometry(runtime, frame::标签3, width - kFrameBar, 0, kFrameBar, height); // right
    set_geometry(runtime, frame::标签4, 0, height - kFrameBar, width, kFrameBar); // bottom
}

void frame_window(const facade::Runtime& runtime, const WindowRect& normal) {
    app::ProgramState& state = app::program_state();
    state.framed_window = state.target_window;
    const FramePlace place = place_frame(normal, runtime.screen_width(), runtime.screen_height());
    // Photographed before the frame moves: once there, its own canvas
    // covers the window, and the screen would show the canvas's last picture.
    const facade::Block snapshot =
        runtime.snapshot(state.target_window, place.width - 2 * kFrameBar, place.height - 2 * kFrameBar);
    set_geometry(runtime, frame::窗口, place.left, place.top, place.width, place.height);
    const std::int64_t width = runtime.integer(frame::窗口, PropertyId::width);
    const std::int64_t height = runtime.integer(frame::窗口, PropertyId::height);
    state.target_width = std::int32_t(width - 2 * kFrameBar);
    state.target_height = std::int32_t(height - 2 * kFrameBar);
    lay_out_bars(runtime, width, height);
    set_geometry(runtime, frame::画板1, kFrameBar, kFrameBar, state.target_width, state.target_height);
    runtime.set_block(frame::画板1, PropertyId::background_picture, snapshot);
    // A window the size of the screen is seen through the frame itself.
    runtime.set_flag(frame::画板1, PropertyId::visible, !place.full_screen);
}

void close_frame(const facade::Runtime& runtime) {
    if (!runtime.is_loaded(frame::kId))
        return;
    runtime.close_window(frame::kId);
    runtime.set_integer(main::窗口, PropertyId::back_colour, kDefaultColour);
}

void end_pick(const facade::Runtime& runtime) {
    close_frame(runtime);
    app::program_state().window_pick_mode = 0;
    runtime.set_flag(main::窗口, PropertyId::visible, true);
}

// False when the handle is no window (any more).
bool window_rect(const facade::Runtime& runtime, std::uint64_t window, std::array<std::int32_t, 4>& rect) {
    return succeeded(
        call(runtime, DllCommand::GetWindowRect, {window, reinterpret_cast<std::uintptr_t>(rect.data())}));
}

bool picking(const facade::Runtime& runtime) {
    return app::program_state().window_pick_mode == 1 &&
           runtime.text(main::编辑框1, PropertyId::text).empty();
}

void pick(const facade::Runtime& runtime) {
    app::ProgramState& state = app::program_state();
    if (++state.press_counter != kReportsPerPick)
        return;
    state.press_counter = 0;
    state.target_window = runtime.window_under_pointer();
    if (state.target_window == runtime.window_handle(main::按钮_截取窗口)) {
        runtime.set_flag(main::窗口, PropertyId::visible, true);
        return;
    }
    std::array<std::int32_t, 4> rect{}, framed{};
    // Nothing under the pointer, a window gone before its rectangle was
    // read, or the frame's snapshot of a window that has closed since:
    // there is nothing to photograph, and the pick ends as a cancel does
    // rather than put a stale picture on the clipboard.
    if (state.target_window == 0 || !window_rect(runtime, state.target_window, rect) ||
        (state.target_window == runtime.window_handle(frame::画板1) &&
         !window_rect(runtime, state.framed_window, framed))) {
        end_pick(runtime);
        return;
    }
    runtime.set_text(main::编辑框1, PropertyId::text, std::to_string(state.target_window));
    state.target_width = rect[2] - rect[0];
    state.target_height = rect[3] - rect[1];
    take_window_snapshot(runtime);
    end_pick(runtime);
}

void track_hovered_window(const facade::Runtime& runtime) {
    app::ProgramState& state = app::program_state();
    const std::uint64_t previous = state.target_window;
    state.target_window = runtime.window_under_pointer();
    if (state.target_window == previous)
        return;
    // Over no window, or one that is gone already, the frame stays where it
    // is rather than outline a stale rectangle.
    if (state.target_window == 0 ||
        !succeeded(call(runtime, DllCommand::GetWindowPlacement,
                        {state.target_window, state.hovered_placement.prepare_for_query()})))
        return;
    const std::uint64_t parent = call(runtime, DllCommand::GetParent, {state.target_window});
    const WindowRect normal{state.hovered_placement.normal_left(), state.hovered_placement.normal_top(),
                            state.hovered_placement.normal_right(), state.hovered_placement.normal_bottom()};
    if (!worth_framing(normal, parent, runtime.screen_width(), runtime.screen_height()))
        return;
    if (!runtime.is_loaded(frame::kId))
        return;
    frame_window(runtime, normal);
}

void pick_or_cancel(const facade::Runtime& runtime, std::int64_t button) {
    if (!picking(runtime))
        return;
    if (button == forms::event::kRightButtonCode)
        end_pick(runtime);
    else if (button == forms::event::kLeftButtonCode)
        pick(runtime);
}

} // namespace

} // namespace vorn::capture

namespace vorn::app {

namespace main = ui::主窗口;
namespace frame = ui::边框窗口;
using forms::PropertyId;

void 按钮_截取窗口_被单击(const Runtime& runtime, const EventArgs&) {
    program_state().window_pick_mode = 1;
    runtime.set_text(main::编辑框1, PropertyId::text, "");
    runtime.set_flag(main::窗口, PropertyId::stay_on_top, false);
    runtime.window_command(main::窗口, capture::kMainWindowForeground);
    if (capture::hide_while_capturing(runtime))
        runtime.set_flag(main::窗口, PropertyId::visible, false);
    runtime.load_window(frame::kId, 0, true);
}

// Runs before the frame is first shown, so its stored shape never appears.
void 边框窗口_创建完毕(const Runtime& runtime, const EventArgs&) {
    for (facade::Control bar : {frame::标签1, frame::标签2, frame::标签3, frame::标签4})
        runtime.set_integer(bar, PropertyId::width, 0);
    for (facade::Control inner : {frame::画板1, frame::透明标签1}) {
        runtime.set_integer(inner, PropertyId::width, 0);
        runtime.set_integer(inner, PropertyId::height, 0);
    }
    runtime.set_integer(main::窗口, PropertyId::back_colour, capture::kSeeThrough);
    capture::make_see_through(runtime);
}

void 输入设备1_鼠标事件(const Runtime& runtime, const EventArgs&) {
    capture::track_hovered_window(runtime);
}

void 输入设备1_按键事件(const Runtime& runtime, const EventArgs& args) {
    capture::pick_or_cancel(runtime, args.integer(0));
}

} // namespace vorn::app
