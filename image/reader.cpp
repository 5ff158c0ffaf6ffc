#include "image/reader.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace vorn::image {

std::string printable(std::string_view text) {
    std::string out;
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7f && byte != '\\') {
            out += c;
        } else {
            static constexpr char digits[] = "0123456789abcdef";
            out += "\\x";
            out += digits[byte >> 4];
            out += digits[byte & 0xf];
        }
    }
    return out;
}

namespace {

std::string section_label(std::size_t index, std::string_view name) {
    std::string label = "section header " + std::to_string(index);
    if (!name.empty())
        label += " (\"" + printable(name) + "\")";
    return label;
}

Error error_at(std::string_view context, std::uint64_t offset, std::string_view message) {
    return Error{std::string(context) + " at " + hex(offset) + ": " + std::string(message)};
}

Status read_header(ByteView bytes, Header& header) {
    ByteCursor cursor(bytes, "image header");
    VORN_TRY_ASSIGN(ByteView magic, cursor.take(kMagic.size(), "magic"));
    if (!std::equal(magic.begin(), magic.end(), kMagic.begin()))
        return cursor.error_at(kMagicOffset, "magic is not \"WJ\" followed by two zero bytes");

    // The runtime fills these when it loads the image; non-zero values mean the
    // bytes are not a stored image (for instance a copy taken after loading).
    for (std::uint32_t slot = 1; slot <= kStoredSlotCount; ++slot) {
        std::size_t at = cursor.position();
        VORN_TRY_ASSIGN(std::uint32_t value, cursor.u32("service slot " + std::to_string(slot)));
        if (value != 0)
            return cursor.error_at(at, "service slot " + std::to_string(slot) + " holds " + hex(value) +
                                           ", a stored image keeps it zero");
    }

    VORN_TRY_ASSIGN(header.first_section, cursor.u32("first section header offset"));
    for (std::size_t i = 0; i < kOpaqueFieldCount; ++i) {
        VORN_TRY_ASSIGN(header.opaque[i], cursor.u32("header value " + std::to_string(40 + 4 * i)));
    }
    VORN_TRY_ASSIGN(header.dll_count, cursor.u32("DLL command count"));
    VORN_TRY_ASSIGN(header.start_routine, cursor.u32("start routine offset"));
    for (std::size_t i = 0; i < kNamedSectionCount; ++i) {
        std::string what = "offset of the " + std::string(kSectionTraits[i].name) + " section header";
        VORN_TRY_ASSIGN(header.named_sections[i], cursor.u32(what));
    }
    VORN_TRY_ASSIGN(header.value_84, cursor.u32("header value 84"));
    return ok_status();
}

Status read_dll_table(ByteView bytes, std::uint32_t count, std::vector<DllCommand>& commands) {
    ByteCursor cursor(bytes, "DLL command table");
    VORN_TRY_STATUS(cursor.seek(kDllTableOffset, "DLL command table"));
    VORN_TRY_STATUS(cursor.expect_entries(count, kDllEntrySize, "DLL command table"));
    commands.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        VORN_TRY_ASSIGN(commands[i].offsets.library,
                        cursor.u32("library name offset of DLL command " + std::to_string(i)));
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        VORN_TRY_ASSIGN(commands[i].offsets.function,
                        cursor.u32("function name offset of DLL command " + std::to_string(i)));
    }
    return ok_status();
}

Result<SupportLibrary> split_library(const ByteCursor& cursor, std::size_t at, std::size_t index,
                                     const std::string& text) {
    std::array<std::string, kLibraryFieldCount> fields;
    std::size_t field = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != kLibraryFieldSeparator)
            continue;
        if (field == kLibraryFieldCount)
            return cursor.error_at(at, "support library " + std::to_string(index) + " has more than " +
                                           std::to_string(kLibraryFieldCount) + " fields");
        fields[field++] = text.substr(start, i - start);
        start = i + 1;
    }
    if (field != kLibraryFieldCount)
        return cursor.error_at(at, "support library " + std::to_string(index) + " has " +
                                       std::to_string(field) + " fields separated by 0x0d, expected " +
                                       std::to_string(kLibraryFieldCount));
    return SupportLibrary{fields[0], fields[1], fields[2], fields[3], fields[4]};
}

