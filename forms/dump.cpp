#include "forms/dump.h"

#include "forms/class_block.h"
#include "forms/class_table.h"
#include "forms/gbk_utf8.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace vorn::forms {
namespace {

// Ids and colours read best at their full width: 0x06010000, 0x00ffff00.
std::string hex8(std::uint32_t value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08x", static_cast<unsigned>(value));
    return buf;
}

std::string quoted(std::string_view gbk) {
    return "\"" + detail::gbk_to_utf8(gbk) + "\"";
}

std::string flag_names(std::uint32_t flags) {
    std::string names = hex(flags);
    std::string words;
    auto add = [&](std::uint32_t bit, const char* name) {
        if (flags & bit)
            words += (words.empty() ? "" : ", ") + std::string(name);
    };
    add(element_flag::visible, "visible");
    add(element_flag::focusable, "focusable");
    add(element_flag::bit4, "bit 4");
    if ((flags & element_flag::visible) == 0)
        words += words.empty() ? "hidden" : ", hidden";
    return names + " (" + words + ")";
}

std::string cursor_name(const ControlRecord& control) {
    std::optional<std::uint32_t> cursor = cursor_of(control);
    if (!cursor)
        return "block of " + std::to_string(control.cursor_block.size()) + " bytes";
    switch (*cursor) {
    case cursor_id::arrow:
        return "arrow";
    case cursor_id::cross:
        return "cross";
    case cursor_id::hand:
        return "hand";
    default:
        return hex(*cursor);
    }
}

std::string class_name(std::uint32_t id) {
    const ClassInfo* info = find_class(id);
    if (info == nullptr)
        return "unknown class " + hex8(id);
    return std::string(info->tag) + " " + detail::gbk_to_utf8(info->gbk_name);
}

std::string show_value(const FieldSpec& field, const FieldValue& value) {
    std::ostringstream out;
    if (const auto* number = std::get_if<std::uint32_t>(&value)) {
        const PropertyInfo* info = property_info(field.property);
        if (info != nullptr && info->kind == PropertyKind::colour)
            out << hex8(*number);
        else if (info != nullptr && info->kind == PropertyKind::character && *number >= 0x20 &&
                 *number < 0x7F)
            out << "'" << char(*number) << "'";
        else
            out << static_cast<std::int32_t>(*number);
    } else if (const auto* list = std::get_if<std::vector<std::uint32_t>>(&value)) {
        out << "[";
        for (std::size_t i = 0; i < list->size(); ++i)
            out << (i ? ", " : "") << ((*list)[i] > 0xFFFF ? hex8((*list)[i]) : std::to_string((*list)[i]));
        out << "]";
    } else if (const auto* text = std::get_if<std::string>(&value)) {
        out << quoted(*text);
    } else if (const auto* bytes = std::get_if<Bytes>(&value)) {
        out << "<" << bytes->size() << " bytes>";
    } else if (const auto* font = std::get_if<std::optional<Font>>(&value)) {
        if (!*font)
            out << "default";
        else
            out << "height " << (*font)->height << ", weight " << (*font)->weight << ", italic "
                << int((*font)->italic) << ", charset " << int((*font)->charset) << ", face "
                << quoted((*font)->face_name());
    }
    return out.str();
}

void dump_block(std::ostringstream& out, std::uint32_t class_id, const Bytes& raw) {
    const ClassInfo* info = find_class(class_id);
    if (info == nullptr) {
        out << "      class block: " << raw.size() << " bytes, not decoded\n";
        return;
    }
    Result<ClassBlock> block = decode_class_block(class_id, raw);
    if (!block.ok()) {
        out << "      class block: " << raw.size() << " bytes, does not decode: " << block.error().message
            << "\n";
        return;
    }
    if (block->empty()) {
        out << "      class block: empty (defaults)\n";
        return;
    }
    out << "      class block: version " << block->version << ", " << raw.size() << " bytes\n";
    std::size_t index = 0;
    for (const FieldSpec& field : info->fields) {
        if (!field_present(field, block->version))
            continue;
        const bool typed = field.property != PropertyId::none;
        out << "        " << (typed ? property_name(field.property) : field.label);
        if (typed)
            out << " #" << static_cast<unsigned>(field.property);
        out << " = " << show_value(field, block->fields[index++]) << "\n";
    }
}

void dump_events(std::ostringstream& out, std::uint32_t class_id, const std::vector<EventBinding>& events) {
    const ClassInfo* info = find_class(class_id);
    for (const EventBinding& binding : events) {
        const EventInfo* event = info == nullptr ? nullptr : find_event(*info, binding.event);
        out << "      event " << binding.event << " "
            << (event ? event->name : "(not an event of this class)") << " -> " << hex(binding.handler)
            << "\n";
    }
}

template <class Array> bool all_zero(const Array& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

void dump_element(std::ostringstream& out, std::size_t index, const Element& element) {
    out << "    [" << index << "] " << hex8(element.id) << " " << quoted(element.name) << " "
        << class_name(element.class_id) << "\n";
    if (!element.second_text.empty())
        out << "      second text " << quoted(element.second_text) << "\n";
    if (!all_zero(element.reserved) || element.reserved_after_texts != 0)
        out << "      reserved record fields are not zero\n";
    if (const MenuItemRecord* item = element.menu_item()) {
        out << "      menu level " << item->level << ", value " << item->menu_value << ", caption "
            << quoted(item->caption) << ", click "
            << (item->click_handler == kNoHandler ? std::string("none") : hex(item->click_handler)) << "\n";
        return;
    }
    const ControlRecord& control = *element.control();
    out << "      at " << control.left << ", " << control.top << " size " << control.width << " x "
        << control.height << ", parent " << (control.parent ? hex8(control.parent) : std::string("window"))
        << ", flags " << flag_names(control.flags) << ", cursor " << cursor_name(control) << "\n";
    if (!control.children.empty()) {
        out << "      children";
        for (std::uint32_t child : control.children)
            out << " " << hex8(child);
        out << "\n";
    }
    if (!control.tag.empty())
        out << "      tag " << quoted(control.tag) << "\n";
    if (control.reserved_b || control.reserved_c || control.reserved_d || !all_zero(control.reserved_e))
        out << "      reserved record fields are not zero\n";
    dump_events(out, element.class_id, control.events);
    dump_block(out, element.class_id, control.class_block);
}

} // namespace

std::string dump_forms(const FormSection& forms) {
    std::ostringstream out;
    out << "form section: " << forms.windows.size() << " windows\n";
    for (const Window& window : forms.windows) {
        out << "window " << hex8(window.id) << ", unit id " << hex8(window.unit_id) << ", directory value "
            << hex(window.directory_value) << ", unit value " << hex(window.unit_value) << ", "
            << window.elements.size() << " elements\n";
        if (window.unit_reserved_a || window.unit_reserved_b)
            out << "  reserved unit fields are not zero\n";
        if (!window.elements.empty() && window.elements.front().control() != nullptr) {
            const Element& own = window.elements.front();
            Result<ClassBlock> block = decode_class_block(own.class_id, own.control()->class_block);
            std::optional<std::string> caption = block.ok() ? block->text(PropertyId::text) : std::nullopt;
            const ControlRecord& control = *own.control();
            out << "  caption " << quoted(caption.value_or("")) << ", at " << control.left << ", "
                << control.top << ", outer size " << control.width << " x " << control.height << ", flags "
                << flag_names(control.flags) << "\n";
        }
        for (std::size_t i = 0; i < window.elements.size(); ++i)
            dump_element(out, i, window.elements[i]);
    }
    return out.str();
}

} // namespace vorn::forms
