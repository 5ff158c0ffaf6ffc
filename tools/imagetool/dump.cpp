#include "forms/dump.h"
#include "forms/class_block.h"
#include "forms/class_table.h"
#include "forms/layouts/entry_points.h"
#include "forms/reader.h"
#include "image/reader.h"
#include "text/gbk.h"
#include "tools/imagetool/assemble.h"
#include "tools/imagetool/code_section.h"

#include <cstdio>

namespace vorn::imagetool {

namespace {

constexpr std::size_t kPositionsShown = 8;

constexpr std::array<const char*, image::kFixupKindCount> kFixupKindNames = {"image start", "const data",
                                                                             "var block", "code data"};
constexpr std::array<const char*, image::kRemapGroupCount> kGroupNames = {
    "window and control ids", "DLL command indices", "support-library indices", "library class ids"};

// `text` left-aligned in a column of `width` characters, and a space.
std::string col(std::string text, std::size_t width) {
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text + " ";
}

std::string text_or(const std::string& text, const char* empty) {
    return text.empty() ? std::string(empty) : "\"" + image::printable(text) + "\"";
}

// Chinese characters take two columns on a terminal; pads `utf8` to `width` columns.
std::string wide_col(const std::string& utf8, std::size_t width) {
    std::size_t columns = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        columns += length >= 3 ? 2 : 1;
        i += length;
    }
    return utf8 + std::string(columns < width ? width - columns : 0, ' ') + " ";
}

// Ids read best at their full width: 0x06010000.
std::string id8(std::uint32_t id) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08x", static_cast<unsigned>(id));
    return buf;
}

std::string entry_name(std::uint32_t offset) {
    const layouts::EntryInfo* entry = layouts::find_entry(offset);
    return entry ? std::string(entry->name) : "(not an entry point)";
}

std::string class_tag(std::uint32_t class_id) {
    const forms::ClassInfo* info = forms::find_class(class_id);
    return info ? std::string(info->tag) : "class " + hex(class_id);
}

const forms::Element* element_of(const forms::Window& window, std::uint32_t id) {
    for (const forms::Element& element : window.elements)
        if (element.id == id)
            return &element;
    return nullptr;
}

// One line per control, its contents indented below it, so that a window
// reads the way it is put together; handlers are named from the entry table.
void tree_of(std::string& out, const forms::Window& window, const forms::Element& element, int depth) {
    const forms::ControlRecord& control = *element.control();
    const forms::ClassInfo* info = forms::find_class(element.class_id);
    out += std::string(std::size_t(2 * depth), ' ') + wide_col(text::gbk_to_utf8(element.name), 16) +
           col(class_tag(element.class_id), 18) + std::to_string(control.left) + ", " +
           std::to_string(control.top) + "  " + std::to_string(control.width) + " x " +
           std::to_string(control.height);
    // Components have no window to show or hide.
    if (info && info->has_window && (control.flags & forms::element_flag::visible) == 0)
        out += "  hidden";
    for (const forms::EventBinding& binding : control.events)
        out += "  [" + std::to_string(binding.event) + " -> " + entry_name(binding.handler) + "]";
    out += "\n";
    if (depth > 8) // a container loop; the reader refuses none, so stop here
        return;
    for (std::uint32_t child : control.children)
        if (const forms::Element* inner = element_of(window, child); inner && inner->control())
            tree_of(out, window, *inner, depth + 1);
}

std::string window_trees(const forms::FormSection& windows) {
    std::string out = "window trees:\n";
    for (const forms::Window& window : windows.windows) {
        out += "  window " + id8(window.id);
        if (!window.elements.empty() && window.elements.front().control()) {
            const forms::Element& own = window.elements.front();
            Result<forms::ClassBlock> block =
                forms::decode_class_block(own.class_id, own.control()->class_block);
            if (std::optional<std::string> caption =
                    block ? block->text(forms::PropertyId::text) : std::nullopt)
                out += " \"" + text::gbk_to_utf8(*caption) + "\"";
        }
        out += "\n";
        bool first = true;
        for (const forms::Element& element : window.elements) {
            if (const forms::MenuItemRecord* item = element.menu_item()) {
                out += std::string(item->level == 0 ? "    menu " : "      item ") + "\"" +
                       text::gbk_to_utf8(item->caption) + "\"" +
                       (item->click_handler == forms::kNoHandler ? ""
                                                                 : " -> " + entry_name(item->click_handler)) +
                       "\n";
            } else if (first) {
                const forms::ControlRecord& own = *element.control();
                out += "    (window)";
                for (const forms::EventBinding& binding : own.events)
                    out += "  [" + std::to_string(binding.event) + " -> " + entry_name(binding.handler) + "]";
                out += "\n";
            } else if (element.control()->parent == 0) {
                tree_of(out, window, element, 2);
            }
            first = false;
        }
    }
    return out;
}