Status read_library_table(ByteView bytes, Image& image) {
    ByteCursor cursor(bytes, "support-library table");
    // The DLL table was checked to fit, so this offset is inside the buffer.
    image.library_table_offset = kDllTableOffset + kDllEntrySize * image.header.dll_count;
    VORN_TRY_STATUS(cursor.seek(image.library_table_offset, "support-library table"));
    for (std::size_t index = 0;; ++index) {
        std::size_t at = cursor.position();
        VORN_TRY_ASSIGN(std::string text, cursor.text("support library " + std::to_string(index)));
        if (text.empty())
            break;
        VORN_TRY_ASSIGN(SupportLibrary library, split_library(cursor, at, index, text));
        image.libraries.push_back(std::move(library));
    }
    image.library_table_end = static_cast<std::uint32_t>(cursor.position());
    return ok_status();
}

Status read_fixups(ByteCursor& cursor, const std::string& context, Section& section) {
    VORN_TRY_STATUS(cursor.expect_entries(section.fixup_count, kFixupEntrySize, "fix-up list"));
    section.fixups.reserve(section.fixup_count);
    for (std::uint32_t i = 0; i < section.fixup_count; ++i) {
        std::size_t at = cursor.position();
        VORN_TRY_ASSIGN(std::uint32_t entry, cursor.u32("fix-up entry " + std::to_string(i)));
        std::uint32_t kind = entry & kFixupKindMask;
        std::uint32_t position = entry >> kFixupKindBits;
        if (kind >= kFixupKindCount)
            return error_at(context, cursor.absolute(at),
                            "fix-up entry " + std::to_string(i) + " has kind " + std::to_string(kind) +
                                ", only 0 to 3 exist");
        if (std::uint64_t(position) + 4 > section.memory_size)
            return error_at(context, cursor.absolute(at),
                            "fix-up entry " + std::to_string(i) + " patches " + hex(position) +
                                "..+4, past the " + hex(section.memory_size) + "-byte section");
        section.fixups.push_back(Fixup{position, static_cast<FixupKind>(kind)});
    }
    return ok_status();
}

Result<Section> read_section(ByteView bytes, std::uint32_t offset, std::size_t index) {
    std::string context = section_label(index, "");
    ByteCursor cursor(bytes, context);
    VORN_TRY_STATUS(cursor.seek(offset, "section header"));
    VORN_TRY_ASSIGN(ByteView raw, cursor.take(kSectionHeaderSize, "section header"));
    ByteCursor fields(raw, context, offset);

    Section section;
    section.header_offset = offset;
    VORN_TRY_ASSIGN(section.length, fields.u32("header length"));
    VORN_TRY_ASSIGN(section.next, fields.u32("next section header offset"));
    VORN_TRY_ASSIGN(section.flags, fields.u32("flags"));
    VORN_TRY_ASSIGN(ByteView name, fields.take(kSectionNameSize, "name"));
    const void* terminator = std::memchr(name.data(), 0, name.size());
    if (terminator == nullptr)
        return fields.error_at(kSectionNameField, "name has no terminating zero byte in its " +
                                                      std::to_string(kSectionNameSize) + " bytes");
    section.name.assign(reinterpret_cast<const char*>(name.data()),
                        static_cast<const std::uint8_t*>(terminator) - name.data());
    context = section_label(index, section.name);

    VORN_TRY_ASSIGN(section.field_32, fields.u32("field 32"));
    VORN_TRY_ASSIGN(section.memory_size, fields.u32("memory size"));
    VORN_TRY_ASSIGN(section.stored_count, fields.u32("stored count"));
    VORN_TRY_ASSIGN(section.stored_offset, fields.u32("stored offset"));
    VORN_TRY_ASSIGN(section.fixup_count, fields.u32("fix-up count"));
    VORN_TRY_ASSIGN(section.field_52, fields.u32("field 52"));

    std::uint64_t expected_length = kSectionHeaderSize + std::uint64_t(kFixupEntrySize) * section.fixup_count;
    if (section.length != expected_length)
        return error_at(context, offset,
                        "header length " + std::to_string(section.length) + " does not match 56 + 4 x " +
                            std::to_string(section.fixup_count) + " fix-up entries");
    if (section.fixup_count != 0 && section.name != section_name(SectionKind::Code))
        return error_at(context, offset + kSectionFixupCountField,
                        "only the code section carries fix-up entries, this one has " +
                            std::to_string(section.fixup_count));
    ByteCursor list(bytes, context);
    VORN_TRY_STATUS(list.seek(std::uint64_t(offset) + kSectionHeaderSize, "fix-up list"));
    VORN_TRY_STATUS(read_fixups(list, context, section));

    if (section.stored_count > section.memory_size)
        return error_at(context, offset + kSectionStoredCountField,
                        "stored count " + hex(section.stored_count) + " exceeds the memory size " +
                            hex(section.memory_size));
    if (!section.has_stored()) {
        if (section.stored_count != 0)
            return error_at(context, offset + kSectionStoredCountField,
                            "stored count " + hex(section.stored_count) +
                                " but no stored offset (0xffffffff)");
    } else {
        if (!fits(section.stored_offset, section.stored_count, bytes.size()))
            return error_at(context, offset + kSectionStoredOffsetField,
                            "stored bytes " + hex(section.stored_offset) + "..+" + hex(section.stored_count) +
                                " run past the end of the buffer (" + hex(bytes.size()) + ")");
        section.stored = bytes.subspan(section.stored_offset, section.stored_count);
    }
    return section;
}

