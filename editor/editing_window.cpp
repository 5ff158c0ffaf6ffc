// The editing window as a whole: opening it on the shot, laying it out round
// the shot, the line-width box and the font picker, the text measurement,
// and handing the edited picture back.
#include "app/handlers.h"
#include "app/numbers.h"
#include "app/program_state.h"
#include "app/settings.h"
#include "app/texts.h"
#include "capture/clipboard.h"
#include "editor/editor.h"
#include "editor/layout.h"
#include "forms/layouts/elements.h"

namespace vorn::editor {

namespace {

namespace main = ui::主窗口;
namespace edit = ui::编辑窗口;
using app::gbk;
using app::Text;
using forms::PropertyId;

constexpr std::int64_t kTextBoxPadding = 10;
constexpr std::int64_t kMessageStyle = 0;

// The shot goes on the canvas from memory. The temporary file is still
// written beside the program for those who look for it there, but a
// read-only install directory must not leave the editor showing a stale
// picture from an earlier run, or none.
void put_shot_on_canvas(const facade::Runtime& runtime, const facade::Block& shot) {
    runtime.write_file(runtime.run_directory() + std::string(gbk(Text::temp_file)), shot.view());
    runtime.set_block(edit::画板_前台, PropertyId::background_picture, shot);
    runtime.set_integer(edit::画板_前台, PropertyId::width, runtime.picture_width(shot));
    runtime.set_integer(edit::画板_前台, PropertyId::height, runtime.picture_height(shot));
}

void set_size(const facade::Runtime& runtime, facade::Control control, std::int64_t width,
              std::int64_t height) {
    runtime.set_integer(control, PropertyId::width, width);
    runtime.set_integer(control, PropertyId::height, height);
}

void lay_out(const facade::Runtime& runtime) {
    const EditorLayout layout = lay_out_editor(runtime.integer(edit::画板_前台, PropertyId::width),
                                               runtime.integer(edit::画板_前台, PropertyId::height),
                                               runtime.screen_width(), runtime.screen_height());
    set_size(runtime, edit::画板_前台, layout.canvas_width, layout.canvas_height);
    set_size(runtime, edit::外形框1, layout.frame_width, layout.frame_height);
    runtime.set_integer(edit::画板_前台, PropertyId::left, layout.canvas_left);
    runtime.set_integer(edit::画板_前台, PropertyId::top, layout.canvas_top);
    for (facade::Control scratch : {edit::画板_中转, edit::画板_缓存}) {
        set_size(runtime, scratch, layout.canvas_width, layout.canvas_height);
        runtime.set_integer(scratch, PropertyId::left, layout.canvas_left);
        runtime.set_integer(scratch, PropertyId::top, layout.canvas_top);
    }
    set_size(runtime, edit::窗口, layout.window_width, layout.window_height);
    runtime.set_integer(edit::文字框, PropertyId::width, measure_text_width(runtime) + kTextBoxPadding);
    // Its own taskbar button: the main window, which has one, is hidden.
    runtime.set_flag(edit::窗口, PropertyId::taskbar_button, true);
    runtime.set_integer(edit::窗口, PropertyId::top, layout.window_top);
    runtime.set_integer(edit::窗口, PropertyId::left, layout.window_left);
}

void attach_tool_tips(const facade::Runtime& runtime) {
    runtime.attach_tip(main::气球提示框1, edit::标签1, gbk(Text::tip_text_tool));
    runtime.attach_tip(main::气球提示框1, edit::标签2, gbk(Text::tip_circle_tool));
    runtime.attach_tip(main::气球提示框1, edit::标签4, gbk(Text::tip_rectangle_tool));
    runtime.attach_tip(main::气球提示框1, edit::标签3, gbk(Text::tip_arrow_tool));
}

} // namespace

std::int64_t measure_text_width(const facade::Runtime& runtime) {
    runtime.set_font_name(edit::画板2, runtime.font_name(edit::文字框));
    runtime.set_font_size(edit::画板2, runtime.font_size(edit::文字框));
    runtime.set_text(edit::标签_测量, PropertyId::text, runtime.text(edit::文字框, PropertyId::text));
    return runtime.canvas_text_width(edit::画板2, runtime.text(edit::标签_测量, PropertyId::text));
}

const std::string& current_tool() {
    return app::program_state().current_tool;
}

bool text_tool_current() {
    return current_tool() == gbk(Text::tool_text);
}

} // namespace vorn::editor

namespace vorn::app {

namespace main = ui::主窗口;
namespace edit = ui::编辑窗口;
using forms::PropertyId;

void 按钮_编辑_被单击(const Runtime& runtime, const EventArgs&) {
    runtime.set_flag(main::窗口, PropertyId::stay_on_top, false);
    if (runtime.block(main::截图效果图片框, PropertyId::picture).empty()) {
        runtime.message_box(gbk(Text::no_shot_edit), editor::kMessageStyle);
        return;
    }
    runtime.set_flag(main::窗口, PropertyId::visible, false);
    runtime.load_window(edit::kId, 0, true);
}

void 编辑窗口_创建完毕(const Runtime& runtime, const EventArgs&) {
    editor::put_shot_on_canvas(runtime, runtime.block(main::截图效果图片框, PropertyId::picture));
    editor::lay_out(runtime);
    editor::attach_tool_tips(runtime);
}

// However the window goes, the main window comes back; an edit not handed
// back is lost.
void 编辑窗口_将被销毁(const Runtime& runtime, const EventArgs&) {
    runtime.set_flag(main::窗口, PropertyId::visible, true);
}

void 编辑框1_内容被改变(const Runtime& runtime, const EventArgs&) {
    if (to_integer(runtime.text(edit::编辑框1, PropertyId::text)) < 1)
        runtime.set_text(edit::编辑框1, PropertyId::text, "1");
    if (editor::text_tool_current())
        return; // the text tool has no line width of its own
    write_setting(runtime, Text::section_edit,
                  editor::current_tool() + std::string(gbk(Text::key_line_width)),
                  runtime.text(edit::编辑框1, PropertyId::text));
}

void 高级字体选择框1_字体被改变(const Runtime& runtime, const EventArgs&) {
    const std::string name = runtime.font_name(edit::高级字体选择框1);
    runtime.set_font_name(edit::文字框, name);
    write_setting(runtime, Text::section_edit, std::string(gbk(Text::key_font)), name);
}

void 超级按钮3_被单击(const Runtime& runtime, const EventArgs&) {
    {
        // The picture box holds these very bytes now: they go to the
        // clipboard without a second copy of a whole picture.
        const facade::Block edited = runtime.canvas_picture(edit::画板_前台, 0, 0);
        runtime.set_block(main::截图效果图片框, PropertyId::picture, edited);
        capture::transfer_to_clipboard(runtime, edited);
    }
    runtime.set_flag(main::窗口, PropertyId::visible, true);
    runtime.close_window(edit::kId);
}

} // namespace vorn::app
