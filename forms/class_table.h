// The one table of control classes: for each class its id, its names, the
// layouts of its class block by version (which stored field holds which
// property, and what each kept field is called) and its events. The block
// decoder and encoder, the writer's checks and the dump all read this table,
// so a class is described in exactly one place (class_table.cpp).
#pragma once

#include "forms/properties.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace vorn::forms {

// How one field of a class block is stored.
enum class Wire : std::uint8_t {
    u32,          // 32-bit value
    u8,           // one byte
    u32_list,     // `count` 32-bit values
    u32_rest,     // 32-bit values up to the end of the block
    raw,          // `count` bytes whose layout is not known
    counted_text, // 32-bit length, then that many GBK bytes
    byte_block,   // 32-bit length, then that many bytes
    font,         // a byte block holding nothing or a LOGFONTA record
};

struct FieldSpec {
    Wire wire = Wire::u32;
    // The property this field holds, or none for a field kept by position.
    PropertyId property = PropertyId::none;
    std::string_view label{};                       // name in dumps; the property's name when it has one
    std::uint32_t count = 0;                        // for u32_list and raw
    std::uint32_t fallback = 0;                     // default of a u32 or u8
    std::span<const std::uint32_t> list_fallback{}; // default of a u32_list or u32_rest
    std::string_view text_fallback{};               // default of a counted text
    std::uint32_t since_version = 0;                // absent from blocks of older versions
};

struct EventInfo {
    std::int32_t number;
    std::string_view name;
};

struct ClassInfo {
    std::uint32_t id;
    std::string_view gbk_name; // the class name that instance names start with, GBK
    std::string_view tag;      // English, for dumps and errors
    // A control with a window of its own; these share the negative mouse and
    // key events. Components (timers, dialogs, ...) and menu items do not.
    bool has_window;
    // Block versions understood; none means only the empty block is.
    std::span<const std::uint32_t> versions;
    std::span<const FieldSpec> fields; // in stored order, after the version
    std::span<const EventInfo> events; // the class's own events, 0 and up
    // Properties that only the running program has (or that the class has at
    // run time although its block does not store them).
    std::span<const PropertyId> runtime_properties{};
};

std::span<const ClassInfo> all_classes();
const ClassInfo* find_class(std::uint32_t class_id);
// The events that every control with a window shares (negative numbers).
std::span<const EventInfo> shared_events();
// The event with this number on this class, own or shared; null if it has none.
const EventInfo* find_event(const ClassInfo& info, std::int32_t number);
bool has_version(const ClassInfo& info, std::uint32_t version);
// Whether a block of this version stores the field.
inline bool field_present(const FieldSpec& field, std::uint32_t version) {
    return version >= field.since_version;
}
// The newest version understood, 0 when the class has no block layout.
std::uint32_t newest_version(const ClassInfo& info);

} // namespace vorn::forms
