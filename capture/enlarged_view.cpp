// The enlarged view: the shot in a borderless window of its own that grows
// and shrinks in 5 % steps, re-centred on the screen each time, with "保存"
// and "关闭" at its top right.
#include "app/handlers.h"
#include "app/texts.h"
#include "capture/enlarged_view_geometry.h"
#include "capture/save.h"
#include "forms/layouts/elements.h"

#include <optional>

namespace vorn::app {

namespace {

namespace main = ui::主窗口;
namespace view = ui::放大窗口;
using capture::ViewRect;
using forms::PropertyId;

constexpr std::int64_t kTipStyle = -1;

ViewRect window_rect(const Runtime& runtime) {
    return {std::int32_t(runtime.integer(view::窗口, PropertyId::left)),
            std::int32_t(runtime.integer(view::窗口, PropertyId::top)),
            std::int32_t(runtime.integer(view::窗口, PropertyId::width)),
            std::int32_t(runtime.integer(view::窗口, PropertyId::height))};
}

void lay_out(const Runtime& runtime) {
    const capture::ViewLayout layout = capture::view_layout(
        runtime.integer(view::窗口, PropertyId::width), runtime.integer(view::窗口, PropertyId::height),
        runtime.integer(view::透明标签1, PropertyId::width),
        runtime.integer(view::透明标签2, PropertyId::width));
    runtime.set_integer(view::图片框1, PropertyId::height, layout.box.height);
    runtime.set_integer(view::图片框1, PropertyId::width, layout.box.width);
    runtime.set_integer(view::图片框1, PropertyId::back_colour,
                        runtime.integer(view::窗口, PropertyId::back_colour));
    runtime.set_integer(view::透明标签1, PropertyId::left, layout.close_left);
    runtime.set_integer(view::透明标签2, PropertyId::left, layout.save_left);
    runtime.set_integer(view::图片框1, PropertyId::top, layout.box.top);
    runtime.set_integer(view::图片框1, PropertyId::left, layout.box.left);
}

void resize_to(const Runtime& runtime, std::optional<ViewRect> step) {
    if (!step)
        return;
    runtime.set_integer(view::窗口, PropertyId::height, step->height);
    runtime.set_integer(view::窗口, PropertyId::width, step->width);
    runtime.set_integer(view::窗口, PropertyId::top, step->top);
    runtime.set_integer(view::窗口, PropertyId::left, step->left);
    lay_out(runtime);
}

void hover(const Runtime& runtime, forms::ElementRef label, const EventArgs& args) {
    const std::uint32_t colour = capture::label_hover_colour(args.integer(0), args.integer(1),
                                                             runtime.integer(label, PropertyId::width),
                                                             runtime.integer(label, PropertyId::height));
    // Written only on a change, so that moving within the label repaints nothing.
    if (std::uint32_t(runtime.integer(label, PropertyId::text_colour)) != colour)
        runtime.set_integer(label, PropertyId::text_colour, colour);
}

} // namespace

void 放大窗口_创建完毕(const Runtime& runtime, const EventArgs&) {
    runtime.set_block(view::图片框1, PropertyId::picture,
                      runtime.block(main::截图效果图片框, PropertyId::picture));
    lay_out(runtime);
    runtime.attach_tip(main::气球提示框1, view::图形按钮1, gbk(Text::tip_enlarge), kTipStyle);
    runtime.attach_tip(main::气球提示框1, view::图形按钮2, gbk(Text::tip_shrink), kTipStyle);
}

void 图形按钮1_被单击(const Runtime& runtime, const EventArgs&) {
    resize_to(runtime,
              capture::enlarged_view(window_rect(runtime), runtime.screen_width(), runtime.screen_height()));
}

void 图形按钮2_被单击(const Runtime& runtime, const EventArgs&) {
    resize_to(runtime,
              capture::shrunk_view(window_rect(runtime), runtime.screen_width(), runtime.screen_height()));
}

void 透明标签2_鼠标位置被移动(const Runtime& runtime, const EventArgs& args) {
    hover(runtime, view::透明标签2, args);
}

void 透明标签1_鼠标位置被移动(const Runtime& runtime, const EventArgs& args) {
    hover(runtime, view::透明标签1, args);
}

// "保存" acts on the press and closes the view whether or not anything was saved.
void 透明标签2_左键被按下(const Runtime& runtime, const EventArgs&) {
    capture::save_shown_picture(runtime);
    runtime.close_window(view::kId);
}

void 透明标签1_左键被放开(const Runtime& runtime, const EventArgs&) {
    runtime.close_window(view::kId);
}

} // namespace vorn::app
