// Drawing ellipses, rectangles and arrows with the mouse. While the button
// is held, every movement draws the shape on a fresh copy of the canvas as
// it was when the drag began (the cache), on the hidden relay canvas, and
// shows the relay: the shape follows the pointer without smearing.
#include "app/handlers.h"
#include "app/numbers.h"
#include "app/program_state.h"
#include "app/texts.h"
#include "editor/arrow_head.h"
#include "editor/editor.h"
#include "forms/layouts/elements.h"

#include <vector>

namespace vorn::editor {

namespace {

namespace edit = ui::编辑窗口;
using app::gbk;
using app::Text;
using forms::PropertyId;

constexpr std::int64_t kHeadPenWidth = 3;
constexpr std::int64_t kHeadCorners = 3;

void copy_whole(const facade::Runtime& runtime, facade::Control from, facade::Control to) {
    runtime.canvas_copy(from, {}, {}, {}, {}, to);
}

void draw_head(const facade::Runtime& runtime, std::int32_t x0, std::int32_t y0, std::int32_t dx,
               std::int32_t dy) {
    const HeadPoints head =
        arrow_head(x0, y0, dx, dy, app::to_integer(runtime.text(edit::编辑框1, PropertyId::text)));
    runtime.set_integer(edit::画板_中转, PropertyId::brush_type, 1);
    runtime.set_integer(edit::画板_中转, PropertyId::brush_colour,
                        runtime.integer(edit::颜色选择钮1, PropertyId::colour));
    runtime.set_integer(edit::画板_中转, PropertyId::pen_width, kHeadPenWidth);
    runtime.canvas_polygon(edit::画板_中转, std::vector<std::int32_t>(head.begin(), head.end()),
                           kHeadCorners);
}

void draw_shape(const facade::Runtime& runtime, std::int32_t x, std::int32_t y) {
    const app::ProgramState& state = app::program_state();
    const std::string& tool = current_tool();
    runtime.set_integer(edit::画板_中转, PropertyId::pen_width,
                        app::to_integer(runtime.text(edit::编辑框1, PropertyId::text)));
    runtime.set_integer(edit::画板_中转, PropertyId::pen_colour,
                        runtime.integer(edit::颜色选择钮1, PropertyId::colour));
    copy_whole(runtime, edit::画板_缓存, edit::画板_中转); // the last movement's shape goes
    runtime.set_integer(edit::画板_中转, PropertyId::brush_type, 0);
    if (tool == gbk(Text::tool_arrow))
        runtime.canvas_line(edit::画板_中转, state.draw_start_x, state.draw_start_y, x, y);
    else if (tool == gbk(Text::tool_circle))
        runtime.canvas_ellipse(edit::画板_中转, state.draw_start_x, state.draw_start_y, x, y);
    else if (tool == gbk(Text::tool_rectangle))
        runtime.canvas_rectangle(edit::画板_中转, state.draw_start_x, state.draw_start_y, x, y);
    if (tool == gbk(Text::tool_arrow))
        draw_head(runtime, state.draw_start_x, state.draw_start_y, x - state.draw_start_x,
                  y - state.draw_start_y);
    copy_whole(runtime, edit::画板_中转, edit::画板_前台);
}

} // namespace

} // namespace vorn::editor

namespace vorn::app {

namespace edit = ui::编辑窗口;

void 画板_前台_左键被按下(const Runtime& runtime, const EventArgs& args) {
    if (editor::current_tool().empty())
        return;
    if (editor::text_tool_current()) {
        editor::place_text_box(runtime, args.integer(0), args.integer(1));
        return;
    }
    ProgramState& state = program_state();
    state.draw_start_x = std::int32_t(args.integer(0));
    state.draw_start_y = std::int32_t(args.integer(1));
    state.drawing = 1;
    editor::copy_whole(runtime, edit::画板_前台, edit::画板_缓存);
}

void 画板_前台_鼠标位置被移动(const Runtime& runtime, const EventArgs& args) {
    if (program_state().drawing == 1)
        editor::draw_shape(runtime, std::int32_t(args.integer(0)), std::int32_t(args.integer(1)));
}

void 画板_前台_左键被放开(const Runtime&, const EventArgs&) {
    if (!editor::current_tool().empty() && !editor::text_tool_current())
        program_state().drawing = 0;
}

} // namespace vorn::app
