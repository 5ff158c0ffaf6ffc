#include "forms/reader.h"

#include "forms/class_block.h"
#include "forms/class_table.h"

#include <algorithm>

namespace vorn::forms {
namespace {

template <std::size_t N>
Result<std::array<std::uint8_t, N>> read_array(ByteCursor& in, std::string_view what) {
    VORN_TRY_ASSIGN(ByteView bytes, in.take(N, what));
    std::array<std::uint8_t, N> out{};
    std::copy(bytes.begin(), bytes.end(), out.begin());
    return out;
}

Result<std::vector<std::uint32_t>> read_ids(ByteCursor& in, std::uint32_t count, std::string_view what) {
    VORN_TRY_STATUS(in.expect_entries(count, 4, what));
    std::vector<std::uint32_t> ids(count);
    for (std::uint32_t& id : ids) {
        VORN_TRY_ASSIGN(id, in.u32(what));
    }
    return ids;
}

Result<std::vector<EventBinding>> read_events(ByteCursor& in) {
    VORN_TRY_ASSIGN(std::uint32_t count, in.u32("event count"));
    VORN_TRY_STATUS(in.expect_entries(count, kEventBindingSize, "event table"));
    std::vector<EventBinding> events(count);
    for (EventBinding& binding : events) {
        VORN_TRY_ASSIGN(binding.event, in.i32("event number"));
        VORN_TRY_ASSIGN(binding.handler, in.u32("event handler offset"));
    }
    return events;
}

Result<MenuItemRecord> read_menu_item(ByteCursor& in) {
    MenuItemRecord item;
    VORN_TRY_ASSIGN(item.level, in.u32("menu level"));
    VORN_TRY_ASSIGN(item.menu_value, in.u32("menu value"));
    VORN_TRY_ASSIGN(item.caption, in.text("menu caption"));
    VORN_TRY_ASSIGN(item.click_handler, in.u32("menu click handler"));
    VORN_TRY_ASSIGN(item.reserved, read_array<kMenuReservedSize>(in, "menu item reserved bytes"));
    // The record length must agree with the fixed layout: trailing bytes would
    // be lost on writing.
    if (in.remaining() != 0)
        return in.error_at(in.position(), "menu item record ends with " + std::to_string(in.remaining()) +
                                              " bytes that its layout does not hold");
    return item;
}

Result<ControlRecord> read_control(ByteCursor& in) {
    ControlRecord control;
    VORN_TRY_ASSIGN(control.left, in.i32("left"));
    VORN_TRY_ASSIGN(control.top, in.i32("top"));
    VORN_TRY_ASSIGN(control.width, in.i32("width"));
    VORN_TRY_ASSIGN(control.height, in.i32("height"));
    VORN_TRY_ASSIGN(control.reserved_b, in.u32("field before the parent"));
    VORN_TRY_ASSIGN(control.parent, in.u32("parent id"));
    VORN_TRY_ASSIGN(std::uint32_t child_count, in.u32("child count"));
    VORN_TRY_ASSIGN(control.children, read_ids(in, child_count, "child ids"));
    VORN_TRY_ASSIGN(ByteView cursor, in.counted("cursor block"));
    control.cursor_block.assign(cursor.begin(), cursor.end());
    VORN_TRY_ASSIGN(control.tag, in.text("tag"));
    VORN_TRY_ASSIGN(control.reserved_c, in.u32("field before the flags"));
    VORN_TRY_ASSIGN(control.flags, in.u32("flags"));
    VORN_TRY_ASSIGN(control.reserved_d, in.u32("field before the events"));
    VORN_TRY_ASSIGN(control.events, read_events(in));
    VORN_TRY_ASSIGN(control.reserved_e,
                    read_array<kEventsReservedSize>(in, "reserved bytes after the events"));
    VORN_TRY_ASSIGN(ByteView block, in.take(in.remaining(), "class block"));
    control.class_block.assign(block.begin(), block.end());
    return control;
}

// One record, starting at the front of `rest` (the unit's record bytes from
// this record on). Returns the element and sets `length` to the record's size.
Result<Element> read_record(ByteView rest, std::uint64_t base, const std::string& context, std::uint32_t id,
                            const ReadOptions& options, std::uint64_t& length) {
    ByteCursor head(rest, context, base);
    VORN_TRY_ASSIGN(std::uint32_t declared, head.u32("record length"));
    if (declared > head.remaining())
        return head.error_at(0, "record length " + std::to_string(declared) +
                                    " runs past the end of its unit (" + std::to_string(head.remaining()) +
                                    " bytes follow)");
    length = std::uint64_t(declared) + 4;
    ByteCursor in(rest.first(static_cast<std::size_t>(length)), context, base);
    VORN_TRY_STATUS(in.seek(4, "record"));

    Element element;
    element.id = id;
    VORN_TRY_ASSIGN(element.class_id, in.u32("class id"));
    VORN_TRY_ASSIGN(element.reserved,
                    read_array<kRecordReservedSize>(in, "reserved bytes after the class id"));
    VORN_TRY_ASSIGN(element.name, in.text("name"));
    VORN_TRY_ASSIGN(element.second_text, in.text("second text"));
    VORN_TRY_ASSIGN(element.reserved_after_texts, in.u32("field after the texts"));
    if (element.class_id == class_id::menu_item) {
        VORN_TRY_ASSIGN(element.record, read_menu_item(in));
        return element;
    }
    VORN_TRY_ASSIGN(ControlRecord control, read_control(in));
    // The class block ends the record, so it starts its own size before the end.
    const std::uint64_t block_at = in.absolute(in.size() - control.class_block.size());
    if (options.check_class_blocks && find_class(element.class_id) != nullptr) {
        VORN_TRY_STATUS(
            check_class_block(element.class_id, control.class_block, context + ", class block", block_at));
    }
    element.record = std::move(control);
    return element;
}

Result<Window> read_unit(ByteView section, std::uint64_t base, std::size_t start, std::size_t index,
                         std::uint32_t window_id, const ReadOptions& options) {
    Window window;
    window.id = window_id;
    const std::string context = "form section, " + describe_window(index, window_id);
    ByteCursor in(section, context, base);
    VORN_TRY_STATUS(in.seek(start, "window unit"));
    VORN_TRY_ASSIGN(window.unit_value, in.u32("unit value"));
    VORN_TRY_ASSIGN(window.unit_id, in.u32("unit id"));
    VORN_TRY_ASSIGN(window.unit_reserved_a, in.u32("unit field 8"));
    VORN_TRY_ASSIGN(window.unit_reserved_b, in.u32("unit field 12"));
    VORN_TRY_ASSIGN(std::uint32_t count, in.u32("element count"));
    const std::size_t length_at = in.position();
    VORN_TRY_ASSIGN(std::uint32_t unit_length, in.u32("unit length"));
    const std::uint64_t index_size = std::uint64_t(count) * kElementIndexEntrySize;
    if (unit_length < index_size)
        return in.error_at(length_at, "unit length " + std::to_string(unit_length) + " is shorter than the " +
                                          std::to_string(count) + " element ids and offsets");
    if (unit_length > in.remaining())
        return in.error_at(length_at, "unit length " + std::to_string(unit_length) +
                                          " runs past the section end (" + std::to_string(in.remaining()) +
                                          " bytes follow)");
    VORN_TRY_ASSIGN(std::vector<std::uint32_t> ids, read_ids(in, count, "element ids"));
    const std::size_t offsets_at = in.position();
    VORN_TRY_ASSIGN(std::vector<std::uint32_t> offsets, read_ids(in, count, "element offsets"));

    const std::size_t records_at = in.position();
    const std::uint64_t records_size = unit_length - index_size;
    ByteView records = section.subspan(records_at, static_cast<std::size_t>(records_size));
    std::uint64_t used = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::string element_context = context + ", " + describe_element(i, ids[i]);
        if (offsets[i] != used)
            return ByteCursor(section, element_context, base)
                .error_at(offsets_at + 4 * std::size_t(i),
                          "element offset " + hex(offsets[i]) + " does not match the record position " +
                              hex(used) + (i == 0 ? " (the first offset must be 0)" : ""));
        std::uint64_t length = 0;
        VORN_TRY_ASSIGN(Element element,
                        read_record(records.subspan(static_cast<std::size_t>(used)), base + records_at + used,
                                    element_context, ids[i], options, length));
        window.elements.push_back(std::move(element));
        used += length;
    }
    if (used != records_size)
        return in.error_at(length_at, "unit length " + std::to_string(unit_length) + " leaves " +
                                          std::to_string(records_size - used) +
                                          " bytes after the last element record");
    return window;
}

} // namespace

