#include "runtime/sim/user32.h"

#include "base/bytes.h"
#include "runtime/core/contract/dll_functions.h"

#include <array>

namespace vorn::sim {

struct User32::Entry {
    contract::DllCommand command;
    std::uint64_t (User32::*handler)(std::span<const std::uint64_t>, std::string&);
};

namespace {

std::uint8_t* memory(std::uint64_t address) {
    return reinterpret_cast<std::uint8_t*>(static_cast<std::uintptr_t>(address));
}

// 32-bit arguments (indexes, styles, colours) may arrive sign- or zero-extended.
std::int32_t int32_arg(std::uint64_t value) {
    return std::int32_t(std::uint32_t(value));
}

void store_rect(std::uint8_t* at, const Rect& rect) {
    store_u32(at, std::uint32_t(rect.left));
    store_u32(at + 4, std::uint32_t(rect.top));
    store_u32(at + 8, std::uint32_t(rect.right));
    store_u32(at + 12, std::uint32_t(rect.bottom));
}

std::string show_rect(const Rect& rect) {
    return "[" + std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
           std::to_string(rect.right) + "," + std::to_string(rect.bottom) + "]";
}

std::string address(std::uint64_t value) {
    return value == 0 ? "null" : "&" + hex(value);
}

} // namespace

const User32::Entry* User32::find(std::string_view function) {
    using enum contract::DllCommand;
    static const std::array<Entry, 10> table = {{
        {OpenClipboard, &User32::open_clipboard},
        {EmptyClipboard, &User32::empty_clipboard},
        {SetClipboardData, &User32::set_clipboard_data},
        {CloseClipboard, &User32::close_clipboard},
        {GetWindowRect, &User32::get_window_rect},
        {GetWindowPlacement, &User32::get_window_placement},
        {GetParent, &User32::get_parent},
        {GetWindowLongA, &User32::get_window_long},
        {SetWindowLongA, &User32::set_window_long},
        {SetLayeredWindowAttributes, &User32::set_layered_attributes},
    }};
    const contract::DllFunction* known = contract::find_dll_function(function);
    if (known == nullptr)
        return nullptr;
    for (const Entry& entry : table)
        if (entry.command == known->command)
            return &entry;
    return nullptr;
}

std::optional<std::size_t> User32::arity(std::string_view function) {
    const Entry* entry = find(function);
    if (entry == nullptr)
        return std::nullopt;
    return contract::dll_function(entry->command).argument_count;
}

DllCall User32::call(std::string_view function, std::span<const std::uint64_t> args) {
    const Entry* entry = find(function);
    if (entry == nullptr || args.size() != contract::dll_function(entry->command).argument_count)
        return {0,
                std::string(function) + ": not callable with " + std::to_string(args.size()) + " arguments"};
    std::string shown;
    const std::uint64_t result = (this->*entry->handler)(args, shown);
    // The handler puts its arguments first and may add a note after " | ".
    const std::size_t note = shown.find(" | ");
    std::string line = std::string(function) + "(" + shown.substr(0, note) + ") -> " + std::to_string(result);
    if (note != std::string::npos)
        line += " " + shown.substr(note + 3);
    return {result, std::move(line)};
}

// ---- Clipboard ----

std::uint64_t User32::open_clipboard(std::span<const std::uint64_t> args, std::string& shown) {
    shown = windows_.describe(args[0]);
    return clipboard_.open(args[0]);
}

std::uint64_t User32::empty_clipboard(std::span<const std::uint64_t>, std::string&) {
    return clipboard_.empty();
}

std::uint64_t User32::set_clipboard_data(std::span<const std::uint64_t> args, std::string& shown) {
    const auto format = std::uint32_t(args[0]);
    shown = std::to_string(format) + ", " + PictureObjects::name(args[1]);
    const std::uint64_t result = clipboard_.set(format, args[1]);
    if (result != 0 && format == kFormatBitmap && !clipboard_.entries().back().picture)
        shown += " | [no live bitmap]";
    return result;
}

std::uint64_t User32::close_clipboard(std::span<const std::uint64_t>, std::string&) {
    return clipboard_.close();
}

// ---- Window queries ----

std::uint64_t User32::get_window_rect(std::span<const std::uint64_t> args, std::string& shown) {
    shown = windows_.describe(args[0]) + ", " + address(args[1]);
    const std::optional<Rect> rect = windows_.rect(args[0]);
    if (!rect || args[1] == 0)
        return 0;
    store_rect(memory(args[1]), *rect);
    shown += " | " + show_rect(*rect);
    return 1;
}

std::uint64_t User32::get_window_placement(std::span<const std::uint64_t> args, std::string& shown) {
    shown = windows_.describe(args[0]) + ", " + address(args[1]);
    const std::optional<Rect> normal = windows_.normal_rect(args[0]);
    if (!normal || args[1] == 0)
        return 0;
    std::uint8_t* record = memory(args[1]);
    const std::uint32_t length = load_u32(record);
    if (length != kWindowPlacementSize) {
        shown += " | [length " + std::to_string(length) + " refused]";
        return 0;
    }
    store_u32(record + 4, 0); // flags
    store_u32(record + 8, windows_.show_command(args[0]));
    for (std::size_t field = 12; field < 28; field += 4)
        store_u32(record + field, std::uint32_t(-1)); // no minimised or maximised position of its own
    store_rect(record + 28, *normal);
    shown += " | normal " + show_rect(*normal) + " show " + std::to_string(windows_.show_command(args[0]));
    return 1;
}

std::uint64_t User32::get_parent(std::span<const std::uint64_t> args, std::string& shown) {
    shown = windows_.describe(args[0]);
    return windows_.parent(args[0]);
}

std::uint64_t User32::get_window_long(std::span<const std::uint64_t> args, std::string& shown) {
    const std::int32_t index = int32_arg(args[1]);
    shown = windows_.describe(args[0]) + ", " + std::to_string(index);
    if (index != kExStyleIndex)
        return 0;
    return windows_.ex_style(args[0]).value_or(0);
}

std::uint64_t User32::set_window_long(std::span<const std::uint64_t> args, std::string& shown) {
    const std::int32_t index = int32_arg(args[1]);
    const auto value = std::uint32_t(args[2]);
    shown = windows_.describe(args[0]) + ", " + std::to_string(index) + ", " + hex(value);
    if (index != kExStyleIndex)
        return 0;
    return windows_.set_ex_style(args[0], value).value_or(0);
}

std::uint64_t User32::set_layered_attributes(std::span<const std::uint64_t> args, std::string& shown) {
    const LayeredAttributes attributes{std::uint32_t(args[1]), std::uint32_t(args[2] & 0xFF),
                                       std::uint32_t(args[3])};
    shown = windows_.describe(args[0]) + ", " + hex(attributes.key) + ", " +
            std::to_string(attributes.alpha) + ", " + std::to_string(attributes.flags);
    const bool set = windows_.set_layered(args[0], attributes);
    if (!set && windows_.known(args[0]))
        shown += " | [not a layered window]";
    return set;
}

} // namespace vorn::sim
