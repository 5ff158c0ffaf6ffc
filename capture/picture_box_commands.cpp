// The commands on the shot shown in the main window's picture box: the
// context menu, clear, and opening the enlarged view from the zoom button or
// a double-click.
#include "app/handlers.h"
#include "app/program_state.h"
#include "app/texts.h"
#include "forms/layouts/elements.h"

namespace vorn::app {

namespace {

namespace main = ui::主窗口;
namespace view = ui::放大窗口;
using forms::PropertyId;

// The current shot and the clipboard stay as they are: only what is shown goes.
void clear_shown_picture(const Runtime& runtime) {
    program_state().window_pick_mode = 0;
    runtime.set_text(main::编辑框1, PropertyId::text, "");
    runtime.set_block(main::截图效果图片框, PropertyId::picture, facade::Block());
}

// Opens the view over the main window, which stays visible; no parent, so
// that the view is a window of its own on the taskbar.
void open_enlarged_view(const Runtime& runtime) {
    if (runtime.is_loaded(view::kId))
        return;
    runtime.set_flag(main::窗口, PropertyId::stay_on_top, false);
    runtime.load_window(view::kId, 0, true);
}

bool picture_shown(const Runtime& runtime) {
    return !runtime.block(main::截图效果图片框, PropertyId::picture).empty();
}

} // namespace

void 按钮_放大_被单击(const Runtime& runtime, const EventArgs&) {
    if (!picture_shown(runtime)) {
        runtime.message_box(gbk(Text::no_shot_zoom), 0);
        return;
    }
    open_enlarged_view(runtime);
}

void 截图效果图片框_被双击(const Runtime& runtime, const EventArgs&) {
    if (picture_shown(runtime))
        open_enlarged_view(runtime);
}

void 截图效果图片框_右键被按下(const Runtime& runtime, const EventArgs&) {
    runtime.popup_menu(main::kId, main::菜单_编辑.element);
}

void 按钮_清除_被单击(const Runtime& runtime, const EventArgs&) {
    clear_shown_picture(runtime);
}

void 菜单_清除图片_被选择(const Runtime& runtime, const EventArgs&) {
    clear_shown_picture(runtime);
}

} // namespace vorn::app
