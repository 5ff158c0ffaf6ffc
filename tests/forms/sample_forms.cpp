#include "sample_forms.h"

#include "forms/writer.h"

#include <cstdio>
#include <cstdlib>
#include <iconv.h>

namespace vorn::forms::testing {
namespace {

// A failure here is a broken fixture, not a finding: stop at once.
void require(const Status& status, std::string_view what) {
    if (!status.ok()) {
        std::fprintf(stderr, "sample forms: %.*s: %s\n", int(what.size()), what.data(),
                     status.error().message.c_str());
        std::abort();
    }
}

Bytes fake_file(std::initializer_list<std::uint8_t> header, std::size_t size) {
    Bytes bytes(header);
    for (std::size_t i = bytes.size(); i < size; ++i)
        bytes.push_back(static_cast<std::uint8_t>(i * 7));
    return bytes;
}

Bytes icon() {
    return fake_file({0, 0, 1, 0, 1, 0, 32, 32}, 96);
}
Bytes png() {
    return fake_file({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, 80);
}
Bytes bitmap() {
    return fake_file({'B', 'M'}, 64);
}

Font chinese_font(std::int32_t height) {
    Font font;
    font.height = height;
    return font;
}

using P = PropertyId;
namespace cls = class_id;

constexpr std::uint32_t kMainWindow = 0x52010001;
constexpr std::uint32_t kOverlay = 0x520100B4;
constexpr std::uint32_t kEditor = 0x52010274;

Bytes picture_button(std::string_view caption, Bytes picture) {
    return encode(
        make_block(cls::picture_button, {{P::text, gbk(caption)}, {P::picture, std::move(picture)}}));
}

Bytes window_block(std::string_view caption, std::uint32_t border, std::uint32_t back,
                   std::vector<std::uint32_t> attributes, std::uint32_t version) {
    return encode(make_block(cls::window,
                             {{P::text, gbk(caption)}, {P::border_style, border}, {P::back_colour, back}},
                             {{"attributes", std::move(attributes)}}, version));
}

Window main_window() {
    Window window{.id = kMainWindow, .directory_value = 0x3A, .unit_value = 0x1B2, .unit_id = 0x19010005};
    Element own = make_control(
        {0x06010000, "", cls::window, 50, 50, 678, 554, 0, cursor_id::arrow, {{0, 0x22c60}, {1, 0x22d10}}},
        window_block("Vorn截图工具2.0", 2, 0x00FFFF00, {0, 0, 1, 1, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0}, 6));
    own.name.clear();
    window.elements.push_back(std::move(own));
    const std::uint32_t shown = element_flag::visible | element_flag::focusable | element_flag::bit4;
    window.elements.push_back(make_control({0x160104E8,
                                            "按钮_复制",
                                            cls::picture_button,
                                            238,
                                            8,
                                            40,
                                            48,
                                            shown,
                                            cursor_id::hand,
                                            {{0, 0x23010}}},
                                           picture_button("复制", icon())));
    window.elements.push_back(make_control(
        {0x16010498, "气球提示框1", cls::balloon_tip, 560, -12, 24, 24, 0},
        encode(make_block(cls::balloon_tip,
                          {{P::style_sheet, std::string("body { font-size: 9pt; color: #000000; "
                                                        "font-family: \xcb\xce\xcc\xe5, Verdana; }")}}))));
    window.elements.push_back(make_control({0x16010445, "打印机1", cls::printer, 590, -12, 26, 26, 0}));
    window.elements.push_back(
        make_control({0x16010431, "透明标签1", cls::transparent_label, 8, 485, 56, 16, 0},
                     encode(make_block(cls::transparent_label,
                                       {{P::text, gbk("更多软件:")}, {P::text_colour, 0x00FF0000u}}))));
    window.elements.push_back(make_control({0x16010437,
                                            "按钮_退出",
                                            cls::picture_button,
                                            680,
                                            24,
                                            40,
                                            48,
                                            element_flag::visible | element_flag::focusable,
                                            cursor_id::hand,
                                            {{0, 0x23020}}},
                                           picture_button("退出", icon())));
    window.elements.push_back(make_control(
        {0x160100F6, "广告标签", cls::label, 0, 0, 458, 24, 0, cursor_id::hand, {{-1, 0x23030}}, 0x160100F5},
        encode(make_block(cls::label, {{P::text_colour, 0x00FF0000u}, {P::back_colour, 0x0000FFFFu}}))));
    window.elements.push_back(make_control({0x160100F5, "外形框1", cls::shape_box, 70, 481, 453, 24, 0},
                                           encode(make_block(cls::shape_box, {}))));
    window.elements.push_back(
        make_control({0x160100F1, "时钟1", cls::timer, 620, -12, 24, 24, 0, cursor_id::arrow, {{0, 0x23040}}},
                     encode(make_block(cls::timer, {{P::interval, 0u}}))));
    window.elements.push_back(make_control({0x16010037, "编辑框1", cls::edit_box, 700, 16, 80, 24, shown},
                                           encode(make_block(cls::edit_box, {}))));
    window.elements.push_back(make_control({0x1601002A, "通用对话框1", cls::file_dialog, 650, -12, 24, 24, 0},
                                           encode(make_block(cls::file_dialog, {}))));
    window.elements.push_back(
        make_control({0x1601000B,
                      "按钮2",
                      cls::push_button,
                      718,
                      56,
                      116,
                      24,
                      element_flag::focusable,
                      cursor_id::arrow,
                      {{0, 0x23050}}},
                     encode(make_block(cls::push_button, {{P::text, gbk("截取整个屏幕")}}))));
    window.elements.push_back(make_control({0x16010003,
                                            "输入设备1",
                                            cls::input_device,
                                            680,
                                            -12,
                                            24,
                                            24,
                                            0,
                                            cursor_id::arrow,
                                            {{2, 0x23060}, {3, 0x23070}}}));
    window.elements.push_back(make_control({0x16010002,
                                            "截图效果图片框",
                                            cls::picture_box,
                                            8,
                                            64,
                                            656,
                                            413,
                                            element_flag::visible | element_flag::bit4,
                                            cursor_id::arrow,
                                            {{-3, 0x23080}, {-4, 0x23090}}},
                                           encode(make_block(cls::picture_box, {}))));
    window.elements.push_back(make_control(
        {0x1601041F, "标签2", cls::label, -27, -1, 795, 513},
        encode(make_block(cls::label, {{P::back_colour, 0x00FFFFFFu}},
                          {{"fields 10-17", std::vector<std::uint32_t>{0, 0, 0x00FFFFFF, 0x00D8D8B4,
                                                                       0x00E03058, 0, 0, 0}}}))));
    window.elements.push_back(make_menu_item(0x260104D5, 0, "编辑", kNoHandler));
    window.elements.push_back(make_menu_item(0x260104D6, 1, "清除图片", 0x230A0));
    window.elements.push_back(make_menu_item(0x260104D7, 1, "复制图片", 0x23010));
    link_children(window);
    return window;
}

Window overlay_window() {
    Window window{.id = kOverlay, .directory_value = 0x51, .unit_value = 0x2C4, .unit_id = 0x190100B9};
    window.elements.push_back(make_control(
        {0x060100B5,
         "",
         cls::window,
         50,
         50,
         380,
         250,
         element_flag::visible,
         cursor_id::arrow,
         {{0, 0x230B0}}},
        window_block("捕获指定区域", 0, kDefaultColour, {0, 0, 1, 1, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0}, 5)));
    window.elements.push_back(make_control(
        {0x160100B6, "通用对话框", cls::file_dialog, 200, -10, 24, 24, 0},
        encode(make_block(cls::file_dialog, {{P::filter, gbk("图片文件(*.jpg;*.bmp)|*.jpg;*.bmp")},
                                             {P::default_extension, std::string("bmp")}}))));
    window.elements.push_back(make_control({0x160100B7, "后台画板", cls::canvas, 256, 120, 96, 80, 0},
                                           encode(make_block(cls::canvas, {{P::back_colour, 0x00FFFFFFu}}))));
    window.elements.push_back(
        make_control({0x160100B8,
                      "画板",
                      cls::canvas,
                      8,
                      8,
                      168,
                      136,
                      element_flag::visible | element_flag::focusable,
                      cursor_id::cross,
                      {{-1, 0x230C0}, {-6, 0x230D0}, {-2, 0x230E0}, {-4, 0x230F0}}},
                     encode(make_block(cls::canvas,
                                       {{P::back_colour, 0x00FFFFFFu},
                                        {P::draw_mode, 5u},
                                        {P::pen_width, 2u},
                                        {P::pen_colour, 0x000000FFu},
                                        {P::brush_type, 0u}},
                                       {{"fields 4-7", std::vector<std::uint32_t>{1, 0, 0, 1}}}))));
    return window;
}

Window editor_window() {
    Window window{.id = kEditor, .directory_value = 0x77, .unit_value = 0x1F0, .unit_id = 0x19010279};
    window.elements.push_back(make_control(
        {0x06010273,
         "",
         cls::window,
         50,
         50,
         577,
         401,
         element_flag::visible,
         cursor_id::arrow,
         {{0, 0x23100}, {1, 0x23110}}},
        window_block("编辑截图", 2, kDefaultColour, {0, 1, 1, 1, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0}, 6)));
    const std::uint32_t label_flags = element_flag::visible | element_flag::bit4;
    const std::uint32_t input_flags = label_flags | element_flag::focusable;
    window.elements.push_back(make_control({0x16010417,
                                            "超级按钮3",
                                            cls::picture_button,
                                            528,
                                            5,
                                            32,
                                            32,
                                            element_flag::visible | element_flag::focusable,
                                            cursor_id::arrow,
                                            {{0, 0x23120}}},
                                           picture_button("", png())));
    window.elements.push_back(
        make_control({0x160102B6,
                      "文字框",
                      cls::edit_box,
                      240,
                      120,
                      24,
                      24,
                      0x14,
                      cursor_id::arrow,
                      {{-9, 0x23130}, {0, 0x23140}}},
                     encode(make_block(cls::edit_box, {{P::back_colour, 0x00FFFFFFu}}, {{"field 2", 5u}}))));
    window.elements.push_back(make_control({0x1601032C,
                                            "高级字体选择框1",
                                            cls::font_picker,
                                            437,
                                            10,
                                            56,
                                            24,
                                            input_flags,
                                            cursor_id::arrow,
                                            {{0, 0x23150}}}));
    window.elements.push_back(make_control({0x160102A2,
                                            "颜色选择钮1",
                                            cls::colour_picker,
                                            301,
                                            10,
                                            24,
                                            24,
                                            input_flags,
                                            cursor_id::arrow,
                                            {{0, 0x23160}}}));
    window.elements.push_back(make_control(
        {0x160102CB, "标签1", cls::label, 8, 5, 32, 32, label_flags, cursor_id::hand, {{-1, 0x23170}}},
        encode(make_block(cls::label, {{P::text, gbk("字")},
                                       {P::text_colour, 0x00FF0000u},
                                       {P::back_colour, 0x00C0C0C0u},
                                       {P::font, std::optional<Font>(chinese_font(-21))}}))));
    window.elements.push_back(
        make_control({0x160102A0,
                      "编辑框1",
                      cls::edit_box,
                      237,
                      10,
                      24,
                      24,
                      input_flags,
                      cursor_id::arrow,
                      {{0, 0x23180}}},
                     encode(make_block(cls::edit_box, {{P::text, std::string("3")}, {P::input_mode, 3u}}))));
    window.elements.push_back(
        make_control({0x16010513,
                      "图形按钮1",
                      cls::graphic_button,
                      8,
                      3,
                      16,
                      16,
                      element_flag::visible,
                      cursor_id::arrow,
                      {{0, 0x23190}}},
                     encode(make_block(cls::graphic_button, {{P::picture, bitmap()}}))));
    window.elements.push_back(
        make_control({0x1601042F,
                      "选择框1",
                      cls::check_box,
                      32,
                      20,
                      144,
                      24,
                      element_flag::visible | element_flag::focusable,
                      cursor_id::arrow,
                      {{0, 0x231A0}}},
                     encode(make_block(cls::check_box, {{P::text, gbk("截图时隐藏本窗口")}}))));
    window.elements.push_back(make_control(
        {0x1601013A,
         "透明标签2",
         cls::transparent_label,
         740,
         2,
         30,
         20,
         0x11,
         cursor_id::hand,
         {{-2, 0x231B0}, {-6, 0x231C0}}},
        encode(make_block(cls::transparent_label, {{P::text, gbk("关闭")}, {P::text_colour, 0x000000FFu}}))));
    window.elements.push_back(
        make_control({0x16010326, "标签_测量", cls::label, 560, 72, 32, 24, element_flag::bit4}));
    return window;
}

} // namespace

std::string gbk(std::string_view utf8) {
    iconv_t cd = iconv_open("GBK", "UTF-8");
    std::string in(utf8);
    std::string out(in.size() * 2 + 4, '\0');
    char* in_ptr = in.data();
    char* out_ptr = out.data();
    std::size_t in_left = in.size();
    std::size_t out_left = out.size();
    const bool ok = cd != reinterpret_cast<iconv_t>(-1) &&
                    iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left) != static_cast<std::size_t>(-1);
    if (cd != reinterpret_cast<iconv_t>(-1))
        iconv_close(cd);
    if (!ok)
        require(Error{"cannot convert to GBK"}, utf8);
    out.resize(out.size() - out_left);
    return out;
}

ClassBlock make_block(std::uint32_t class_id,
                      std::initializer_list<std::pair<PropertyId, FieldValue>> properties,
                      std::initializer_list<std::pair<std::string_view, FieldValue>> kept,
                      std::uint32_t version) {
    Result<ClassBlock> block = default_class_block(class_id, version);
    require(block.ok() ? ok_status() : Status(block.error()), "default block");
    for (const auto& [property, value] : properties)
        require(block->set(property, value), property_name(property));
    for (const auto& [label, value] : kept)
        require(block->set_kept(label, value), label);
    return std::move(block).value();
}

Bytes encode(const ClassBlock& block) {
    Result<Bytes> bytes = encode_class_block(block);
    require(bytes.ok() ? ok_status() : Status(bytes.error()), "encode");
    return std::move(bytes).value();
}

Element make_control(const ControlSpec& spec, Bytes block) {
    Element element;
    element.id = spec.id;
    element.class_id = spec.class_id;
    element.name = gbk(spec.name);
    ControlRecord control;
    control.left = spec.left;
    control.top = spec.top;
    control.width = spec.width;
    control.height = spec.height;
    control.parent = spec.parent;
    set_cursor(control, spec.cursor);
    control.flags = spec.flags;
    control.events = spec.events;
    control.class_block = std::move(block);
    element.record = std::move(control);
    return element;
}

Element make_menu_item(std::uint32_t id, std::uint32_t level, std::string_view caption,
                       std::uint32_t handler) {
    Element element;
    element.id = id;
    element.class_id = class_id::menu_item;
    element.record = MenuItemRecord{.level = level,
                                    .menu_value = level == 0 ? 1u : 0u,
                                    .caption = gbk(caption),
                                    .click_handler = handler};
    return element;
}

void link_children(Window& window) {
    for (Element& container : window.elements)
        if (ControlRecord* control = container.control())
            control->children.clear();
    for (const Element& element : window.elements) {
        const ControlRecord* control = element.control();
        if (control == nullptr || control->parent == 0)
            continue;
        for (Element& container : window.elements)
            if (container.id == control->parent && container.control() != nullptr)
                container.control()->children.push_back(element.id);
    }
}

FormSection sample_forms() {
    return FormSection{{main_window(), overlay_window(), editor_window()}};
}

std::set<std::uint32_t> sample_handlers() {
    std::set<std::uint32_t> handlers;
    for (const Window& window : sample_forms().windows)
        for (const Element& element : window.elements) {
            if (const ControlRecord* control = element.control())
                for (const EventBinding& binding : control->events)
                    handlers.insert(binding.handler);
            if (const MenuItemRecord* item = element.menu_item();
                item != nullptr && item->click_handler != kNoHandler)
                handlers.insert(item->click_handler);
        }
    return handlers;
}

std::vector<std::pair<std::string, Bytes>> seed_sections() {
    auto write = [](const FormSection& forms) {
        Result<Bytes> bytes = write_forms(forms, WriteRules::exact_copy());
        require(bytes.ok() ? ok_status() : Status(bytes.error()), "seed");
        return std::move(bytes).value();
    };
    const FormSection all = sample_forms();
    std::vector<std::pair<std::string, Bytes>> seeds;
    seeds.emplace_back("all_windows.bin", write(all));
    for (std::size_t i = 0; i < all.windows.size(); ++i)
        seeds.emplace_back("window_" + std::to_string(i) + ".bin", write(FormSection{{all.windows[i]}}));
    seeds.emplace_back("empty.bin", write(FormSection{}));
    return seeds;
}

} // namespace vorn::forms::testing
