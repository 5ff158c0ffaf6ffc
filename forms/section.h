// The form section as data: windows, their elements and every stored field,
// including the ones that loading ignores, so that writing what was read gives
// the identical bytes. Class blocks stay raw here; class_block.h decodes them.
#pragma once

#include "base/bytes.h"
#include "base/result.h"
#include "forms/ids.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace vorn::forms {

// Wire sizes of the fixed parts, shared by the reader and the writer.
inline constexpr std::size_t kDirectoryEntrySize = 8;    // id + opaque value
inline constexpr std::size_t kUnitHeaderSize = 24;       // up to and including the unit length
inline constexpr std::size_t kElementIndexEntrySize = 8; // id + offset
inline constexpr std::size_t kRecordReservedSize = 20;   // zeros after the class id
inline constexpr std::size_t kEventsReservedSize = 20;   // zeros after the event table
inline constexpr std::size_t kMenuReservedSize = 16;     // zeros ending a menu item record
inline constexpr std::size_t kEventBindingSize = 8;

using Reserved20 = std::array<std::uint8_t, kRecordReservedSize>;
using Reserved16 = std::array<std::uint8_t, kMenuReservedSize>;

struct EventBinding {
    std::int32_t event = 0;
    std::uint32_t handler = 0; // offset in the code section's data
    bool operator==(const EventBinding&) const = default;
};

// The part of a window's or control's record after the two texts.
struct ControlRecord {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint32_t reserved_b = 0; // stored 0, before the parent
    std::uint32_t parent = 0;     // 0 when the control sits on the window itself
    std::vector<std::uint32_t> children{};
    // Stored as a byte block that always holds one 32-bit cursor id; kept as
    // bytes so that any other length still writes back unchanged.
    Bytes cursor_block = {0, 0, 0, 0};
    std::string tag{};
    std::uint32_t reserved_c = 0; // stored 0, before the flags
    std::uint32_t flags = 0;      // element_flag bits
    std::uint32_t reserved_d = 0; // stored 0, before the events
    std::vector<EventBinding> events{};
    Reserved20 reserved_e{};
    Bytes class_block{}; // empty = every class property keeps its default

    bool operator==(const ControlRecord&) const = default;
};

// The part of a menu item's record after the two texts.
struct MenuItemRecord {
    std::uint32_t level = 0;      // 0 = top-level menu, 1 = item of the last level-0 menu
    std::uint32_t menu_value = 0; // 1 on top-level menus, 0 on items; kept as stored
    std::string caption{};
    std::uint32_t click_handler = kNoHandler;
    Reserved16 reserved{};

    bool operator==(const MenuItemRecord&) const = default;
};

struct Element {
    std::uint32_t id = 0;
    std::uint32_t class_id = 0;
    Reserved20 reserved{};     // stored zero after the class id
    std::string name{};        // GBK; empty on a window's own element
    std::string second_text{}; // GBK; empty in every known record
    std::uint32_t reserved_after_texts = 0;
    // MenuItemRecord exactly when class_id is class_id::menu_item.
    std::variant<ControlRecord, MenuItemRecord> record;

    bool is_menu_item() const { return std::holds_alternative<MenuItemRecord>(record); }
    ControlRecord* control() { return std::get_if<ControlRecord>(&record); }
    const ControlRecord* control() const { return std::get_if<ControlRecord>(&record); }
    MenuItemRecord* menu_item() { return std::get_if<MenuItemRecord>(&record); }
    const MenuItemRecord* menu_item() const { return std::get_if<MenuItemRecord>(&record); }

    bool operator==(const Element&) const = default;
};

struct Window {
    std::uint32_t id = 0;              // kind 0x52
    std::uint32_t directory_value = 0; // the directory's opaque per-window value
    std::uint32_t unit_value = 0;      // the unit's opaque first field
    std::uint32_t unit_id = 0;         // kind 0x19
    std::uint32_t unit_reserved_a = 0; // stored 0
    std::uint32_t unit_reserved_b = 0; // stored 0
    std::vector<Element> elements{};   // the own element first, then in stored order

    bool operator==(const Window&) const = default;
};

struct FormSection {
    std::vector<Window> windows{};
    bool operator==(const FormSection&) const = default;
};

// The cursor id of a control (cursor_id values), or nullopt when its cursor
// block is not the usual 4 bytes.
std::optional<std::uint32_t> cursor_of(const ControlRecord& control);
void set_cursor(ControlRecord& control, std::uint32_t cursor);

// Lookup by the pair the code uses. Null when either id is unknown.
const Window* find_window(const FormSection& section, std::uint32_t window_id);
const Element* find_element(const FormSection& section, std::uint32_t window_id, std::uint32_t element_id);
Element* find_element(FormSection& section, std::uint32_t window_id, std::uint32_t element_id);
// The same, with an Error that names the missing window or element.
Result<const Element*> lookup_element(const FormSection& section, std::uint32_t window_id,
                                      std::uint32_t element_id);

// "window 2 (0x520100b4)" and "element 3 (0x160100b8)": the names that every
// error about a definition carries.
std::string describe_window(std::size_t index, std::uint32_t id);
std::string describe_element(std::size_t index, std::uint32_t id);

} // namespace vorn::forms
