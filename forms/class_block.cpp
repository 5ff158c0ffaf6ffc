#include "forms/class_block.h"

#include <algorithm>

namespace vorn::forms {
namespace {

template <class T> bool holds(const FieldValue& value) {
    return std::holds_alternative<T>(value);
}

// Whether a value has the type that the field's wire form stores.
bool fits_wire(const FieldSpec& field, const FieldValue& value) {
    switch (field.wire) {
    case Wire::u32:
    case Wire::u8:
        return holds<std::uint32_t>(value);
    case Wire::u32_list:
    case Wire::u32_rest:
        return holds<std::vector<std::uint32_t>>(value);
    case Wire::counted_text:
        return holds<std::string>(value);
    case Wire::raw:
    case Wire::byte_block:
        return holds<Bytes>(value);
    case Wire::font:
        return holds<std::optional<Font>>(value);
    }
    return false;
}

std::string field_label(const FieldSpec& field) {
    return std::string(field.property == PropertyId::none ? field.label : property_name(field.property));
}

Result<FieldValue> read_field(ByteCursor& in, const FieldSpec& field, const std::string& what) {
    switch (field.wire) {
    case Wire::u32: {
        VORN_TRY_ASSIGN(std::uint32_t value, in.u32(what));
        return FieldValue(value);
    }
    case Wire::u8: {
        VORN_TRY_ASSIGN(std::uint8_t value, in.u8(what));
        return FieldValue(std::uint32_t(value));
    }
    case Wire::u32_list:
    case Wire::u32_rest: {
        std::uint64_t count = field.count;
        if (field.wire == Wire::u32_rest) {
            if (in.remaining() % 4 != 0)
                return in.error_at(in.position(), what + ": " + std::to_string(in.remaining()) +
                                                      " bytes left, not a whole number of 32-bit values");
            count = in.remaining() / 4;
        }
        VORN_TRY_STATUS(in.expect_entries(count, 4, what));
        std::vector<std::uint32_t> values(static_cast<std::size_t>(count));
        for (std::uint32_t& value : values) {
            VORN_TRY_ASSIGN(value, in.u32(what));
        }
        return FieldValue(std::move(values));
    }
    case Wire::raw: {
        VORN_TRY_ASSIGN(ByteView bytes, in.take(field.count, what));
        return FieldValue(Bytes(bytes.begin(), bytes.end()));
    }
    case Wire::counted_text: {
        VORN_TRY_ASSIGN(ByteView bytes, in.counted(what));
        return FieldValue(std::string(bytes.begin(), bytes.end()));
    }
    case Wire::byte_block: {
        VORN_TRY_ASSIGN(ByteView bytes, in.counted(what));
        return FieldValue(Bytes(bytes.begin(), bytes.end()));
    }
    case Wire::font: {
        const std::size_t at = in.position();
        VORN_TRY_ASSIGN(ByteView bytes, in.counted(what));
        if (bytes.empty())
            return FieldValue(std::optional<Font>());
        VORN_TRY_ASSIGN(Font font, decode_font(bytes, in.context(), in.absolute(at + 4)));
        return FieldValue(std::optional<Font>(font));
    }
    }
    return in.error_at(in.position(), what + ": unknown field form");
}

Status write_field(ByteWriter& out, const FieldSpec& field, const FieldValue& value,
                   const std::string& what) {
    if (!fits_wire(field, value))
        return Error{what + ": value of the wrong type"};
    switch (field.wire) {
    case Wire::u32:
        out.u32(std::get<std::uint32_t>(value));
        break;
    case Wire::u8: {
        const std::uint32_t byte = std::get<std::uint32_t>(value);
        if (byte > 0xFF)
            return Error{what + ": " + hex(byte) + " does not fit in one byte"};
        out.u8(static_cast<std::uint8_t>(byte));
        break;
    }
    case Wire::u32_list:
    case Wire::u32_rest: {
        const auto& values = std::get<std::vector<std::uint32_t>>(value);
        if (field.wire == Wire::u32_list && values.size() != field.count)
            return Error{what + ": " + std::to_string(values.size()) + " values, the layout has " +
                         std::to_string(field.count)};
        for (std::uint32_t item : values)
            out.u32(item);
        break;
    }
    case Wire::raw: {
        const Bytes& bytes = std::get<Bytes>(value);
        if (bytes.size() != field.count)
            return Error{what + ": " + std::to_string(bytes.size()) + " bytes, the layout has " +
                         std::to_string(field.count)};
        out.bytes(bytes);
        break;
    }
    case Wire::counted_text:
    case Wire::byte_block: {
        ByteView bytes = holds<std::string>(value) ? as_bytes(std::get<std::string>(value))
                                                   : ByteView(std::get<Bytes>(value));
        if (bytes.size() > UINT32_MAX)
            return Error{what + ": too long for a 32-bit length"};
        out.counted(bytes);
        break;
    }
    case Wire::font: {
        const auto& font = std::get<std::optional<Font>>(value);
        out.counted(font ? ByteView(encode_font(*font)) : ByteView());
        break;
    }
    }
    return ok_status();
}

FieldValue fallback_value(const FieldSpec& field) {
    switch (field.wire) {
    case Wire::u32:
    case Wire::u8:
        return field.fallback;
    case Wire::u32_list:
    case Wire::u32_rest:
        return std::vector<std::uint32_t>(field.list_fallback.begin(), field.list_fallback.end());
    case Wire::raw:
        return Bytes(field.count, 0);
    case Wire::counted_text:
        return std::string(field.text_fallback);
    case Wire::byte_block:
        return Bytes();
    case Wire::font:
        return std::optional<Font>();
    }
    return field.fallback;
}

Result<const ClassInfo*> known_class(std::uint32_t class_id) {
    const ClassInfo* info = find_class(class_id);
    if (info == nullptr)
        return Error{"class " + hex(class_id) + " is not known"};
    return info;
}

// Replaces the value of the first field that `matches`, after checking its type.
template <class Match>
Status assign(ClassBlock& block, Match matches, const std::string& name, FieldValue value) {
    VORN_TRY_ASSIGN(const ClassInfo* info, known_class(block.class_id));
    std::size_t index = 0;
    for (const FieldSpec& field : info->fields) {
        if (!field_present(field, block.version))
            continue;
        if (matches(field) && !block.empty() && index < block.fields.size()) {
            if (!fits_wire(field, value))
                return Error{std::string(info->tag) + " block " + name + ": value of the wrong type"};
            block.fields[index] = std::move(value);
            return ok_status();
        }
        ++index;
    }
    return Error{std::string(info->tag) + " block of version " + std::to_string(block.version) + " has no " +
                 name};
}

} // namespace

std::optional<std::size_t> field_index(const ClassInfo& info, std::uint32_t version, PropertyId property) {
    std::size_t index = 0;
    for (const FieldSpec& field : info.fields) {
        if (!field_present(field, version))
            continue;
        if (field.property == property && property != PropertyId::none)
            return index;
        ++index;
    }
    return std::nullopt;
}

const FieldValue* ClassBlock::get(PropertyId property) const {
    const ClassInfo* info = find_class(class_id);
    if (info == nullptr || empty())
        return nullptr;
    std::optional<std::size_t> index = field_index(*info, version, property);
    if (!index || *index >= fields.size())
        return nullptr;
    return &fields[*index];
}

std::optional<std::uint32_t> ClassBlock::u32(PropertyId property) const {
    const FieldValue* value = get(property);
    if (value == nullptr || !holds<std::uint32_t>(*value))
        return std::nullopt;
    return std::get<std::uint32_t>(*value);
}

std::optional<std::string> ClassBlock::text(PropertyId property) const {
    const FieldValue* value = get(property);
    if (value == nullptr || !holds<std::string>(*value))
        return std::nullopt;
    return std::get<std::string>(*value);
}

const Bytes* ClassBlock::bytes(PropertyId property) const {
    const FieldValue* value = get(property);
    return value == nullptr ? nullptr : std::get_if<Bytes>(value);
}

const std::optional<Font>* ClassBlock::font() const {
    const FieldValue* value = get(PropertyId::font);
    return value == nullptr ? nullptr : std::get_if<std::optional<Font>>(value);
}

const FieldValue* ClassBlock::kept(std::string_view label) const {
    const ClassInfo* info = find_class(class_id);
    if (info == nullptr)
        return nullptr;
    std::size_t index = 0;
    for (const FieldSpec& field : info->fields) {
        if (!field_present(field, version))
            continue;
        if (field.property == PropertyId::none && field.label == label)
            return index < fields.size() ? &fields[index] : nullptr;
        ++index;
    }
    return nullptr;
}

Status ClassBlock::set(PropertyId property, FieldValue value) {
    return assign(
        *this, [&](const FieldSpec& field) { return field.property == property; },
        std::string(property_name(property)), std::move(value));
}

Status ClassBlock::set_kept(std::string_view label, FieldValue value) {
    return assign(
        *this,
        [&](const FieldSpec& field) { return field.property == PropertyId::none && field.label == label; },
        std::string(label), std::move(value));
}

Result<ClassBlock> decode_class_block(std::uint32_t class_id, ByteView raw, std::string_view context,
                                      std::uint64_t base_offset) {
    ClassBlock block;
    block.class_id = class_id;
    ByteCursor in(raw, std::string(context), base_offset);
    const ClassInfo* info = find_class(class_id);
    if (info == nullptr)
        return in.error_at(0, "class " + hex(class_id) + " is not known");
    if (raw.empty())
        return block;
    const std::string tag(info->tag);
    VORN_TRY_ASSIGN(block.version, in.u32(tag + " block version"));
    if (!has_version(*info, block.version)) {
        std::string known;
        for (std::uint32_t version : info->versions)
            known += (known.empty() ? "" : ", ") + std::to_string(version);
        return in.error_at(0, tag + " block version " + std::to_string(block.version) + " is not understood" +
                                  (known.empty() ? " (only an empty block is)" : " (known: " + known + ")"));
    }
    for (const FieldSpec& field : info->fields) {
        if (!field_present(field, block.version))
            continue;
        VORN_TRY_ASSIGN(FieldValue value, read_field(in, field, tag + " block " + field_label(field)));
        block.fields.push_back(std::move(value));
    }
    if (in.remaining() != 0)
        return in.error_at(in.position(), tag + " block has " + std::to_string(in.remaining()) +
                                              " bytes after its last field");
    return block;
}

Status check_class_block(std::uint32_t class_id, ByteView raw, std::string_view context,
                         std::uint64_t base_offset) {
    VORN_TRY_ASSIGN(ClassBlock block, decode_class_block(class_id, raw, context, base_offset));
    (void)block;
    return ok_status();
}

Result<Bytes> encode_class_block(const ClassBlock& block) {
    VORN_TRY_ASSIGN(const ClassInfo* info, known_class(block.class_id));
    if (block.empty())
        return Bytes();
    const std::string tag(info->tag);
    if (!has_version(*info, block.version))
        return Error{tag + " block version " + std::to_string(block.version) + " is not understood"};
    ByteWriter out;
    out.u32(block.version);
    std::size_t index = 0;
    for (const FieldSpec& field : info->fields) {
        if (!field_present(field, block.version))
            continue;
        if (index >= block.fields.size())
            return Error{tag + " block has " + std::to_string(block.fields.size()) +
                         " fields, its layout more"};
        VORN_TRY_STATUS(write_field(out, field, block.fields[index++], tag + " block " + field_label(field)));
    }
    if (index != block.fields.size())
        return Error{tag + " block has " + std::to_string(block.fields.size()) + " fields, its layout " +
                     std::to_string(index)};
    return out.take();
}

Result<ClassBlock> default_class_block(std::uint32_t class_id, std::uint32_t version) {
    VORN_TRY_ASSIGN(const ClassInfo* info, known_class(class_id));
    ClassBlock block;
    block.class_id = class_id;
    block.version = version == 0 ? newest_version(*info) : version;
    if (block.version == 0)
        return block;
    if (!has_version(*info, block.version))
        return Error{std::string(info->tag) + " block version " + std::to_string(version) +
                     " is not understood"};
    for (const FieldSpec& field : info->fields)
        if (field_present(field, block.version))
            block.fields.push_back(fallback_value(field));
    return block;
}

} // namespace vorn::forms
