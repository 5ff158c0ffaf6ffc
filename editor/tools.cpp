// Choosing an annotation tool, the colour and font-size controls, and text:
// the floating text box placed at a press on the canvas and stamped onto it
// on Enter.
#include "app/handlers.h"
#include "app/numbers.h"
#include "app/program_state.h"
#include "app/settings.h"
#include "app/texts.h"
#include "editor/editor.h"
#include "forms/layouts/elements.h"

#include <array>
#include <string>

namespace vorn::editor {

namespace {

namespace edit = ui::编辑窗口;
using app::gbk;
using app::Text;
using forms::PropertyId;

constexpr std::int64_t kChosenColour = 0x0000FFFF; // yellow
constexpr std::int64_t kToolColour = 0x00C0C0C0;   // grey, as the labels are stored
constexpr std::int64_t kEnterKey = 13;
constexpr std::int64_t kEmptyTextBoxWidth = 32;
constexpr double kTextBoxPadding = 20.0;

std::string tool_key(Text key) {
    return current_tool() + std::string(gbk(key));
}

// The labels are recoloured in this order, the chosen one last.
void highlight(const facade::Runtime& runtime, const std::array<facade::Control, 3>& others,
               facade::Control chosen) {
    for (facade::Control label : others)
        runtime.set_integer(label, PropertyId::back_colour, kToolColour);
    runtime.set_integer(chosen, PropertyId::back_colour, kChosenColour);
}

// What every tool brings back from the settings file: its line width and colour.
void choose(const facade::Runtime& runtime, Text tool) {
    app::program_state().current_tool = std::string(gbk(tool));
    runtime.set_text(edit::编辑框1, PropertyId::text,
                     app::read_setting(runtime, Text::section_edit, tool_key(Text::key_line_width),
                                       Text::default_line_width));
    runtime.set_integer(edit::颜色选择钮1, PropertyId::colour,
                        app::to_integer(app::read_setting(runtime, Text::section_edit,
                                                          tool_key(Text::key_colour), Text::default_colour)));
}

// A shape tool drops a text being typed; it is not stamped.
void choose_shape(const facade::Runtime& runtime, Text tool, const std::array<facade::Control, 3>& others,
                  facade::Control chosen) {
    choose(runtime, tool);
    highlight(runtime, others, chosen);
    runtime.set_flag(edit::文字框, PropertyId::visible, false);
    runtime.set_text(edit::文字框, PropertyId::text, "");
}

// The text tool keeps a text being typed where it is, in the stored font
// size and font and the colour now chosen.
void choose_text(const facade::Runtime& runtime) {
    choose(runtime, Text::tool_text);
    runtime.set_text(edit::编辑框2, PropertyId::text,
                     app::read_setting(runtime, Text::section_edit, std::string(gbk(Text::key_font_size)),
                                       Text::default_font_size));
    runtime.set_font_name(
        edit::高级字体选择框1,
        app::read_setting(runtime, Text::section_edit, std::string(gbk(Text::key_font)), Text::default_font));
    runtime.set_font_size(edit::文字框, app::to_integer(runtime.text(edit::编辑框2, PropertyId::text)));
    runtime.set_font_name(edit::文字框, runtime.font_name(edit::高级字体选择框1));
    runtime.set_integer(edit::文字框, PropertyId::text_colour,
                        runtime.integer(edit::颜色选择钮1, PropertyId::colour));
    highlight(runtime, {edit::标签2, edit::标签3, edit::标签4}, edit::标签1);
}

// Where a canvas point lies in the window: the canvas sits in the frame.
std::int64_t window_offset_x(const facade::Runtime& runtime) {
    return runtime.integer(edit::外形框1, PropertyId::left) +
           runtime.integer(edit::画板_前台, PropertyId::left);
}

std::int64_t window_offset_y(const facade::Runtime& runtime) {
    return runtime.integer(edit::外形框1, PropertyId::top) +
           runtime.integer(edit::画板_前台, PropertyId::top);
}

void stamp_text(const facade::Runtime& runtime) {
    runtime.set_font_size(edit::画板_前台, app::to_integer(runtime.text(edit::编辑框2, PropertyId::text)));
    runtime.set_font_name(edit::画板_前台, runtime.font_name(edit::高级字体选择框1));
    runtime.set_integer(edit::画板_前台, PropertyId::text_colour,
                        runtime.integer(edit::文字框, PropertyId::text_colour));
    const std::int64_t x = runtime.integer(edit::文字框, PropertyId::left) - window_offset_x(runtime);
    const std::int64_t y = runtime.integer(edit::文字框, PropertyId::top) - window_offset_y(runtime);
    runtime.canvas_write_text(edit::画板_前台, x, y, runtime.text(edit::文字框, PropertyId::text));
    runtime.set_text(edit::文字框, PropertyId::text, "");
    runtime.set_integer(edit::文字框, PropertyId::width, kEmptyTextBoxWidth);
    runtime.set_flag(edit::文字框, PropertyId::visible, false);
}

} // namespace

void place_text_box(const facade::Runtime& runtime, std::int64_t x, std::int64_t y) {
    runtime.set_flag(edit::文字框, PropertyId::visible, true);
    runtime.move(edit::文字框, window_offset_x(runtime) + x, window_offset_y(runtime) + y);
    runtime.give_focus(edit::文字框);
}

} // namespace vorn::editor

namespace vorn::app {

namespace edit = ui::编辑窗口;
using forms::PropertyId;

void 标签1_左键被按下(const Runtime& runtime, const EventArgs&) {
    editor::choose_text(runtime);
}

void 标签2_左键被按下(const Runtime& runtime, const EventArgs&) {
    editor::choose_shape(runtime, Text::tool_circle, {edit::标签1, edit::标签3, edit::标签4}, edit::标签2);
}

void 标签3_左键被按下(const Runtime& runtime, const EventArgs&) {
    editor::choose_shape(runtime, Text::tool_arrow, {edit::标签2, edit::标签1, edit::标签4}, edit::标签3);
}

void 标签4_左键被按下(const Runtime& runtime, const EventArgs&) {
    editor::choose_shape(runtime, Text::tool_rectangle, {edit::标签2, edit::标签3, edit::标签1}, edit::标签4);
}

void 颜色选择钮1_颜色被改变(const Runtime& runtime, const EventArgs&) {
    const std::int64_t colour = runtime.integer(edit::颜色选择钮1, PropertyId::colour);
    runtime.set_integer(edit::文字框, PropertyId::text_colour, colour);
    write_setting(runtime, Text::section_edit, editor::tool_key(Text::key_colour), std::to_string(colour));
}

// Stored as typed, with no range check; a size that is no number is 0.
void 编辑框2_内容被改变(const Runtime& runtime, const EventArgs&) {
    const std::string typed = runtime.text(edit::编辑框2, PropertyId::text);
    runtime.set_font_size(edit::文字框, to_integer(typed));
    write_setting(runtime, Text::section_edit, std::string(gbk(Text::key_font_size)), typed);
}

void 文字框_内容被改变(const Runtime& runtime, const EventArgs&) {
    runtime.set_integer(edit::文字框, PropertyId::width,
                        std::int64_t(double(editor::measure_text_width(runtime)) + editor::kTextBoxPadding));
}

void 文字框_按下某键(const Runtime& runtime, const EventArgs& args) {
    if (args.integer(0) == editor::kEnterKey)
        editor::stamp_text(runtime);
}

} // namespace vorn::app