Status read_chain(ByteView bytes, Image& image) {
    std::map<std::uint32_t, std::size_t> seen; // header offset -> position in the chain
    std::map<std::string, std::size_t> names;
    for (std::uint32_t at = image.header.first_section; at != kEndOfChain;) {
        std::size_t index = image.sections.size();
        // The first header cannot be seen twice, so a repeat always has a predecessor.
        if (auto earlier = seen.find(at); earlier != seen.end()) {
            const Section& last = image.sections.back();
            return error_at(section_label(index - 1, last.name), last.header_offset + kSectionNextField,
                            "next section header offset " + hex(at) + " leads back to section header " +
                                std::to_string(earlier->second) + ", a loop in the section chain");
        }
        seen.emplace(at, index);
        VORN_TRY_ASSIGN(Section section, read_section(bytes, at, index));
        if (auto other = names.find(section.name); other != names.end())
            return error_at(section_label(index, section.name), at,
                            "name already used by section header " + std::to_string(other->second));
        names.emplace(section.name, index);
        at = section.next;
        image.sections.push_back(std::move(section));
    }

    for (std::size_t kind = 0; kind < kNamedSectionCount; ++kind) {
        std::uint32_t offset = image.header.named_sections[kind];
        std::string what = "offset of the " + std::string(kSectionTraits[kind].name) + " section header (" +
                           hex(offset) + ")";
        auto found = seen.find(offset);
        if (found == seen.end())
            return error_at("image header", kNamedSectionsField + 4 * kind,
                            what + " names no header in the chain");
        const Section& section = image.sections[found->second];
        if (section.name != kSectionTraits[kind].name)
            return error_at("image header", kNamedSectionsField + 4 * kind,
                            what + " names " + section_label(found->second, section.name));
        image.kind_index[kind] = found->second;
    }
    if (auto reloc = names.find(std::string(section_name(SectionKind::Reloc))); reloc != names.end())
        image.kind_index[index_of(SectionKind::Reloc)] = reloc->second;
    return ok_status();
}

