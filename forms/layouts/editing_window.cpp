// The editing window: the tool row along the top (text, circle, rectangle and
// arrow labels, line width, colour, font size and font), the button that ends
// the editing, and the framed drawing area: the visible foreground canvas and
// two hidden scratch canvases the shape tools draw through.
#include "forms/layouts/layout.h"

namespace vorn::layouts {

namespace {

using namespace ui::编辑窗口;
using namespace forms::element_flag;
using enum Entry;
using forms::PropertyId;

constexpr WindowAttributes kAttributes = {0, 1, 1, 1, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0};

constexpr std::uint32_t kShown = visible | bit4;             // labels, the frame, the foreground canvas
constexpr std::uint32_t kInput = visible | focusable | bit4; // edit boxes and pickers
constexpr std::uint32_t kHelper = bit4;                      // hidden auxiliaries

constexpr std::uint32_t kToolInk = 0x00FF0000;
constexpr std::uint32_t kToolPaper = 0x00C0C0C0;
// The glyphs of the tool labels fill their 32 x 32 squares; the arrow needs
// less height to stay on one line.
constexpr std::int32_t kToolGlyph = -21;
constexpr std::int32_t kArrowGlyph = -16;

constexpr std::array<std::uint32_t, 4> kForegroundFields4To7 = {2, 1, 0, 1};

// Outlines only: the shapes are drawn without filling them.
constexpr BlockSpec kScratchCanvas = {.fields = {set(PropertyId::brush_type, 0)}};

constexpr ElementSpec tool_label(forms::ElementRef ref, std::int32_t left, Entry chosen,
                                 std::string_view glyph, std::int32_t height) {
    return {.ref = ref,
            .at = {left, 5, 32, 32},
            .flags = kShown,
            .cursor = forms::cursor_id::hand,
            .events = {{event::kLeftButtonDown, chosen}},
            .block = {.fields = {text(glyph), chinese_font(height), text_colour(kToolInk),
                                 back_colour(kToolPaper)}}};
}

constexpr ElementSpec caption_label(forms::ElementRef ref, Rect at, std::string_view caption) {
    return {.ref = ref, .at = at, .flags = kShown, .block = {.fields = {text(caption)}}};
}

constexpr std::array kElements = {
    ElementSpec{.ref = 超级按钮3,
                .at = {528, 5, 32, 32},
                .flags = visible | focusable,
                .events = {{event::kClicked, 超级按钮3_被单击}},
                .block = {.fields = {picture(Picture::finish_edit)}}},
    // Shown by the text tool where the user clicks; Enter draws its text.
    ElementSpec{.ref = 文字框,
                .at = {240, 120, 24, 24},
                .flags = focusable | bit4,
                .events = {{event::kKeyDown, 文字框_按下某键}, {event::kContentChanged, 文字框_内容被改变}},
                .block = {.fields = {back_colour(0x00FFFFFF), kept("field 2", 5)}}},
    ElementSpec{.ref = 画板_前台,
                .at = {136, 40, 278, 232},
                .flags = kShown,
                .parent = 外形框1.element,
                .events = {{event::kLeftButtonDown, 画板_前台_左键被按下},
                           {event::kMouseMoved, 画板_前台_鼠标位置被移动},
                           {event::kLeftButtonUp, 画板_前台_左键被放开}},
                .block = {.fields = {back_colour(0x00C0C0C0), kept("fields 4-7", kForegroundFields4To7),
                                     set(PropertyId::brush_type, 0)}}},
    ElementSpec{.ref = 外形框1, .at = {9, 44, 552, 320}, .flags = kShown},
    ElementSpec{.ref = 高级字体选择框1,
                .at = {437, 10, 56, 24},
                .flags = kInput,
                .events = {{event::kFontChosen, 高级字体选择框1_字体被改变}}},
    caption_label(标签8, {405, 10, 24, 24}, "字体"),
    // The text-width measurement writes the typed text here and measures it
    // in 画板2's font; neither is ever shown.
    ElementSpec{.ref = 标签_测量, .at = {560, 72, 32, 24}, .flags = kHelper},
    ElementSpec{.ref = 画板2, .at = {560, 104, 24, 24}, .flags = kHelper},
    tool_label(标签1, 8, 标签1_左键被按下, "字", kToolGlyph),
    ElementSpec{.ref = 编辑框2,
                .at = {365, 10, 32, 24},
                .flags = kInput,
                .events = {{event::kContentChanged, 编辑框2_内容被改变}},
                .block = {.fields = {text("16")}}},
    caption_label(标签7, {333, 10, 32, 24}, "字号"),
    caption_label(标签6, {269, 10, 24, 24}, "颜色"),
    ElementSpec{.ref = 颜色选择钮1,
                .at = {301, 10, 24, 24},
                .flags = kInput,
                .events = {{event::kColourChosen, 颜色选择钮1_颜色被改变}}},
    caption_label(标签5, {205, 10, 24, 24}, "线粗"),
    // Whole numbers only: the line width.
    ElementSpec{.ref = 编辑框1,
                .at = {237, 10, 24, 24},
                .flags = kInput,
                .events = {{event::kContentChanged, 编辑框1_内容被改变}},
                .block = {.fields = {text("3"), set(PropertyId::input_mode, 3)}}},
    tool_label(标签4, 88, 标签4_左键被按下, "□", kToolGlyph),
    tool_label(标签3, 128, 标签3_左键被按下, "→", kArrowGlyph),
    tool_label(标签2, 48, 标签2_左键被按下, "○", kToolGlyph),
    ElementSpec{.ref = 画板_中转,
                .at = {32, 32, 72, 128},
                .flags = kHelper,
                .parent = 外形框1.element,
                .block = kScratchCanvas},
    ElementSpec{.ref = 画板_缓存,
                .at = {440, 32, 72, 128},
                .flags = kHelper,
                .parent = 外形框1.element,
                .block = kScratchCanvas},
};

constexpr WindowSpec kWindow = {
    .own = {.ref = 窗口,
            .at = {50, 50, 577, 401},
            .flags = visible,
            .events = {{event::kCreated, 编辑窗口_创建完毕}, {event::kBeingDestroyed, 编辑窗口_将被销毁}},
            .block = {.fields = {set(PropertyId::border_style, 2), kept("attributes", kAttributes),
                                 text("编辑截图")}}},
    .unit_id = 0x19010279,
    .elements = kElements,
    .names = kNamed,
};

} // namespace

const WindowSpec& editing_window_layout() {
    return kWindow;
}

} // namespace vorn::layouts
