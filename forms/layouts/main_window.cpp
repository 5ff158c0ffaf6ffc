// The main window: the row of picture buttons that starts every action, the
// picture box that shows the current shot with its popup menu, the hidden
// promotional row, and the components the actions use.
#include "forms/layouts/balloon_style.h"
#include "forms/layouts/layout.h"

namespace vorn::layouts {

namespace {

using namespace ui::主窗口;
using namespace forms::element_flag;
using enum Entry;
using forms::PropertyId;
constexpr std::uint32_t kHand = forms::cursor_id::hand;

constexpr WindowAttributes kAttributes = {0, 0, 1, 1, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0};

// Every picture button of the row: 40 x 48, the picture above the caption.
constexpr std::uint32_t kRowButton = visible | focusable | bit4;
constexpr Rect row_button(std::int32_t left) {
    return {left, 8, 40, 48};
}

// The background label's colour fields 10 to 17; 12 to 14 are the runtime's
// gradient colours, kept as stored.
constexpr std::array<std::uint32_t, 8> kBackgroundColours = {0,          0, 0x00FFFFFF, 0x00D8D8B4,
                                                             0x00E03058, 0, 0,          0};

// The balloon tip's configuration after the version, as its library reads it:
// shape and timing, width and margins, then the tip's colours (pale yellow
// back, black text, grey border), the rest left at the library's defaults.
constexpr std::array<std::uint32_t, 43> kBalloonFields = {
    1,          1,          500,        5000,       300,        6, 6, 6, 6, //
    0x00E1FFFF, 0x00000000, 0x00808080, 0x00000000, 0x00E1FFFF, 0, 0, 0, 0, //
    0,          0,          0,          0,          0,          0, 0, 0, 0, //
    0,          0,          0,          0,          0,          0, 0, 0, 0, //
    0,          0,          0,          0,          0,          0, 0,
};

// Components have no window; their place only matters to a form designer.
constexpr Rect component(std::int32_t left, std::int32_t size = 24) {
    return {left, -13, size, size};
}

constexpr std::array kElements = {
    ElementSpec{.ref = 按钮_复制,
                .at = row_button(238),
                .flags = kRowButton,
                .cursor = kHand,
                .events = {{event::kClicked, 按钮_复制_被单击}},
                .block = {.fields = {text("复制"), picture(Picture::copy)}}},
    ElementSpec{.ref = 气球提示框1,
                .at = component(472),
                .block = {.fields = {kept("fields 2-44", kBalloonFields),
                                     set_text(PropertyId::style_sheet, kBalloonStyleSheet)}}},
    ElementSpec{.ref = 打印机1, .at = component(500, 26)},
    // Beyond the right edge of the client area, so never seen: closing the
    // window ends the program just the same.
    ElementSpec{.ref = 按钮_退出,
                .at = {680, 24, 40, 48},
                .flags = visible | focusable,
                .cursor = kHand,
                .events = {{event::kClicked, 按钮_退出_被单击}},
                .block = {.fields = {text("退出"), picture(Picture::exit)}}},
    ElementSpec{.ref = 按钮_打印,
                .at = row_button(376),
                .flags = kRowButton,
                .cursor = kHand,
                .events = {{event::kClicked, 按钮_打印_被单击}},
                .block = {.fields = {text("打印"), picture(Picture::print)}}},
    ElementSpec{.ref = 透明标签1,
                .at = {8, 485, 56, 16},
                .flags = bit4,
                .block = {.fields = {text("更多软件:"), text_colour(0x00FF0000)}}},
    ElementSpec{.ref = 按钮_关于,
                .at = row_button(624),
                .flags = kRowButton,
                .cursor = kHand,
                .events = {{event::kClicked, 按钮_关于_被单击}},
                .block = {.fields = {text("关于"), picture(Picture::about)}}},
    ElementSpec{.ref = 按钮_放大,
                .at = row_button(146),
                .flags = kRowButton,
                .cursor = kHand,
                .events = {{event::kClicked, 按钮_放大_被单击}},
                .block = {.fields = {text("放大"), picture(Picture::zoom)}}},
    ElementSpec{.ref = 按钮_清除,
                .at = row_button(284),
                .flags = kRowButton,
                .cursor = kHand,
                .events = {{event::kClicked, 按钮_清除_被单击}},
                .block = {.fields = {text("清除"), picture(Picture::clear)}}},
    ElementSpec{.ref = 按钮_保存,
                .at = row_button(330),
                .flags = kRowButton,
                .cursor = kHand,
                .events = {{event::kClicked, 按钮_保存_被单击}},
                .block = {.fields = {text("保存"), picture(Picture::save)}}},
    ElementSpec{.ref = 按钮_设置,
                .at = row_button(426),
                .flags = kRowButton,
                .cursor = kHand,
                .events = {{event::kClicked, 按钮_设置_被单击}},
                .block = {.fields = {text("设置"), picture(Picture::settings)}}},
    ElementSpec{.ref = 按钮_编辑,
                .at = row_button(192),
                .flags = kRowButton,
                .cursor = kHand,
                .events = {{event::kClicked, 按钮_编辑_被单击}},
                .block = {.fields = {text("编辑"), picture(Picture::edit)}}},
    ElementSpec{.ref = 按钮_截取窗口,
                .at = row_button(8),
                .flags = kRowButton,
                .cursor = kHand,
                .events = {{event::kClicked, 按钮_截取窗口_被单击}},
                .block = {.fields = {text("窗口"), picture(Picture::capture_window)}}},
    ElementSpec{.ref = 按钮_截取全屏,
                .at = row_button(54),
                .flags = kRowButton,
                .cursor = kHand,
                .events = {{event::kClicked, 按钮_截取全屏_被单击}},
                .block = {.fields = {text("全屏"), picture(Picture::capture_full_screen)}}},
    ElementSpec{.ref = 按钮_截取区域,
                .at = row_button(100),
                .flags = kRowButton,
                .cursor = kHand,
                .events = {{event::kClicked, 按钮_截取区域_被单击}},
                .block = {.fields = {text("区域"), picture(Picture::capture_region)}}},
    // The promotional row is hidden at start-up and stays hidden; its entry
    // is ours to choose.
    ElementSpec{.ref = 广告标签,
                .at = {0, 0, 458, 24},
                .flags = bit4,
                .cursor = kHand,
                .parent = 外形框1.element,
                .events = {{event::kLeftButtonDown, 广告标签_左键被按下}},
                .block = {.fields = {text("欢迎使用Vorn截图工具"), text_colour(0x00FF0000),
                                     back_colour(0x0000FFFF)}}},
    ElementSpec{.ref = 外形框1, .at = {70, 481, 453, 24}, .flags = bit4},
    ElementSpec{.ref = 时钟2, .at = component(530)},
    // A period of 0 never fires, so the promotional entry never changes.
    ElementSpec{.ref = 时钟1,
                .at = component(558),
                .events = {{event::kIntervalElapsed, 时钟1_周期事件}},
                .block = {.fields = {set(PropertyId::interval, 0)}}},
    // Outside the client area: the capture and clear actions keep a value in
    // its text, which nobody is meant to see.
    ElementSpec{.ref = 编辑框1, .at = {700, 16, 80, 24}, .flags = visible | focusable | bit4},
    // The save action sets the filter before it opens the dialog.
    ElementSpec{.ref = 通用对话框1, .at = component(586)},
    ElementSpec{.ref = 按钮2,
                .at = {718, 56, 116, 24},
                .flags = focusable,
                .events = {{event::kClicked, 按钮2_被单击}},
                .block = {.fields = {text("截取整个屏幕")}}},
    ElementSpec{.ref = 输入设备1,
                .at = component(614, 26),
                .events = {{event::kMouseInput, 输入设备1_鼠标事件}, {event::kKeyInput, 输入设备1_按键事件}}},
    ElementSpec{.ref = 截图效果图片框,
                .at = {8, 64, 656, 413},
                .flags = visible,
                .events = {{event::kDoubleClicked, 截图效果图片框_被双击},
                           {event::kRightButtonDown, 截图效果图片框_右键被按下}}},
    // The white background behind everything, wider than the window on both sides.
    ElementSpec{.ref = 标签2,
                .at = {-27, -1, 795, 513},
                .flags = visible | bit4,
                .block = {.fields = {back_colour(0x00FFFFFF), kept("fields 10-17", kBackgroundColours)}}},
};

// The menu that the picture box pops up; the top item itself opens the list.
constexpr std::array kMenuItems = {
    MenuItemSpec{菜单_编辑, 0, "编辑", std::nullopt},
    MenuItemSpec{菜单_清除图片, 1, "清除图片", 菜单_清除图片_被选择},
    MenuItemSpec{菜单_复制图片, 1, "复制图片", 菜单_复制图片_被选择},
    MenuItemSpec{菜单_打印图片, 1, "打印图片", 菜单_打印图片_被选择},
    MenuItemSpec{菜单_保存图片, 1, "保存图片", 菜单_保存图片_被选择},
};

constexpr WindowSpec kWindow = {
    // Stored hidden: the created handler sets the product caption and shows it.
    .own = {.ref = 窗口,
            .at = {50, 50, 678, 554},
            .flags = 0,
            .events = {{event::kCreated, 主窗口_创建完毕}, {event::kBeingDestroyed, 主窗口_将被销毁}},
            .block = {.fields = {set(PropertyId::border_style, 2), back_colour(0x00FFFF00),
                                 kept("attributes", kAttributes), text("Vorn截图工具2.0")}}},
    .unit_id = 0x19010005,
    .elements = kElements,
    .menu = kMenuItems,
    .names = kNamed,
};

} // namespace

const WindowSpec& main_window_layout() {
    return kWindow;
}

} // namespace vorn::layouts
