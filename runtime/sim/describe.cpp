#include "runtime/sim/describe.h"

#include "text/gbk.h"

#include <cstdio>

namespace vorn::sim {

std::string utf8(std::string_view gbk_text) {
    return text::gbk_to_utf8(gbk_text);
}

std::string gbk(std::string_view utf8_text) {
    return text::utf8_to_gbk(utf8_text);
}

std::string in_quotes(std::string_view gbk_text) {
    return "\"" + utf8(gbk_text) + "\"";
}

std::string show_value(forms::PropertyId property, const runtime::Value& value) {
    if (const auto* number = std::get_if<std::int64_t>(&value)) {
        const forms::PropertyInfo* info = forms::property_info(property);
        if (info == nullptr || info->kind != forms::PropertyKind::colour)
            return std::to_string(*number);
        if (std::uint32_t(*number) == forms::kDefaultColour)
            return "default";
        char buf[16];
        std::snprintf(buf, sizeof buf, "0x%06X", unsigned(std::uint32_t(*number)));
        return buf;
    }
    if (const auto* text = std::get_if<std::string>(&value))
        return in_quotes(*text);
    if (std::holds_alternative<Bytes>(value) || std::holds_alternative<runtime::SharedBytes>(value))
        return "<" + std::to_string(runtime::bytes_view(value).size()) + " bytes>";
    if (const auto* font = std::get_if<forms::Font>(&value))
        return "font(" + in_quotes(font->face_name()) + ", " + std::to_string(font->height) + ")";
    return "none";
}

} // namespace vorn::sim
