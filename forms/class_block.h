// Class blocks in typed form. A decoded block holds one value per field of its
// class's layout (class_table.h) in stored order: the fields that carry a
// property are read and written through their property number, the others are
// kept as they were, so encode(decode(raw)) gives `raw` back.
#pragma once

#include "base/bytes.h"
#include "base/result.h"
#include "forms/class_table.h"
#include "forms/font.h"
#include "forms/properties.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vorn::forms {

// u32 and u8 fields hold std::uint32_t; u32_list and u32_rest a vector;
// counted texts std::string (GBK bytes); raw and byte-block fields Bytes; a
// font field std::optional<Font> (none = the default font).
using FieldValue =
    std::variant<std::uint32_t, std::vector<std::uint32_t>, std::string, Bytes, std::optional<Font>>;

struct ClassBlock {
    std::uint32_t class_id = 0;
    // 0 with no fields: the empty block, in which every property keeps its default.
    std::uint32_t version = 0;
    std::vector<FieldValue> fields{}; // one per layout field present in this version

    bool empty() const { return version == 0 && fields.empty(); }

    // The stored value of a property, or null when this block does not store it
    // (the class has no such property, or the block is empty).
    const FieldValue* get(PropertyId property) const;
    std::optional<std::uint32_t> u32(PropertyId property) const;
    std::optional<std::string> text(PropertyId property) const;
    const Bytes* bytes(PropertyId property) const;
    const std::optional<Font>* font() const;
    // Replaces a property's value; refuses a property that the block does not
    // store and a value of the wrong type.
    Status set(PropertyId property, FieldValue value);
    // The same for a kept field, addressed by its label in the class table
    // (e.g. the window's "attributes").
    const FieldValue* kept(std::string_view label) const;
    Status set_kept(std::string_view label, FieldValue value);

    bool operator==(const ClassBlock&) const = default;
};

// `context` and `base_offset` name the block in errors, e.g. "form section,
// window 0 (0x52010001), element 3 (0x16010002)" and its absolute position.
Result<ClassBlock> decode_class_block(std::uint32_t class_id, ByteView raw,
                                      std::string_view context = "class block",
                                      std::uint64_t base_offset = 0);
Status check_class_block(std::uint32_t class_id, ByteView raw, std::string_view context = "class block",
                         std::uint64_t base_offset = 0);
Result<Bytes> encode_class_block(const ClassBlock& block);
// A block of the given version (0 = the newest) with every field at its
// default; the starting point for building a definition in code.
Result<ClassBlock> default_class_block(std::uint32_t class_id, std::uint32_t version = 0);

// Position of the field holding `property` among a block's fields, or nullopt.
std::optional<std::size_t> field_index(const ClassInfo& info, std::uint32_t version, PropertyId property);

} // namespace vorn::forms
