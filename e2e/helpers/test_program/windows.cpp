// The test program's windows: a main window with one control of every class
// the main window of the product uses (and a canvas), laid out like it with
// a white label under everything; and a small modal dialog.
#include "e2e/helpers/test_program/test_program.h"

#include "forms/class_block.h"
#include "forms/section.h"
#include "forms/writer.h"
#include "image/const_pool.h"
#include "image/writer.h"
#include "runtime/core/contract/dll_functions.h"
#include "tools/assets/assets.h"
#include "tools/imagetool/product_content.h"

#include <windows.h>

#include <stdexcept>
#include <utility>
#include <vector>

namespace vorn::testprog {

namespace {

using forms::PropertyId;
namespace cls = forms::class_id;
namespace h = handler;

void require(const Status& status, const char* what) {
    if (!status)
        throw std::runtime_error(std::string(what) + ": " + status.error().message);
}

template <class T> T need(Result<T> result, const char* what) {
    if (!result)
        throw std::runtime_error(std::string(what) + ": " + result.error().message);
    return std::move(*result);
}

Bytes block(std::uint32_t class_id,
            std::initializer_list<std::pair<PropertyId, forms::FieldValue>> properties,
            std::initializer_list<std::pair<std::string_view, forms::FieldValue>> kept = {}) {
    forms::ClassBlock made = need(forms::default_class_block(class_id), "default block");
    for (const auto& [property, value] : properties)
        require(made.set(property, value), "block property");
    for (const auto& [label, value] : kept)
        require(made.set_kept(label, value), "block field");
    return need(forms::encode_class_block(made), "encode block");
}

struct Spec {
    std::uint32_t id;
    std::string_view name; // UTF-8
    std::uint32_t class_id;
    std::int32_t left, top, width, height;
    std::uint32_t flags = forms::element_flag::visible;
    std::uint32_t cursor = forms::cursor_id::arrow;
    std::vector<forms::EventBinding> events = {};
    std::uint32_t parent = 0;
};

forms::Element element(const Spec& spec, Bytes class_block = {}) {
    forms::Element made;
    made.id = spec.id;
    made.class_id = spec.class_id;
    made.name = gbk(spec.name);
    forms::ControlRecord record;
    record.left = spec.left;
    record.top = spec.top;
    record.width = spec.width;
    record.height = spec.height;
    record.parent = spec.parent;
    forms::set_cursor(record, spec.cursor);
    record.flags = spec.flags;
    record.events = spec.events;
    record.class_block = std::move(class_block);
    made.record = std::move(record);
    return made;
}

forms::Element menu_item(std::uint32_t id, std::uint32_t level, std::string_view caption,
                         std::uint32_t click) {
    forms::Element made;
    made.id = id;
    made.class_id = cls::menu_item;
    made.record = forms::MenuItemRecord{
        .level = level, .menu_value = level == 0 ? 1u : 0u, .caption = gbk(caption), .click_handler = click};
    return made;
}

void link_children(forms::Window& window) {
    for (forms::Element& container : window.elements)
        if (forms::ControlRecord* record = container.control())
            record->children.clear();
    for (const forms::Element& child : window.elements)
        if (const forms::ControlRecord* record = child.control(); record != nullptr && record->parent != 0)
            for (forms::Element& container : window.elements)
                if (container.id == record->parent && container.control() != nullptr)
                    container.control()->children.push_back(child.id);
}

Bytes picture_button(std::string_view caption, Bytes picture) {
    return block(cls::picture_button,
                 {{PropertyId::text, gbk(caption)}, {PropertyId::picture, std::move(picture)}});
}

forms::Window main_window() {
    constexpr std::uint32_t kButtonFlags = 0x15;
    constexpr std::uint32_t kHand = forms::cursor_id::hand;
    forms::Window window;
    window.id = kMain;
    window.unit_id = 0x19010005;
    window.elements.push_back(element(
        {kMainOwn, "", cls::window, 50, 50, 420, 330, 0, 0, {{0, h::main_created}, {1, h::main_destroyed}}},
        block(cls::window, {{PropertyId::text, gbk("测试程序")},
                            {PropertyId::border_style, 2u},
                            {PropertyId::back_colour, 0x00FFFF00u}})));
    window.elements.push_back(element(
        {kCopy, "按钮_复制", cls::picture_button, 8, 8, 40, 48, kButtonFlags, kHand, {{0, h::copy_clicked}}},
        picture_button("复制", assets::icon(assets::Icon::copy))));
    window.elements.push_back(element(
        {kZoom, "按钮_放大", cls::picture_button, 54, 8, 40, 48, kButtonFlags, kHand, {{0, h::zoom_clicked}}},
        picture_button("放大", assets::png(assets::Png::zoom))));
    window.elements.push_back(element({kAbout,
                                       "按钮_关于",
                                       cls::picture_button,
                                       100,
                                       8,
                                       40,
                                       48,
                                       kButtonFlags,
                                       kHand,
                                       {{0, h::about_clicked}}},
                                      picture_button("关于", assets::icon(assets::Icon::about))));
    window.elements.push_back(element({kOpenDialog,
                                       "按钮_对话框",
                                       cls::picture_button,
                                       146,
                                       8,
                                       40,
                                       48,
                                       kButtonFlags,
                                       kHand,
                                       {{0, h::open_dialog_clicked}}},
                                      picture_button("对话框", assets::icon(assets::Icon::settings))));
    window.elements.push_back(element(
        {kSnapshot, "按钮_截图", cls::push_button, 200, 16, 80, 24, 0x05, 0, {{0, h::snapshot_clicked}}},
        block(cls::push_button, {{PropertyId::text, gbk("截图")}})));
    window.elements.push_back(
        element({kCheck, "选择框1", cls::check_box, 290, 16, 100, 24, 0x05, 0, {{0, h::check_clicked}}},
                block(cls::check_box, {{PropertyId::text, gbk("选项")}})));
    window.elements.push_back(element(
        {kEdit, "编辑框1", cls::edit_box, 8, 64, 100, 24, 0x05, 0, {{0, h::edit_changed}, {-9, h::edit_key}}},
        block(cls::edit_box, {{PropertyId::input_mode, 3u}})));
    forms::Font font;
    font.height = -16;
    window.elements.push_back(
        element({kLabel, "标签1", cls::label, 120, 64, 150, 24, 0x01, kHand, {{-1, h::label_pressed}}},
                block(cls::label, {{PropertyId::text, gbk("标签文字")},
                                   {PropertyId::text_colour, 0x000000FFu},
                                   {PropertyId::back_colour, 0x00E0E0E0u},
                                   {PropertyId::font, std::optional<forms::Font>(font)}})));
    window.elements.push_back(element({kPictureBox,
                                       "截图效果图片框",
                                       cls::picture_box,
                                       8,
                                       96,
                                       250,
                                       160,
                                       0x01,
                                       0,
                                       {{-3, h::picture_double_clicked}, {-4, h::picture_right_pressed}}},
                                      block(cls::picture_box, {})));
    window.elements.push_back(
        element({kCanvas,
                 "画板1",
                 cls::canvas,
                 270,
                 96,
                 130,
                 120,
                 0x05,
                 forms::cursor_id::cross,
                 {{-1, h::canvas_pressed}, {-2, h::canvas_released}, {-6, h::canvas_moved}}},
                block(cls::canvas, {{PropertyId::pen_width, 2u},
                                    {PropertyId::pen_colour, 0x000000FFu},
                                    {PropertyId::brush_type, 0u}})));
    window.elements.push_back(
        element({kSeeThrough, "透明标签1", cls::transparent_label, 4, 4, 60, 16, 0x01, 0, {}, kCanvas},
                block(cls::transparent_label,
                      {{PropertyId::text, gbk("透明")}, {PropertyId::text_colour, 0x00008000u}})));
    window.elements.push_back(element(
        {kInnerLabel, "广告标签", cls::label, 5, 5, 100, 20, 0x01, 0, {}, kShapeBox},
        block(cls::label, {{PropertyId::text, gbk("内部")}, {PropertyId::back_colour, 0x0000FFFFu}})));
    window.elements.push_back(element({kShapeBox, "外形框1", cls::shape_box, 270, 222, 130, 30},
                                      block(cls::shape_box, {{PropertyId::back_colour, 0x00FFE0C0u}})));
    window.elements.push_back(
        element({kIdleTimer, "时钟1", cls::timer, 0, -20, 24, 24, 0, 0, {{0, h::timer_elapsed}}},
                block(cls::timer, {})));
    window.elements.push_back(
        element({kOnceTimer, "时钟2", cls::timer, 30, -20, 24, 24, 0, 0, {{0, h::timer_elapsed}}},
                block(cls::timer, {{PropertyId::interval, 300u}})));
    window.elements.push_back(element({kDevice,
                                       "输入设备1",
                                       cls::input_device,
                                       60,
                                       -20,
                                       24,
                                       24,
                                       0,
                                       0,
                                       {{2, h::device_moved}, {3, h::device_button}}}));
    window.elements.push_back(element({kBalloon, "气球提示框1", cls::balloon_tip, 90, -20, 24, 24, 0},
                                      block(cls::balloon_tip, {})));
    window.elements.push_back(element({kFileDialog, "通用对话框1", cls::file_dialog, 120, -20, 24, 24, 0},
                                      block(cls::file_dialog, {})));
    window.elements.push_back(
        element({kSave, "按钮_保存", cls::push_button, 8, 262, 80, 24, 0x05, 0, {{0, h::save_clicked}}},
                block(cls::push_button, {{PropertyId::text, gbk("保存")}})));
    window.elements.push_back(
        element({kHiddenButton, "按钮2", cls::push_button, 100, 262, 80, 24, 0x04, 0, {}},
                block(cls::push_button, {{PropertyId::text, gbk("隐藏")}})));
    window.elements.push_back(element({kColourPicker,
                                       "颜色选择钮1",
                                       cls::colour_picker,
                                       190,
                                       262,
                                       24,
                                       24,
                                       0x15,
                                       0,
                                       {{0, h::colour_chosen}}}));
    window.elements.push_back(element({kFontPicker,
                                       "高级字体选择框1",
                                       cls::font_picker,
                                       222,
                                       262,
                                       120,
                                       24,
                                       0x15,
                                       0,
                                       {{0, h::font_chosen}}}));
    window.elements.push_back(element({kBackground, "标签2", cls::label, -27, -1, 500, 400, 0x01},
                                      block(cls::label, {{PropertyId::back_colour, 0x00FFFFFFu}})));
    window.elements.push_back(menu_item(kMenu, 0, "编辑", forms::kNoHandler));
    window.elements.push_back(menu_item(kMenuClear, 1, "清除图片", h::menu_clear));
    window.elements.push_back(menu_item(kMenuCopy, 1, "复制图片", h::menu_copy));
    link_children(window);
    return window;
}

forms::Window dialog_window() {
    forms::Window window;
    window.id = kDialog;
    window.unit_id = 0x19010041;
    window.elements.push_back(element({kDialogOwn,
                                       "",
                                       cls::window,
                                       120,
                                       120,
                                       240,
                                       140,
                                       0x01,
                                       0,
                                       {{0, h::dialog_created}, {1, h::dialog_destroyed}}},
                                      // Without a border: the main window has the fixed frame.
                                      block(cls::window, {{PropertyId::text, gbk("对话框")},
                                                          {PropertyId::border_style, 0u},
                                                          {PropertyId::back_colour, 0x00C0FFC0u}})));
    window.elements.push_back(element({kDialogClose,
                                       "按钮_关闭",
                                       cls::push_button,
                                       10,
                                       10,
                                       80,
                                       24,
                                       0x05,
                                       0,
                                       {{0, h::dialog_close_clicked}}},
                                      block(cls::push_button, {{PropertyId::text, gbk("关闭")}})));
    window.elements.push_back(
        element({kDialogGraphic,
                 "图形按钮1",
                 cls::graphic_button,
                 100,
                 14,
                 16,
                 16,
                 0x01,
                 0,
                 {{0, h::graphic_clicked}}},
                block(cls::graphic_button,
                      {{PropertyId::picture, assets::small_bitmap(assets::SmallBitmap::enlarge)}})));
    window.elements.push_back(
        element({kDialogHover,
                 "透明标签1",
                 cls::transparent_label,
                 130,
                 8,
                 60,
                 30,
                 0x11,
                 forms::cursor_id::hand,
                 {{-6, h::hover_moved}}},
                block(cls::transparent_label,
                      {{PropertyId::text, gbk("悬停")}, {PropertyId::text_colour, 0x000000FFu}})));
    window.elements.push_back(element(
        {kDialogFailure, "按钮_错误", cls::push_button, 10, 50, 80, 24, 0x05, 0, {{0, h::failure_clicked}}},
        block(cls::push_button, {{PropertyId::text, gbk("错误")}})));
    window.elements.push_back(element(
        {kDialogPrint, "按钮_打印", cls::push_button, 100, 50, 80, 24, 0x05, 0, {{0, h::print_clicked}}},
        block(cls::push_button, {{PropertyId::text, gbk("打印")}})));
    window.elements.push_back(element({kDialogPrinter, "打印机1", cls::printer, 200, -20, 26, 26, 0}));
    return window;
}

} // namespace

std::string gbk(std::string_view utf8_text) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8_text.data(), int(utf8_text.size()), nullptr, 0);
    std::wstring wide(std::size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8_text.data(), int(utf8_text.size()), wide.data(), length);
    const int bytes = WideCharToMultiByte(936, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(bytes), '\0');
    WideCharToMultiByte(936, 0, wide.data(), length, out.data(), bytes, nullptr, nullptr);
    return out;
}

