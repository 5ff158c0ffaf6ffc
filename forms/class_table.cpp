// Class blocks, field by field after the leading version. Fields whose meaning
// is the runtime's are kept by position under a descriptive label; their
// fallbacks are the values that most stored blocks carry, so that a block built
// from defaults looks like one the runtime would have written.
#include "forms/class_table.h"

#include "forms/events.h"
#include "forms/ids.h"

#include <array>

namespace vorn::forms {
namespace {

using enum PropertyId;

constexpr FieldSpec value(PropertyId property, std::uint32_t fallback = 0) {
    return {.wire = Wire::u32, .property = property, .fallback = fallback};
}
constexpr FieldSpec kept(std::string_view label, std::uint32_t fallback = 0) {
    return {.wire = Wire::u32, .label = label, .fallback = fallback};
}
constexpr FieldSpec list(std::string_view label, std::span<const std::uint32_t> fallback) {
    return {.wire = Wire::u32_list,
            .label = label,
            .count = static_cast<std::uint32_t>(fallback.size()),
            .list_fallback = fallback};
}
constexpr FieldSpec rest(std::string_view label, std::span<const std::uint32_t> fallback) {
    return {.wire = Wire::u32_rest, .label = label, .list_fallback = fallback};
}
constexpr FieldSpec counted(PropertyId property, std::string_view fallback = {}) {
    return {.wire = Wire::counted_text, .property = property, .text_fallback = fallback};
}
constexpr FieldSpec kept_text(std::string_view label) {
    return {.wire = Wire::counted_text, .label = label};
}
constexpr FieldSpec bytes(PropertyId property) {
    return {.wire = Wire::byte_block, .property = property};
}
constexpr FieldSpec kept_block(std::string_view label) {
    return {.wire = Wire::byte_block, .label = label};
}

template <std::size_t N> constexpr std::array<std::uint32_t, N> zeros() {
    return {};
}

constexpr std::array<std::uint32_t, 1> kV1 = {1};
constexpr std::array<std::uint32_t, 1> kV2 = {2};
constexpr std::array<std::uint32_t, 2> kV5V6 = {5, 6};

// ---- Window: version 6 adds the class name after the attributes.
constexpr std::array<std::uint32_t, 15> kWindowAttributes = {0, 1, 1, 1, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0};
constexpr std::array kWindowFields = {
    value(border_style, 2),
    kept("value 3", 1),
    value(back_colour, kDefaultColour),
    list("attributes", kWindowAttributes),
    FieldSpec{.wire = Wire::counted_text, .property = window_class_name, .since_version = 6},
    kept_block("byte block 1"),
    kept_block("byte block 2"),
    kept_block("byte block 3"),
    counted(text),
    kept_text("further text"),
};

// ---- Label: text colour and back colour are fields 8 and 9, counting the version as 1.
constexpr auto kZeros2 = zeros<2>();
constexpr auto kZeros3 = zeros<3>();
constexpr auto kZeros4 = zeros<4>();
constexpr auto kZeros6 = zeros<6>();
constexpr auto kZeros8 = zeros<8>();
constexpr auto kZeros9 = zeros<9>();
constexpr auto kZeros17 = zeros<17>();
constexpr auto kZeros43 = zeros<43>();
constexpr std::array kLabelFields = {
    list("fields 2-7", kZeros6),
    value(text_colour, kDefaultColour),
    value(back_colour, kDefaultColour),
    list("fields 10-17", kZeros8),
    FieldSpec{.wire = Wire::font, .property = font},
    kept("value after the font"),
    counted(text),
    list("values after the text", kZeros2),
};

// ---- Push button and check box: their stored field counts include the version.
constexpr std::array kPushButtonFields = {list("fields 2-5", kZeros4), counted(text)};
constexpr std::array kCheckBoxFields = {list("fields 2-10", kZeros9), counted(text),
                                        list("values after the caption", kZeros2)};

constexpr std::array kTransparentLabelFields = {
    kept("field 2"),
    value(text_colour, kDefaultColour),
    list("fields 4-7", kZeros4),
    counted(text),
};

// ---- Edit box: input mode at block offset 36, mask byte at 40, text at 70.
constexpr std::array<std::uint32_t, 5> kEditFields5To9 = {0, 0, 0, 0, 0};
constexpr std::array kEditBoxFields = {
    kept("field 2", 1),
    kept("field 3"),
    value(back_colour, kDefaultColour),
    list("fields 5-9", kEditFields5To9),
    value(input_mode, 0),
    FieldSpec{.wire = Wire::u8, .property = password_char, .fallback = '*'},
    FieldSpec{.wire = Wire::raw, .label = "bytes 41-69", .count = 29},
    counted(text),
    list("values after the text", kZeros2),
};

constexpr std::array<std::uint32_t, 4> kPictureBoxFields2To5 = {0, 0, 2, 1};
constexpr std::array kPictureBoxFields = {list("fields 2-5", kPictureBoxFields2To5),
                                          rest("further fields", kZeros4)};

constexpr std::array<std::uint32_t, 6> kShapeBoxFields3To8 = {0, 0, 1, 1, 0x8000, 0};
constexpr std::array kShapeBoxFields = {
    value(back_colour, kDefaultColour),
    list("fields 3-8", kShapeBoxFields3To8),
    rest("further fields", {}),
};

// ---- Canvas: sixteen fields counting the version; 3 back colour, 8 to 12 the
// drawing state, 14 the text colour.
constexpr std::array<std::uint32_t, 4> kCanvasFields4To7 = {1, 1, 0, 1};
constexpr std::array kCanvasFields = {
    kept("field 2"),
    value(back_colour, kDefaultColour),
    list("fields 4-7", kCanvasFields4To7),
    value(draw_mode, 12),
    value(pen_width, 0),
    value(pen_colour, 0),
    value(brush_type, 1),
    value(brush_colour, 0x00FFFFFF),
    kept("field 13"),
    value(text_colour, kDefaultColour),
    list("fields 15-16", kZeros2),
};

// ---- File dialog: the filter is a counted text at block offset 72.
constexpr std::array kFileDialogFields = {
    list("fields 2-18", kZeros17),      counted(filter),
    kept_text("text after the filter"), counted(default_extension),
    list("values at the end", kZeros2),
};

constexpr std::array kTimerFields = {value(interval, 0)};

// ---- Graphic button: the picture is a byte block at block offset 16.
constexpr std::array kGraphicButtonFields = {list("fields 2-4", kZeros3), bytes(picture),
                                             list("values after the picture", kZeros3)};

// ---- Picture button: fields 15, 17 and 19 (counting the version) are colours.
constexpr std::array<std::uint32_t, 19> kPictureButtonFields2To20 = {
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00FFFFFF, 0, 0x00FFFFFF, 0, 0x00F0F0F0, 0};
constexpr std::array kPictureButtonFields = {
    list("fields 2-20", kPictureButtonFields2To20),
    bytes(picture),
    list("values after the picture", kZeros3),
    counted(text),
    kept("value after the caption"),
    value(text_colour, kDefaultColour),
    kept("last value"),
};

// ---- Balloon tip: 176 bytes of fields counting the version, then the style sheet.
constexpr std::array kBalloonTipFields = {list("fields 2-44", kZeros43), counted(style_sheet)};

constexpr std::array<EventInfo, 2> kWindowEvents = {
    {{event::kCreated, "created"}, {event::kBeingDestroyed, "being destroyed"}}};
constexpr std::array<EventInfo, 1> kClickEvents = {{{event::kClicked, "clicked"}}};
constexpr std::array<EventInfo, 1> kEditEvents = {{{event::kContentChanged, "content changed"}}};
constexpr std::array<EventInfo, 1> kTimerEvents = {{{event::kIntervalElapsed, "interval elapsed"}}};
constexpr std::array<EventInfo, 1> kColourPickerEvents = {{{event::kColourChosen, "colour chosen"}}};
constexpr std::array<EventInfo, 1> kFontPickerEvents = {{{event::kFontChosen, "font chosen"}}};
constexpr std::array<EventInfo, 2> kInputDeviceEvents = {
    {{event::kMouseInput, "mouse input"}, {event::kKeyInput, "key input"}}};
constexpr std::array<EventInfo, 6> kSharedEvents = {{
    {event::kLeftButtonDown, "left button pressed"},
    {event::kLeftButtonUp, "left button released"},
    {event::kDoubleClicked, "double-clicked"},
    {event::kRightButtonDown, "right button pressed"},
    {event::kMouseMoved, "mouse moved"},
    {event::kKeyDown, "key pressed"},
}};

namespace id = class_id;

constexpr std::array kWindowRuntime = {stay_on_top, window_mode, taskbar_button};
constexpr std::array kEditBoxRuntime = {font, text_colour};
// The enlarged view gives its picture box the window's colour as it lays it out.
constexpr std::array kPictureBoxRuntime = {picture, back_colour};
constexpr std::array kCanvasRuntime = {background_picture, font, text_colour};
constexpr std::array kCheckBoxRuntime = {checked};
constexpr std::array kFileDialogRuntime = {dialog_type, file_name};
constexpr std::array kColourPickerRuntime = {colour};
constexpr std::array kFontPickerRuntime = {font};
constexpr std::array kMenuItemRuntime = {text};

// Names in GBK: 窗口 菜单 编辑框 图片框 外形框 画板 标签 按钮 选择框 通用对话框 时钟 打印机
// 图形按钮 输入设备 透明标签 颜色选择钮 高级字体选择框 超级按钮 气球提示框.
constexpr std::array<ClassInfo, 19> kClasses = {{
    {id::window, "\xb4\xb0\xbf\xda", "window", true, kV5V6, kWindowFields, kWindowEvents, kWindowRuntime},
    {id::menu_item, "\xb2\xcb\xb5\xa5", "menu item", false, {}, {}, {}, kMenuItemRuntime},
    {id::edit_box, "\xb1\xe0\xbc\xad\xbf\xf2", "edit box", true, kV2, kEditBoxFields, kEditEvents,
     kEditBoxRuntime},
    {id::picture_box,
     "\xcd\xbc\xc6\xac\xbf\xf2",
     "picture box",
     true,
     kV2,
     kPictureBoxFields,
     {},
     kPictureBoxRuntime},
    {id::shape_box, "\xcd\xe2\xd0\xce\xbf\xf2", "shape box", true, kV1, kShapeBoxFields, {}},
    {id::canvas, "\xbb\xad\xb0\xe5", "canvas", true, kV1, kCanvasFields, {}, kCanvasRuntime},
    {id::label, "\xb1\xea\xc7\xa9", "label", true, kV2, kLabelFields, {}},
    {id::push_button, "\xb0\xb4\xc5\xa5", "push button", true, kV1, kPushButtonFields, kClickEvents},
    {id::check_box, "\xd1\xa1\xd4\xf1\xbf\xf2", "check box", true, kV2, kCheckBoxFields, kClickEvents,
     kCheckBoxRuntime},
    {id::file_dialog,
     "\xcd\xa8\xd3\xc3\xb6\xd4\xbb\xb0\xbf\xf2",
     "file dialog",
     false,
     kV1,
     kFileDialogFields,
     {},
     kFileDialogRuntime},
    {id::timer, "\xca\xb1\xd6\xd3", "timer", false, kV1, kTimerFields, kTimerEvents},
    {id::printer, "\xb4\xf2\xd3\xa1\xbb\xfa", "printer", false, {}, {}, {}},
    {id::graphic_button, "\xcd\xbc\xd0\xce\xb0\xb4\xc5\xa5", "graphic button", true, kV1,
     kGraphicButtonFields, kClickEvents},
    {id::input_device, "\xca\xe4\xc8\xeb\xc9\xe8\xb1\xb8", "input device", false, {}, {}, kInputDeviceEvents},
    {id::transparent_label,
     "\xcd\xb8\xc3\xf7\xb1\xea\xc7\xa9",
     "transparent label",
     true,
     kV1,
     kTransparentLabelFields,
     {}},
    {id::colour_picker,
     "\xd1\xd5\xc9\xab\xd1\xa1\xd4\xf1\xc5\xa5",
     "colour picker",
     true,
     {},
     {},
     kColourPickerEvents,
     kColourPickerRuntime},
    {id::font_picker,
     "\xb8\xdf\xbc\xb6\xd7\xd6\xcc\xe5\xd1\xa1\xd4\xf1\xbf\xf2",
     "font picker",
     true,
     {},
     {},
     kFontPickerEvents,
     kFontPickerRuntime},
    {id::picture_button, "\xb3\xac\xbc\xb6\xb0\xb4\xc5\xa5", "picture button", true, kV2,
     kPictureButtonFields, kClickEvents},
    {id::balloon_tip,
     "\xc6\xf8\xc7\xf2\xcc\xe1\xca\xbe\xbf\xf2",
     "balloon tip",
     false,
     kV1,
     kBalloonTipFields,
     {}},
}};

} // namespace

std::span<const ClassInfo> all_classes() {
    return kClasses;
}

const ClassInfo* find_class(std::uint32_t class_id) {
    for (const ClassInfo& info : kClasses)
        if (info.id == class_id)
            return &info;
    return nullptr;
}

std::span<const EventInfo> shared_events() {
    return kSharedEvents;
}

const EventInfo* find_event(const ClassInfo& info, std::int32_t number) {
    for (const EventInfo& event : info.events)
        if (event.number == number)
            return &event;
    if (info.has_window)
        for (const EventInfo& event : kSharedEvents)
            if (event.number == number)
                return &event;
    return nullptr;
}

bool has_version(const ClassInfo& info, std::uint32_t version) {
    for (std::uint32_t known : info.versions)
        if (known == version)
            return true;
    return false;
}

std::uint32_t newest_version(const ClassInfo& info) {
    std::uint32_t newest = 0;
    for (std::uint32_t known : info.versions)
        newest = known > newest ? known : newest;
    return newest;
}

} // namespace vorn::forms