Status resolve_dll_names(Image& image) {
    const Section& constants = image.section(SectionKind::Const);
    auto resolve = [&](std::size_t index, std::uint32_t offset, std::uint64_t field, const char* which,
                       std::string& out) -> Status {
        std::string what = std::string(which) + " name of DLL command " + std::to_string(index);
        // An offset at the very end would leave an empty range to search.
        if (offset >= constants.stored.size())
            return error_at("DLL command table", field,
                            what + " at const offset " + hex(offset) + " lies outside the " +
                                hex(constants.stored.size()) + " bytes of const data");
        ByteCursor cursor(constants.stored, "const data", constants.stored_offset);
        VORN_TRY_STATUS(cursor.seek(offset, what));
        VORN_TRY_ASSIGN(out, cursor.text(what));
        return ok_status();
    };
    std::uint64_t count = image.dll_commands.size();
    for (std::size_t i = 0; i < count; ++i) {
        DllCommand& command = image.dll_commands[i];
        VORN_TRY_STATUS(
            resolve(i, command.offsets.library, kDllTableOffset + 4 * i, "library", command.library));
        VORN_TRY_STATUS(resolve(i, command.offsets.function, kDllTableOffset + 4 * (count + i), "function",
                                command.function));
    }
    return ok_status();
}

Status check_start_routine(const Image& image) {
    const Section& code = image.section(SectionKind::Code);
    std::uint32_t start = image.header.start_routine;
    if (!code.has_stored() || start < code.stored_offset || start - code.stored_offset >= code.stored_count)
        return error_at(
            "image header", kStartRoutineField,
            "start routine offset " + hex(start) + " lies outside the code section's stored bytes" +
                (code.has_stored() ? " (" + hex(code.stored_offset) + "..+" + hex(code.stored_count) + ")"
                                   : std::string(" (none stored)")));
    return ok_status();
}

// The groups are read by their counts, bounded by the buffer only: real images
// declare a section size 4 bytes short of what the groups occupy.
Status read_groups(ByteView bytes, Image& image) {
    const Section* reloc = image.find(SectionKind::Reloc);
    if (reloc == nullptr)
        return ok_status();
    std::string context = "@reloc1 groups";
    if (!reloc->has_stored())
        return error_at(context, reloc->header_offset + kSectionStoredOffsetField,
                        "the section has no stored bytes");
    std::uint32_t code_size = image.section(SectionKind::Code).memory_size;
    ByteCursor cursor(bytes, context);
    VORN_TRY_STATUS(cursor.seek(reloc->stored_offset, "groups"));
    for (std::size_t g = 0; g < kRemapGroupCount; ++g) {
        std::string group = "group " + std::to_string(g + 1);
        VORN_TRY_ASSIGN(std::uint32_t count, cursor.u32(group + " count"));
        VORN_TRY_STATUS(cursor.expect_entries(count, 4, group));
        std::vector<std::uint32_t>& positions = image.groups[g];
        positions.reserve(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            std::size_t at = cursor.position();
            VORN_TRY_ASSIGN(std::uint32_t position, cursor.u32(group + " entry " + std::to_string(i)));
            if (std::uint64_t(position) + 4 > code_size)
                return cursor.error_at(at, group + " entry " + std::to_string(i) + " names code position " +
                                               hex(position) + "..+4, past the " + hex(code_size) +
                                               "-byte code section");
            positions.push_back(position);
        }
    }
    image.groups_end = cursor.position();
    return ok_status();
}

std::uint64_t compute_extent(const Image& image) {
    std::uint64_t end = std::max<std::uint64_t>(image.library_table_end, image.groups_end);
    for (const Section& section : image.sections) {
        end = std::max(end, std::uint64_t(section.header_offset) + section.length);
        if (section.has_stored())
            end = std::max(end, std::uint64_t(section.stored_offset) + section.stored_count);
    }
    return end;
}

} // namespace

Result<Image> read_image(ByteView bytes) {
    Image image;
    VORN_TRY_STATUS(read_header(bytes, image.header));
    VORN_TRY_STATUS(read_dll_table(bytes, image.header.dll_count, image.dll_commands));
    VORN_TRY_STATUS(read_library_table(bytes, image));
    VORN_TRY_STATUS(read_chain(bytes, image));
    VORN_TRY_STATUS(resolve_dll_names(image));
    VORN_TRY_STATUS(check_start_routine(image));
    VORN_TRY_STATUS(read_groups(bytes, image));
    image.extent = compute_extent(image);
    return image;
}

} // namespace vorn::image
