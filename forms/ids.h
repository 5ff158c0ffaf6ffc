// Element ids, id kinds and class ids of the window definitions. Every value is
// written out: the stored definitions and the code that addresses elements
// depend on them, so none may follow from declaration order.
#pragma once

#include <cstdint>

namespace vorn::forms {

// An id is kind << 24 | 0x01 << 16 | sequence number.
enum class IdKind : std::uint8_t {
    own_element = 0x06, // a window's own element, always first in its unit
    control = 0x16,     // a control or an invisible component
    unit = 0x19,        // the per-window id in a unit header
    menu_item = 0x26,
    window = 0x52,
};

inline constexpr IdKind id_kind(std::uint32_t id) {
    return static_cast<IdKind>(id >> 24);
}
inline constexpr bool has_kind(std::uint32_t id, IdKind kind) {
    return id_kind(id) == kind;
}
inline constexpr std::uint32_t make_id(IdKind kind, std::uint16_t sequence) {
    return std::uint32_t(kind) << 24 | 0x01u << 16 | sequence;
}

// (library number << 16) | class number, the library number being the
// support library's table position plus one.
namespace class_id {
inline constexpr std::uint32_t window = 0x00010001;
inline constexpr std::uint32_t menu_item = 0x00010003;
inline constexpr std::uint32_t edit_box = 0x00010005;
inline constexpr std::uint32_t picture_box = 0x00010006;
inline constexpr std::uint32_t shape_box = 0x00010007;
inline constexpr std::uint32_t canvas = 0x00010008;
inline constexpr std::uint32_t label = 0x0001000A;
inline constexpr std::uint32_t push_button = 0x0001000B;
inline constexpr std::uint32_t check_box = 0x0001000C;
inline constexpr std::uint32_t file_dialog = 0x0001001F;
inline constexpr std::uint32_t timer = 0x00010020;
inline constexpr std::uint32_t printer = 0x00010021;
inline constexpr std::uint32_t graphic_button = 0x0001002D;
inline constexpr std::uint32_t input_device = 0x00020001;
inline constexpr std::uint32_t transparent_label = 0x00050005;
inline constexpr std::uint32_t colour_picker = 0x000A0002;
inline constexpr std::uint32_t font_picker = 0x000A0003;
inline constexpr std::uint32_t picture_button = 0x000B0001;
inline constexpr std::uint32_t balloon_tip = 0x000C0001;
} // namespace class_id

// Cursor ids stored in element records (0 = the default arrow).
namespace cursor_id {
inline constexpr std::uint32_t arrow = 0;
inline constexpr std::uint32_t cross = 0x7F03;
inline constexpr std::uint32_t hand = 0x7F89;
} // namespace cursor_id

// Bits of an element's flags field.
namespace element_flag {
inline constexpr std::uint32_t visible = 1u << 0;
inline constexpr std::uint32_t focusable = 1u << 2;
// Set on about half of the controls; its meaning is the runtime's, kept as stored.
inline constexpr std::uint32_t bit4 = 1u << 4;
} // namespace element_flag

// An element as code addresses it: (window id, element id, class id).
struct ElementRef {
    std::uint32_t window = 0;
    std::uint32_t element = 0;
    std::uint32_t class_id = 0;
};

// A menu item without a click handler stores this in place of the offset.
inline constexpr std::uint32_t kNoHandler = 0xFFFFFFFF;

} // namespace vorn::forms