std::string utf8(std::string_view gbk_text) {
    const int length = MultiByteToWideChar(936, 0, gbk_text.data(), int(gbk_text.size()), nullptr, 0);
    std::wstring wide(std::size_t(length), L'\0');
    MultiByteToWideChar(936, 0, gbk_text.data(), int(gbk_text.size()), wide.data(), length);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, out.data(), bytes, nullptr, nullptr);
    return out;
}

Bytes build_image() {
    forms::FormSection section;
    section.windows = {main_window(), dialog_window()};
    // The product's DLL command and support-library tables, so that the
    // program calls them by the product's numbers.
    image::ConstPool pool;
    image::ImageParts parts;
    for (const contract::DllFunction& function : contract::kDllFunctions)
        parts.dll_commands.push_back({need(pool.text(function.library), "DLL library name"),
                                      need(pool.text(function.name), "DLL function name")});
    for (const imagetool::LibraryEntry& entry : imagetool::support_libraries())
        parts.libraries.push_back({std::string(entry.name), std::string(entry.identifier),
                                   std::string(entry.major_version), std::string(entry.minor_version),
                                   std::string(entry.description)});
    parts.constants.stored = pool.data();
    parts.help.stored = Bytes(imagetool::kHelpSize, 0);
    parts.var_size = imagetool::kVarSize;
    parts.form.stored = need(forms::write_forms(section), "window definitions");
    // No machine code: the handlers are this executable's functions, found
    // by their offsets through the dispatcher.
    parts.code.stored.assign(h::code_size, 0xCC);
    parts.start_routine = h::start;
    return need(image::write_image(parts), "image");
}

} // namespace vorn::testprog
