#include "image/verify.h"

#include "image/reader.h"

#include <algorithm>
#include <cctype>

namespace vorn::image {

namespace {

struct Region {
    std::uint64_t start;
    std::uint64_t end;
    std::string what;
};

void check_overlaps(const Image& image, std::vector<std::string>& problems) {
    std::vector<Region> regions;
    regions.push_back({0, kDllTableOffset + std::uint64_t(kDllEntrySize) * image.header.dll_count,
                       "the image header and DLL command table"});
    regions.push_back({image.library_table_offset, image.library_table_end, "the support-library table"});
    for (std::size_t i = 0; i < image.sections.size(); ++i) {
        const Section& section = image.sections[i];
        std::string name = "section \"" + printable(section.name) + "\"";
        regions.push_back({section.header_offset, std::uint64_t(section.header_offset) + section.length,
                           "the header of " + name});
        if (!section.has_stored())
            continue;
        std::uint64_t end = std::uint64_t(section.stored_offset) + section.stored_count;
        // The groups may run past the declared size; what they really occupy counts.
        if (image.kind_index[index_of(SectionKind::Reloc)] == i)
            end = std::max(end, image.groups_end);
        regions.push_back({section.stored_offset, end, "the stored bytes of " + name});
    }
    std::erase_if(regions, [](const Region& region) { return region.start == region.end; });
    std::sort(regions.begin(), regions.end(), [](const Region& a, const Region& b) {
        return a.start < b.start || (a.start == b.start && a.end < b.end);
    });
    const Region* reach = nullptr; // the region seen so far that ends last
    for (const Region& region : regions) {
        if (reach && region.start < reach->end)
            problems.push_back(region.what + " (" + hex(region.start) + ".." + hex(region.end) +
                               ") overlaps " + reach->what + " (" + hex(reach->start) + ".." +
                               hex(reach->end) + ")");
        if (!reach || region.end > reach->end)
            reach = &region;
    }
}

void check_sections(const Image& image, std::vector<std::string>& problems) {
    if (!image.find(SectionKind::Reloc))
        problems.push_back("the image has no @reloc1 section");
    for (SectionKind kind : kAllSectionKinds) {
        const Section* section = image.find(kind);
        if (!section)
            continue;
        std::string name = "section \"" + std::string(section_name(kind)) + "\"";
        if (section->flags != section_flags(kind))
            problems.push_back(name + " has flags " + hex(section->flags) + ", expected " +
                               hex(section_flags(kind)));
        if (section->field_32 != 0 || section->field_52 != 0)
            problems.push_back(name + " has non-zero header fields 32/52");
    }
    if (image.section(SectionKind::Var).has_stored())
        problems.push_back("section \"var\" has stored bytes; the variables are created zeroed");
}

bool is_hex_digit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}
bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

bool all_of(std::string_view text, bool (*test)(char)) {
    return std::all_of(text.begin(), text.end(), test);
}

// 32 hexadecimal digits, or a braced GUID such as {E5000198-4471-40e2-92BC-D0BA075BDBB2}.
bool valid_identifier(std::string_view id) {
    if (id.size() == 32)
        return all_of(id, is_hex_digit);
    if (id.size() != 38 || id.front() != '{' || id.back() != '}')
        return false;
    for (std::size_t i = 1; i + 1 < id.size(); ++i) {
        bool dash = i == 9 || i == 14 || i == 19 || i == 24;
        if (dash ? id[i] != '-' : !is_hex_digit(id[i]))
            return false;
    }
    return true;
}

void check_tables(const Image& image, std::vector<std::string>& problems) {
    for (std::size_t i = 0; i < image.dll_commands.size(); ++i)
        if (image.dll_commands[i].function.empty())
            problems.push_back("DLL command " + std::to_string(i) + " names no function");
    for (std::size_t i = 0; i < image.libraries.size(); ++i) {
        const SupportLibrary& library = image.libraries[i];
        std::string name = "support library " + std::to_string(i) + " (\"" + printable(library.name) + "\")";
        if (library.name.empty())
            problems.push_back(name + " has no name");
        if (!valid_identifier(library.identifier))
            problems.push_back(name + " has identifier \"" + printable(library.identifier) +
                               "\", neither 32 hexadecimal digits nor a braced GUID");
        if (library.major_version.empty() || library.minor_version.empty() ||
            !all_of(library.major_version, is_digit) || !all_of(library.minor_version, is_digit))
            problems.push_back(name + " has version \"" + printable(library.major_version) + "." +
                               printable(library.minor_version) + "\", not two decimal numbers");
    }
}

// The operand as the loader sees it before fix-ups: stored bytes, zeros past them.
std::uint32_t operand_at(const Section& code, std::uint32_t position) {
    std::uint32_t value = 0;
    for (std::uint32_t k = 0; k < 4; ++k) {
        std::uint64_t at = std::uint64_t(position) + k;
        if (at < code.stored.size())
            value |= std::uint32_t(code.stored[at]) << (8 * k);
    }
    return value;
}

void check_fixups(const Image& image, std::vector<std::string>& problems) {
    const Section& code = image.section(SectionKind::Code);
    // The operand of each kind is an offset into what its base points at.
    const std::array<std::uint64_t, kFixupKindCount> limits = {
        4 * kServiceSlotCount, image.section(SectionKind::Const).memory_size,
        image.section(SectionKind::Var).memory_size, code.memory_size};
    constexpr std::array<const char*, kFixupKindCount> targets = {"the service table", "the const section",
                                                                  "the var block", "the code section"};
    std::vector<std::uint32_t> positions;
    for (std::size_t i = 0; i < code.fixups.size(); ++i) {
        const Fixup& fixup = code.fixups[i];
        auto kind = static_cast<std::size_t>(fixup.kind);
        std::uint32_t operand = operand_at(code, fixup.position);
        if (operand >= limits[kind])
            problems.push_back("fix-up " + std::to_string(i) + " at code " + hex(fixup.position) +
                               ": operand " + hex(operand) + " lies outside " + targets[kind] + " (" +
                               hex(limits[kind]) + " bytes)");
        else if (fixup.kind == FixupKind::ImageStart && operand % 4 != 0)
            problems.push_back("fix-up " + std::to_string(i) + " at code " + hex(fixup.position) +
                               ": operand " + hex(operand) + " is not a service slot offset");
        positions.push_back(fixup.position);
    }
    std::sort(positions.begin(), positions.end());
    for (std::size_t i = 1; i < positions.size(); ++i)
        if (positions[i] - positions[i - 1] < 4)
            problems.push_back("fix-ups at code " + hex(positions[i - 1]) + " and " + hex(positions[i]) +
                               " patch overlapping operands");
}

bool valid_element_id(std::uint32_t id) {
    std::uint32_t kind = id >> 24;
    return (kind == 0x52 || kind == 0x06 || kind == 0x16 || kind == 0x26) && ((id >> 16) & 0xff) == 0x01;
}

void check_groups(const Image& image, std::vector<std::string>& problems) {
    const Section& code = image.section(SectionKind::Code);
    for (std::size_t g = 0; g < kRemapGroupCount; ++g) {
        for (std::size_t i = 0; i < image.groups[g].size(); ++i) {
            std::uint32_t position = image.groups[g][i];
            std::uint32_t value = operand_at(code, position);
            const char* wrong = nullptr;
            switch (group_at(g)) {
            case RemapGroup::WindowIds:
                wrong = valid_element_id(value) ? nullptr : "is not a window, element, control or menu id";
                break;
            case RemapGroup::DllCommands:
                wrong = value < image.dll_commands.size() ? nullptr : "is not a DLL command index";
                break;
            case RemapGroup::LibraryIndices:
                wrong = value < image.libraries.size() ? nullptr : "is not a support-library index";
                break;
            case RemapGroup::ClassIds:
                wrong = (value >> 16) >= 1 && (value >> 16) <= image.libraries.size()
                            ? nullptr
                            : "does not name a support library by its number";
                break;
            }
            if (wrong)
                problems.push_back("group " + std::to_string(g + 1) + " entry " + std::to_string(i) +
                                   ": operand " + hex(value) + " at code " + hex(position) + " " + wrong);
        }
    }
}

} // namespace

std::vector<std::string> consistency_problems(const Image& image) {
    std::vector<std::string> problems;
    check_overlaps(image, problems);
    check_sections(image, problems);
    check_tables(image, problems);
    check_fixups(image, problems);
    check_groups(image, problems);
    return problems;
}

} // namespace vorn::image
