// The region overlay: a borderless window that its created handler stretches
// over the whole screen, with a frozen picture of the screen on a canvas on
// which the user drags the rectangle to capture.
#include "forms/layouts/layout.h"

namespace vorn::layouts {

namespace {

using namespace ui::区域窗口;
using namespace forms::element_flag;
using enum Entry;
using forms::PropertyId;

constexpr WindowAttributes kAttributes = {0, 0, 1, 1, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0};
constexpr std::array<std::uint32_t, 4> kDragCanvasFields4To7 = {1, 0, 0, 1};

constexpr std::array kElements = {
    // No code opens this dialog.
    ElementSpec{.ref = 通用对话框,
                .at = {200, -13, 24, 24},
                .block = {.fields = {set_text(PropertyId::filter, "图片文件(*.jpg;*.bmp)|*.jpg;*.bmp"),
                                     set_text(PropertyId::default_extension, "bmp")}}},
    // Receives the selected part of the screen picture when the drag ends.
    ElementSpec{.ref = 后台画板,
                .at = {256, 120, 96, 80},
                .flags = bit4,
                .block = {.fields = {back_colour(0x00FFFFFF)}}},
    // The rectangle of a drag is drawn with this canvas's own pen: red, two
    // pixels wide, in drawing mode 5, without filling it.
    ElementSpec{
        .ref = 画板,
        .at = {8, 8, 168, 136},
        .flags = visible | focusable | bit4,
        .cursor = forms::cursor_id::cross,
        .events = {{event::kLeftButtonDown, 画板_左键被按下},
                   {event::kMouseMoved, 画板_鼠标位置被移动},
                   {event::kLeftButtonUp, 画板_左键被放开},
                   {event::kRightButtonDown, 画板_右键被按下}},
        .block = {.fields = {back_colour(0x00FFFFFF), kept("fields 4-7", kDragCanvasFields4To7),
                             set(PropertyId::draw_mode, 5), set(PropertyId::pen_width, 2),
                             set(PropertyId::pen_colour, 0x000000FF), set(PropertyId::brush_type, 0)}}},
};

// Version 5 of the window block, which has no class name.
constexpr WindowSpec kWindow = {
    .own = {.ref = 窗口,
            .at = {50, 50, 380, 250},
            .flags = visible,
            .events = {{event::kCreated, 区域窗口_创建完毕}},
            .block = {.version = 5,
                      .fields = {set(PropertyId::border_style, 0), kept("attributes", kAttributes),
                                 text("捕获指定区域")}}},
    .unit_id = 0x190100B9,
    .elements = kElements,
    .names = kNamed,
};

} // namespace

const WindowSpec& region_overlay_layout() {
    return kWindow;
}

} // namespace vorn::layouts
