#include "forms/writer.h"

#include <limits>

namespace vorn::forms {
namespace {

constexpr std::size_t kMaxStored = std::numeric_limits<std::uint32_t>::max();

// Checks that hold under every rule set: without them the bytes written would
// read back as something else.
Status check_storable(const Element& element) {
    if (element.is_menu_item() != (element.class_id == class_id::menu_item))
        return Error{"the record layout does not match class " + hex(element.class_id) +
                     " (menu items, and only they, use the menu item layout)"};
    auto has_zero = [](const std::string& text) { return text.find('\0') != std::string::npos; };
    if (has_zero(element.name) || has_zero(element.second_text))
        return Error{"a text of the record contains a zero byte"};
    if (const MenuItemRecord* item = element.menu_item(); item != nullptr && has_zero(item->caption))
        return Error{"the menu caption contains a zero byte"};
    if (const ControlRecord* control = element.control(); control != nullptr && has_zero(control->tag))
        return Error{"the tag contains a zero byte"};
    return ok_status();
}

void write_menu_item(ByteWriter& out, const MenuItemRecord& item) {
    out.u32(item.level);
    out.u32(item.menu_value);
    out.text(item.caption);
    out.u32(item.click_handler);
    out.bytes(item.reserved);
}

void write_control(ByteWriter& out, const ControlRecord& control) {
    out.i32(control.left);
    out.i32(control.top);
    out.i32(control.width);
    out.i32(control.height);
    out.u32(control.reserved_b);
    out.u32(control.parent);
    out.u32(static_cast<std::uint32_t>(control.children.size()));
    for (std::uint32_t child : control.children)
        out.u32(child);
    out.counted(control.cursor_block);
    out.text(control.tag);
    out.u32(control.reserved_c);
    out.u32(control.flags);
    out.u32(control.reserved_d);
    out.u32(static_cast<std::uint32_t>(control.events.size()));
    for (const EventBinding& binding : control.events) {
        out.i32(binding.event);
        out.u32(binding.handler);
    }
    out.bytes(control.reserved_e);
    out.bytes(control.class_block);
}

void write_record(ByteWriter& out, const Element& element) {
    const std::size_t start = out.size();
    out.u32(0); // the length, patched below
    out.u32(element.class_id);
    out.bytes(element.reserved);
    out.text(element.name);
    out.text(element.second_text);
    out.u32(element.reserved_after_texts);
    if (const MenuItemRecord* item = element.menu_item())
        write_menu_item(out, *item);
    else
        write_control(out, *element.control());
    out.patch_u32(start, static_cast<std::uint32_t>(out.size() - start - 4));
}

Status write_unit(ByteWriter& out, std::size_t index, const Window& window) {
    const std::size_t count = window.elements.size();
    out.u32(window.unit_value);
    out.u32(window.unit_id);
    out.u32(window.unit_reserved_a);
    out.u32(window.unit_reserved_b);
    out.u32(static_cast<std::uint32_t>(count));
    const std::size_t length_at = out.size();
    out.u32(0);
    for (const Element& element : window.elements)
        out.u32(element.id);
    const std::size_t offsets_at = out.size();
    out.zeros(4 * count);
    const std::size_t records_at = out.size();
    for (std::size_t i = 0; i < count; ++i) {
        const Element& element = window.elements[i];
        if (Status storable = check_storable(element); !storable.ok())
            return Error{describe_window(index, window.id) + ", " + describe_element(i, element.id) + ": " +
                         storable.error().message};
        out.patch_u32(offsets_at + 4 * i, static_cast<std::uint32_t>(out.size() - records_at));
        write_record(out, element);
        // Checked per record so that no length or offset patched above can have wrapped.
        if (out.size() > kMaxStored)
            return Error{describe_window(index, window.id) + ": the form section would exceed 4 GiB"};
    }
    out.patch_u32(length_at, static_cast<std::uint32_t>(out.size() - length_at - 4));
    return ok_status();
}

} // namespace

Result<Bytes> write_forms(const FormSection& forms, const WriteRules& rules) {
    VORN_TRY_STATUS(validate_forms(forms, rules));
    if (forms.windows.size() > kMaxStored / kDirectoryEntrySize)
        return Error{"too many windows for the directory"};
    ByteWriter out;
    out.u32(static_cast<std::uint32_t>(forms.windows.size() * kDirectoryEntrySize));
    for (const Window& window : forms.windows)
        out.u32(window.id);
    for (const Window& window : forms.windows)
        out.u32(window.directory_value);
    for (std::size_t i = 0; i < forms.windows.size(); ++i)
        VORN_TRY_STATUS(write_unit(out, i, forms.windows[i]));
    return out.take();
}

} // namespace vorn::forms
