#include "forms/dump.h"
#include "forms/reader.h"
#include "image/reader.h"
#include "tools/imagetool/assemble.h"

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

} // namespace

// The window definitions as a tree, or why they cannot be shown.
std::string dump_windows(const image::Image& img) {
    const image::Section& form = img.section(image::SectionKind::Form);
    Result<forms::FormSection> windows = forms::read_forms(form.stored, form.stored_offset);
    if (!windows)
        return "windows: unreadable: " + windows.error().message + "\n";
    return "windows:\n" + forms::dump_forms(*windows);
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
