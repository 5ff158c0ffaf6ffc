#include "forms/properties.h"

#include <array>

namespace vorn::forms {
namespace {

using enum PropertyId;
using K = PropertyKind;
constexpr PropertyPlace R = PropertyPlace::record;
constexpr PropertyPlace B = PropertyPlace::block;
constexpr PropertyPlace T = PropertyPlace::runtime;

constexpr std::array kProperties = {
    PropertyInfo{left, "left", K::integer, R},
    PropertyInfo{top, "top", K::integer, R},
    PropertyInfo{width, "width", K::integer, R},
    PropertyInfo{height, "height", K::integer, R},
    PropertyInfo{visible, "visible", K::flag, R},
    PropertyInfo{focusable, "focusable", K::flag, R},
    PropertyInfo{cursor, "cursor", K::cursor, R},
    PropertyInfo{text, "text", K::text, B},
    PropertyInfo{back_colour, "back colour", K::colour, B},
    PropertyInfo{text_colour, "text colour", K::colour, B},
    PropertyInfo{font, "font", K::font, B},
    PropertyInfo{picture, "picture", K::bytes, B},
    PropertyInfo{border_style, "border style", K::integer, B},
    PropertyInfo{window_class_name, "window class name", K::text, B},
    PropertyInfo{input_mode, "input mode", K::integer, B},
    PropertyInfo{password_char, "password character", K::character, B},
    PropertyInfo{draw_mode, "drawing mode", K::integer, B},
    PropertyInfo{pen_width, "pen width", K::integer, B},
    PropertyInfo{pen_colour, "pen colour", K::colour, B},
    PropertyInfo{brush_type, "brush type", K::integer, B},
    PropertyInfo{brush_colour, "brush colour", K::colour, B},
    PropertyInfo{filter, "filter", K::text, B},
    PropertyInfo{default_extension, "default extension", K::text, B},
    PropertyInfo{interval, "interval", K::integer, B},
    PropertyInfo{style_sheet, "style sheet", K::text, B},
    PropertyInfo{stay_on_top, "stay on top", K::flag, T},
    PropertyInfo{taskbar_button, "taskbar button", K::flag, T},
    PropertyInfo{checked, "checked", K::flag, T},
    PropertyInfo{background_picture, "background picture", K::bytes, T},
    PropertyInfo{dialog_type, "dialog type", K::integer, T},
    PropertyInfo{file_name, "file name", K::text, T},
    PropertyInfo{colour, "colour", K::colour, T},
    PropertyInfo{window_mode, "window mode", K::integer, T},
};

} // namespace

std::span<const PropertyInfo> all_properties() {
    return kProperties;
}

const PropertyInfo* property_info(PropertyId id) {
    for (const PropertyInfo& info : kProperties)
        if (info.id == id)
            return &info;
    return nullptr;
}

std::string_view property_name(PropertyId id) {
    const PropertyInfo* info = property_info(id);
    return info == nullptr ? "?" : info->name;
}

} // namespace vorn::forms
