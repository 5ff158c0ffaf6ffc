#include "image/writer.h"

#include "image/reader.h"

#include <algorithm>
#include <cstring>

namespace vorn::image {

namespace {

Error refuse(std::string message) {
    return Error{"image parts: " + std::move(message)};
}

Status check_size(std::string_view what, std::uint64_t size) {
    if (size > UINT32_MAX)
        return refuse(std::string(what) + " holds " + std::to_string(size) +
                      " bytes, more than 32-bit offsets reach");
    return ok_status();
}

Status check_section(SectionKind kind, const SectionData& data) {
    std::string what = std::string(section_name(kind)) + " section";
    VORN_TRY_STATUS(check_size(what, data.stored.size()));
    if (data.memory() < data.stored.size())
        return refuse(what + ": memory size " + hex(data.memory()) + " is smaller than its " +
                      hex(data.stored.size()) + " stored bytes");
    return ok_status();
}

Status check_name_offset(const Bytes& constants, std::size_t index, const char* which, std::uint32_t offset) {
    if (offset >= constants.size() ||
        std::memchr(constants.data() + offset, 0, constants.size() - offset) == nullptr)
        return refuse(std::string(which) + " name of DLL command " + std::to_string(index) +
                      " at const offset " + hex(offset) + " is not a zero-terminated text inside the " +
                      hex(constants.size()) + " bytes of const data");
    return ok_status();
}

Status check_operand(std::string_view what, std::uint32_t position, std::uint64_t code_size) {
    if (std::uint64_t(position) + 4 > code_size)
        return refuse(std::string(what) + " names code position " + hex(position) + "..+4, past the " +
                      hex(code_size) + "-byte code section");
    return ok_status();
}

Status check_parts(const ImageParts& parts) {
    VORN_TRY_STATUS(check_section(SectionKind::Const, parts.constants));
    VORN_TRY_STATUS(check_section(SectionKind::Form, parts.form));
    VORN_TRY_STATUS(check_section(SectionKind::Help, parts.help));
    VORN_TRY_STATUS(check_section(SectionKind::Code, parts.code));
    VORN_TRY_STATUS(
        check_size("DLL command table", std::uint64_t(kDllEntrySize) * parts.dll_commands.size()));
    VORN_TRY_STATUS(check_size("fix-up list", std::uint64_t(kFixupEntrySize) * parts.fixups.size()));

    for (std::size_t i = 0; i < parts.dll_commands.size(); ++i) {
        VORN_TRY_STATUS(
            check_name_offset(parts.constants.stored, i, "library", parts.dll_commands[i].library));
        VORN_TRY_STATUS(
            check_name_offset(parts.constants.stored, i, "function", parts.dll_commands[i].function));
    }

    for (std::size_t i = 0; i < parts.libraries.size(); ++i) {
        const SupportLibrary& library = parts.libraries[i];
        const std::array<const std::string*, kLibraryFieldCount> fields = {
            &library.name, &library.identifier, &library.major_version, &library.minor_version,
            &library.description};
        for (std::size_t f = 0; f < fields.size(); ++f) {
            if (fields[f]->find_first_of(std::string_view("\x0d\0", 2)) != std::string::npos)
                return refuse("support library " + std::to_string(i) + " (\"" + printable(library.name) +
                              "\"): field " + std::to_string(f) + " contains a 0x0d or zero byte");
        }
    }

    std::uint64_t code_size = parts.code.memory();
    for (std::size_t i = 0; i < parts.fixups.size(); ++i) {
        const Fixup& fixup = parts.fixups[i];
        std::string what = "fix-up " + std::to_string(i);
        if (static_cast<std::uint32_t>(fixup.kind) >= kFixupKindCount)
            return refuse(what + " has kind " + std::to_string(static_cast<std::uint32_t>(fixup.kind)) +
                          ", only 0 to 3 exist");
        if (fixup.position > kMaxFixupPosition)
            return refuse(what + " position " + hex(fixup.position) + " does not fit in 29 bits");
        VORN_TRY_STATUS(check_operand(what, fixup.position, code_size));
    }

    if (parts.start_routine >= parts.code.stored.size())
        return refuse("start routine at code offset " + hex(parts.start_routine) + " lies outside the " +
                      hex(parts.code.stored.size()) + " stored bytes of code");

    std::uint64_t group_bytes = 0;
    for (std::size_t g = 0; g < kRemapGroupCount; ++g) {
        group_bytes += 4 + 4 * std::uint64_t(parts.groups[g].size());
        for (std::size_t i = 0; i < parts.groups[g].size(); ++i)
            VORN_TRY_STATUS(check_operand("group " + std::to_string(g + 1) + " entry " + std::to_string(i),
                                          parts.groups[g][i], code_size));
    }
    VORN_TRY_STATUS(check_size("@reloc1 section", group_bytes));
    return ok_status();
}

// Every part was checked to fit in 32 bits; the sum of all of them still may not.
Status check_total(const ImageParts& parts) {
    std::uint64_t total = kFixedHeaderSize + std::uint64_t(kDllEntrySize) * parts.dll_commands.size() + 1;
    for (const SupportLibrary& library : parts.libraries)
        total += library.name.size() + library.identifier.size() + library.major_version.size() +
                 library.minor_version.size() + library.description.size() + kLibraryFieldCount;
    total += kSectionKindCount * std::uint64_t(kSectionHeaderSize) + kFixupEntrySize * parts.fixups.size();
    total += parts.constants.stored.size() + parts.form.stored.size() + parts.help.stored.size() +
             parts.code.stored.size();
    total +=
        std::max<std::uint64_t>(parts.reloc_declared_size.value_or(0), encode_groups(parts.groups).size());
    return check_size("the image", total);
}

struct SectionOut {
    SectionKind kind;
    std::uint32_t memory_size;
    ByteView stored;            // ignored when !has_stored
    std::uint32_t stored_count; // may be smaller than stored.size() (the @reloc1 overrun)
    bool has_stored;
    const std::vector<Fixup>* fixups;
};

std::uint32_t write_section(ByteWriter& out, const SectionOut& section) {
    auto header = static_cast<std::uint32_t>(out.size());
    std::size_t fixups = section.fixups ? section.fixups->size() : 0;
    out.u32(static_cast<std::uint32_t>(kSectionHeaderSize + kFixupEntrySize * fixups));
    out.u32(kEndOfChain); // patched once the next header's offset is known
    out.u32(section_flags(section.kind));
    std::string_view name = section_name(section.kind);
    out.bytes(as_bytes(name));
    out.zeros(kSectionNameSize - name.size());
    out.u32(0);
    out.u32(section.memory_size);
    out.u32(section.stored_count);
    std::size_t stored_offset_field = out.size();
    out.u32(kNotStored);
    out.u32(static_cast<std::uint32_t>(fixups));
    out.u32(0);
    if (section.fixups)
        for (const Fixup& fixup : *section.fixups)
            out.u32(encode_fixup(fixup.position, fixup.kind));
    if (section.has_stored) {
        out.patch_u32(stored_offset_field, static_cast<std::uint32_t>(out.size()));
        out.bytes(section.stored);
    }
    return header;
}

SectionOut stored_section(SectionKind kind, const SectionData& data) {
    auto count = static_cast<std::uint32_t>(data.stored.size());
    return {kind, static_cast<std::uint32_t>(data.memory()), data.stored, count, true, nullptr};
}

} // namespace

Bytes encode_groups(const RemapGroups& groups) {
    ByteWriter out;
    for (const std::vector<std::uint32_t>& group : groups) {
        out.u32(static_cast<std::uint32_t>(group.size()));
        for (std::uint32_t position : group)
            out.u32(position);
    }
    return out.take();
}

Result<Bytes> write_image(const ImageParts& parts) {
    VORN_TRY_STATUS(check_parts(parts));
    VORN_TRY_STATUS(check_total(parts));

    ByteWriter out;
    out.bytes(kMagic);
    out.zeros(4 * kStoredSlotCount);
    out.u32(0); // first section header, patched below
    for (std::uint32_t value : parts.opaque)
        out.u32(value);
    out.u32(static_cast<std::uint32_t>(parts.dll_commands.size()));
    out.u32(0); // start routine, patched below
    out.zeros(4 * kNamedSectionCount);
    out.u32(0); // value 84, patched below
    for (const DllCommandOffsets& command : parts.dll_commands)
        out.u32(command.library);
    for (const DllCommandOffsets& command : parts.dll_commands)
        out.u32(command.function);

    std::string separator(1, kLibraryFieldSeparator);
    for (const SupportLibrary& library : parts.libraries)
        out.text(library.name + separator + library.identifier + separator + library.major_version +
                 separator + library.minor_version + separator + library.description);
    out.text("");

    Bytes groups = encode_groups(parts.groups);
    auto declared = static_cast<std::uint32_t>(parts.reloc_declared_size.value_or(groups.size()));
    if (declared > groups.size())
        groups.resize(declared, 0);

    const std::array<SectionOut, kSectionKindCount> sections = {{
        stored_section(SectionKind::Const, parts.constants),
        stored_section(SectionKind::Form, parts.form),
        stored_section(SectionKind::Help, parts.help),
        {SectionKind::Code, static_cast<std::uint32_t>(parts.code.memory()), parts.code.stored,
         static_cast<std::uint32_t>(parts.code.stored.size()), true, &parts.fixups},
        {SectionKind::Var, parts.var_size, {}, 0, false, nullptr},
        {SectionKind::Reloc, declared, groups, declared, true, nullptr},
    }};
    std::array<std::uint32_t, kSectionKindCount> headers{};
    for (std::size_t i = 0; i < sections.size(); ++i) {
        headers[i] = write_section(out, sections[i]);
        if (i > 0)
            out.patch_u32(headers[i - 1] + kSectionNextField, headers[i]);
    }

    out.patch_u32(kFirstSectionField, headers[0]);
    out.patch_u32(kValue84Field, headers[0]);
    for (std::size_t i = 0; i < kNamedSectionCount; ++i)
        out.patch_u32(kNamedSectionsField + 4 * i, headers[i]);
    std::uint32_t code_data =
        load_u32(out.buffer().data() + headers[index_of(SectionKind::Code)] + kSectionStoredOffsetField);
    out.patch_u32(kStartRoutineField, code_data + parts.start_routine);
    return out.take();
}

ImageParts parts_of(const Image& image) {
    ImageParts parts;
    parts.opaque = image.header.opaque;
    for (const DllCommand& command : image.dll_commands)
        parts.dll_commands.push_back(command.offsets);
    parts.libraries = image.libraries;

    auto data_of = [&](SectionKind kind) {
        const Section& section = image.section(kind);
        SectionData data{Bytes(section.stored.begin(), section.stored.end()), std::nullopt};
        if (section.memory_size != section.stored.size())
            data.memory_size = section.memory_size;
        return data;
    };
    parts.constants = data_of(SectionKind::Const);
    parts.form = data_of(SectionKind::Form);
    parts.help = data_of(SectionKind::Help);
    parts.code = data_of(SectionKind::Code);
    parts.fixups = image.section(SectionKind::Code).fixups;
    parts.start_routine = image.start_in_code();
    parts.var_size = image.section(SectionKind::Var).memory_size;
    parts.groups = image.groups;
    if (const Section* reloc = image.find(SectionKind::Reloc)) {
        if (reloc->stored_count != encode_groups(image.groups).size())
            parts.reloc_declared_size = reloc->stored_count;
    }
    return parts;
}

} // namespace vorn::image