Result<FormSection> read_forms(ByteView section, std::uint64_t base_offset, const ReadOptions& options) {
    ByteCursor in(section, "form section directory", base_offset);
    VORN_TRY_ASSIGN(std::uint32_t directory_size, in.u32("directory size"));
    if (directory_size % kDirectoryEntrySize != 0)
        return in.error_at(0, "directory size " + std::to_string(directory_size) + " is not a multiple of 8");
    const std::uint32_t count = directory_size / kDirectoryEntrySize;
    VORN_TRY_STATUS(in.expect_entries(count, kDirectoryEntrySize, "window directory"));
    VORN_TRY_ASSIGN(std::vector<std::uint32_t> ids, read_ids(in, count, "window ids"));
    VORN_TRY_ASSIGN(std::vector<std::uint32_t> values, read_ids(in, count, "window directory values"));

    FormSection forms;
    std::size_t position = in.position();
    for (std::uint32_t i = 0; i < count; ++i) {
        VORN_TRY_ASSIGN(Window window, read_unit(section, base_offset, position, i, ids[i], options));
        window.directory_value = values[i];
        // The unit's end follows from its validated length field.
        position += kUnitHeaderSize + load_u32(section.data() + position + 20);
        forms.windows.push_back(std::move(window));
    }
    if (position != section.size())
        return in.error_at(position,
                           std::to_string(section.size() - position) + " bytes follow the last window unit");
    return forms;
}

} // namespace vorn::forms
