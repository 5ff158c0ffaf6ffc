// The program image as the reader returns it (Image) and as the writer takes it
// (ImageParts).
#pragma once

#include "base/bytes.h"
#include "image/format.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vorn::image {

struct Fixup {
    std::uint32_t position = 0; // of the 32-bit operand, within the code data
    FixupKind kind = FixupKind::ImageStart;

    bool operator==(const Fixup&) const = default;
};

struct SupportLibrary {
    std::string name;
    std::string identifier;
    std::string major_version;
    std::string minor_version;
    std::string description; // GBK

    bool operator==(const SupportLibrary&) const = default;
};

// Offsets into the const data of a DLL command's library and function names.
struct DllCommandOffsets {
    std::uint32_t library = 0;
    std::uint32_t function = 0;

    bool operator==(const DllCommandOffsets&) const = default;
};

struct DllCommand {
    DllCommandOffsets offsets;
    std::string library; // empty: the runtime's default system libraries
    std::string function;
};

// Group 1 at index 0; see group_index().
using RemapGroups = std::array<std::vector<std::uint32_t>, kRemapGroupCount>;

struct Section {
    std::uint32_t header_offset = 0;
    std::uint32_t length = 0;
    std::uint32_t next = kEndOfChain;
    std::uint32_t flags = 0;
    std::string name;
    std::uint32_t field_32 = 0;
    std::uint32_t memory_size = 0;
    std::uint32_t stored_count = 0;
    std::uint32_t stored_offset = kNotStored;
    std::uint32_t fixup_count = 0;
    std::uint32_t field_52 = 0;
    ByteView stored;           // points into the buffer that was read
    std::vector<Fixup> fixups; // only the code section has any

    bool has_stored() const { return stored_offset != kNotStored; }
};

struct Header {
    std::uint32_t first_section = 0;
    std::array<std::uint32_t, kOpaqueFieldCount> opaque{};
    std::uint32_t dll_count = 0;
    std::uint32_t start_routine = 0; // image offset, inside the code section's stored bytes
    std::array<std::uint32_t, kNamedSectionCount> named_sections{};
    std::uint32_t value_84 = 0;
};

// A validated image. Its sections' stored bytes are views into the buffer given
// to read_image(), which must outlive it.
struct Image {
    Header header;
    std::vector<DllCommand> dll_commands;
    std::uint32_t library_table_offset = 0;
    std::uint32_t library_table_end = 0; // past the empty text that closes it
    std::vector<SupportLibrary> libraries;
    std::vector<Section> sections; // in chain order
    // Position in `sections` of each known kind; const..var are always present
    // in an image the reader accepted, @reloc1 may be absent.
    std::array<std::optional<std::size_t>, kSectionKindCount> kind_index{};
    RemapGroups groups;
    std::uint64_t groups_end = 0; // where the @reloc1 groups really end (0 without @reloc1)
    // Bytes the image occupies from its first byte; the buffer may hold more.
    std::uint64_t extent = 0;

    const Section* find(SectionKind kind) const {
        const auto& at = kind_index[index_of(kind)];
        return at ? &sections[*at] : nullptr;
    }
    // Only for kinds that are known to be present.
    const Section& section(SectionKind kind) const { return sections[*kind_index[index_of(kind)]]; }
    std::uint32_t start_in_code() const {
        return header.start_routine - section(SectionKind::Code).stored_offset;
    }
};

// One section's content for the writer.
struct SectionData {
    Bytes stored;
    std::optional<std::uint32_t> memory_size; // defaults to the stored size

    std::uint64_t memory() const { return memory_size ? *memory_size : stored.size(); }
    bool operator==(const SectionData&) const = default;
};

// Everything the writer needs; offsets and the chain are computed from it.
struct ImageParts {
    std::array<std::uint32_t, kOpaqueFieldCount> opaque = kDefaultOpaqueValues;
    std::vector<DllCommandOffsets> dll_commands; // offsets into constants.stored
    std::vector<SupportLibrary> libraries;
    SectionData constants;
    SectionData form;
    SectionData help;
    SectionData code;
    std::vector<Fixup> fixups;       // written in this order
    std::uint32_t start_routine = 0; // offset within the code data
    std::uint32_t var_size = 0;
    RemapGroups groups;
    // The size that the @reloc1 header declares; defaults to the groups' own
    // size. Real images declare 4 bytes less than their groups occupy.
    std::optional<std::uint32_t> reloc_declared_size;

    bool operator==(const ImageParts&) const = default;
};

} // namespace vorn::image