std::string entry_directory(const image::Image& img) {
    const image::Section& code = img.section(image::SectionKind::Code);
    const std::uint32_t start = img.start_in_code();
    if (start >= code.stored.size() || code.stored[start] != kStartRole)
        return "entry points: the code section has no entry directory\n";
    Result<std::vector<EntryRecord>> records = read_entry_directory(code.stored);
    if (!records)
        return "entry points: unreadable: " + records.error().message + "\n";
    std::string out = "entry points:\n";
    for (const EntryRecord& record : *records) {
        out += "  " + col(hex(record.offset), 6) + std::string(1, char(record.role)) + "  ";
        if (record.role == kStartRole)
            out += wide_col(entry_name(record.offset), 28) + "loads " + id8(record.window) +
                   ", hands over code + " + hex(record.element);
        else if (record.role == kHandlerRole)
            out += wide_col(entry_name(record.offset), 28) + "event " + std::to_string(record.event) +
                   " of " + id8(record.element) + " (" + class_tag(record.class_id) + ") in " +
                   id8(record.window);
        else
            out += entry_name(record.offset);
        out += "\n";
    }
    return out;
}

} // namespace

// The window definitions in full, then as trees, or why they cannot be shown.
std::string dump_windows(const image::Image& img) {
    const image::Section& form = img.section(image::SectionKind::Form);
    Result<forms::FormSection> windows = forms::read_forms(form.stored, form.stored_offset);
    if (!windows)
        return "windows: unreadable: " + windows.error().message + "\n";
    return "windows:\n" + forms::dump_forms(*windows) + window_trees(*windows);
}

std::string dump_image(const image::Image& img) {
    using image::SectionKind;
    const image::Header& header = img.header;
    std::string out = "image: " + std::to_string(img.extent) + " bytes\n";

    out += "header:\n";
    out += "  first section header  " + hex(header.first_section) + "\n";
    out += "  values 40/44/48/52   ";
    for (std::uint32_t value : header.opaque)
        out += " " + hex(value);
    out += "\n";
    out += "  DLL commands          " + std::to_string(header.dll_count) + "\n";
    out += "  start routine         " + hex(header.start_routine) + " (code + " + hex(img.start_in_code()) +
           ")\n";
    for (std::size_t i = 0; i < image::kNamedSectionCount; ++i)
        out += "  " + col(std::string(image::kSectionTraits[i].name), 7) + "section header  " +
               hex(header.named_sections[i]) + "\n";
    out += "  value 84              " + hex(header.value_84) + "\n";

    out += "sections:\n";
    out += "  " + col("name", 10) + col("header", 10) + col("flags", 6) + col("memory", 10) +
           col("stored", 10) + col("at", 10) + "fix-ups\n";
    for (const image::Section& section : img.sections)
        out += "  " + col(image::printable(section.name), 10) + col(hex(section.header_offset), 10) +
               col(hex(section.flags), 6) + col(hex(section.memory_size), 10) +
               col(hex(section.stored_count), 10) +
               col(section.has_stored() ? hex(section.stored_offset) : "none", 10) +
               std::to_string(section.fixup_count) + "\n";

    out += "DLL commands:\n";
    for (std::size_t i = 0; i < img.dll_commands.size(); ++i) {
        const image::DllCommand& command = img.dll_commands[i];
        out += "  " + col(std::to_string(i), 3) + col(text_or(command.function, "(none)"), 32) + "library " +
               text_or(command.library, "(default)") + "\n";
    }

    out += "support libraries (table " + hex(img.library_table_offset) + ".." + hex(img.library_table_end) +
           "):\n";
    for (std::size_t i = 0; i < img.libraries.size(); ++i) {
        const image::SupportLibrary& library = img.libraries[i];
        out +=
            "  " + col(std::to_string(i), 3) + col(image::printable(library.name), 14) +
            col(image::printable(library.identifier), 38) +
            col(image::printable(library.major_version) + "." + image::printable(library.minor_version), 5) +
            image::printable(library.description) + "\n";
    }

    std::array<std::size_t, image::kFixupKindCount> per_kind{};
    for (const image::Fixup& fixup : img.section(SectionKind::Code).fixups)
        ++per_kind[static_cast<std::size_t>(fixup.kind)];
    out += "fix-ups:\n";
    for (std::size_t kind = 0; kind < per_kind.size(); ++kind)
        out += "  kind " + std::to_string(kind) + " " + col(kFixupKindNames[kind], 12) +
               std::to_string(per_kind[kind]) + "\n";

    out += dump_windows(img);
    out += entry_directory(img);
    if (!img.find(SectionKind::Reloc)) {
        out += "groups: no @reloc1 section\n";
        return out;
    }
    out += "groups (end " + hex(img.groups_end) + "):\n";
    for (std::size_t g = 0; g < image::kRemapGroupCount; ++g) {
        const std::vector<std::uint32_t>& positions = img.groups[g];
        out += "  " + std::to_string(g + 1) + " " + col(kGroupNames[g], 24) +
               std::to_string(positions.size()) + ":";
        for (std::size_t i = 0; i < positions.size() && i < kPositionsShown; ++i)
            out += " " + hex(positions[i]);
        if (positions.size() > kPositionsShown)
            out += " ...";
        out += "\n";
    }
    return out;
}

} // namespace vorn::imagetool
