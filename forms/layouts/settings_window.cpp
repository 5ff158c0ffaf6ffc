// The settings window: the three capture options as check boxes, stored the
// moment they change, and a close button.
#include "forms/layouts/layout.h"

namespace vorn::layouts {

namespace {

using namespace ui::设置窗口;
using namespace forms::element_flag;
using enum Entry;
using forms::PropertyId;

constexpr WindowAttributes kAttributes = {0, 1, 1, 1, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0};
constexpr std::uint32_t kInput = visible | focusable;

// The check boxes' stored state is the same for all three; the created
// handler sets each from the settings file.
constexpr std::array kElements = {
    ElementSpec{.ref = 按钮1,
                .at = {112, 128, 96, 32},
                .flags = kInput,
                .events = {{event::kClicked, 按钮1_被单击}},
                .block = {.fields = {text("关闭")}}},
    ElementSpec{.ref = 选择框3,
                .at = {32, 84, 208, 24},
                .flags = kInput,
                .events = {{event::kClicked, 选择框3_被单击}},
                .block = {.fields = {text("截图完自动自制图片到剪贴板")}}},
    ElementSpec{.ref = 选择框2,
                .at = {32, 52, 144, 24},
                .flags = kInput,
                .events = {{event::kClicked, 选择框2_被单击}},
                .block = {.fields = {text("截图完播放声音")}}},
    ElementSpec{.ref = 选择框1,
                .at = {32, 20, 144, 24},
                .flags = kInput,
                .events = {{event::kClicked, 选择框1_被单击}},
                .block = {.fields = {text("截图时隐藏本窗口")}}},
};

constexpr WindowSpec kWindow = {
    .own = {.ref = 窗口,
            .at = {50, 50, 317, 204},
            .flags = visible,
            .events = {{event::kCreated, 设置窗口_创建完毕}},
            .block = {.fields = {set(PropertyId::border_style, 2), kept("attributes", kAttributes),
                                 text("选项设置")}}},
    .unit_id = 0x19010433,
    .elements = kElements,
    .names = kNamed,
};

} // namespace

const WindowSpec& settings_window_layout() {
    return kWindow;
}

} // namespace vorn::layouts
