// The enlarged view: a borderless dark window showing the shot larger, with
// two small buttons that grow or shrink it and the labels "保存" and "关闭".
#include "forms/layouts/layout.h"

namespace vorn::layouts {

namespace {

using namespace ui::放大窗口;
using namespace forms::element_flag;
using enum Entry;
using forms::PropertyId;

constexpr WindowAttributes kAttributes = {0, 1, 1, 1, 1, 0, 0, 1, 0, 0, 1, 1, 0, 0, 0};
constexpr std::uint32_t kRed = 0x000000FF;

// "保存" acts when the button goes down, "关闭" when it comes up; both change
// colour while the pointer is over them.
constexpr std::array kElements = {
    ElementSpec{.ref = 图形按钮2,
                .at = {36, 3, 16, 16},
                .flags = visible,
                .events = {{event::kClicked, 图形按钮2_被单击}},
                .block = {.fields = {picture(Picture::shrink)}}},
    ElementSpec{.ref = 图形按钮1,
                .at = {8, 3, 16, 16},
                .flags = visible,
                .events = {{event::kClicked, 图形按钮1_被单击}},
                .block = {.fields = {picture(Picture::enlarge)}}},
    ElementSpec{.ref = 透明标签2,
                .at = {694, 2, 30, 20},
                .flags = visible | bit4,
                .cursor = forms::cursor_id::hand,
                .events = {{event::kLeftButtonDown, 透明标签2_左键被按下},
                           {event::kMouseMoved, 透明标签2_鼠标位置被移动}},
                .block = {.fields = {text("保存"), text_colour(kRed)}}},
    ElementSpec{.ref = 透明标签1,
                .at = {740, 2, 30, 20},
                .flags = visible | bit4,
                .cursor = forms::cursor_id::hand,
                .events = {{event::kLeftButtonUp, 透明标签1_左键被放开},
                           {event::kMouseMoved, 透明标签1_鼠标位置被移动}},
                .block = {.fields = {text("关闭"), text_colour(kRed)}}},
    // The same picture-box block as the main window's: its created handler
    // copies the shot across and lays the box out from the window's size.
    ElementSpec{.ref = 图片框1, .at = {128, 20, 464, 488}, .flags = visible},
};

constexpr WindowSpec kWindow = {
    .own = {.ref = 窗口,
            .at = {50, 50, 860, 574},
            .flags = visible,
            .events = {{event::kCreated, 放大窗口_创建完毕}},
            .block = {.fields = {set(PropertyId::border_style, 0), back_colour(0x00313131),
                                 kept("attributes", kAttributes)}}},
    .unit_id = 0x19010129,
    .elements = kElements,
    .names = kNamed,
};

} // namespace

const WindowSpec& enlarged_view_layout() {
    return kWindow;
}

} // namespace vorn::layouts
