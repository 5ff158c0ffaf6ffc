#include "image/loader.h"

namespace vorn::image {

std::uint32_t LoadBases::of(FixupKind kind) const {
    switch (kind) {
    case FixupKind::ImageStart:
        return image_start;
    case FixupKind::ConstData:
        return const_data;
    case FixupKind::VarBlock:
        return var_block;
    case FixupKind::CodeData:
        return code_data;
    }
    return 0;
}

namespace {

Error load_error(std::string message) {
    return Error{"loading image: " + std::move(message)};
}

// Images normally come from read_image(), which has checked these positions;
// they are checked again because an Image is plain data anyone can build.
Status check_operand(std::string_view what, std::uint32_t position, const Bytes& code) {
    if (std::uint64_t(position) + 4 > code.size())
        return load_error(std::string(what) + " names code position " + hex(position) + "..+4, past the " +
                          hex(code.size()) + "-byte code block");
    return ok_status();
}

} // namespace

Result<LoadedImage> load_image(const Image& image, const LoadOptions& options) {
    std::uint64_t total = 0;
    for (const Section& section : image.sections)
        total += section.memory_size;
    if (total > kMaxLoadedBytes)
        return load_error("the sections need " + std::to_string(total) + " bytes of memory, more than the " +
                          std::to_string(kMaxLoadedBytes) + " allowed");

    for (const auto& at : image.kind_index)
        if (at && *at >= image.sections.size())
            return load_error("a section index points past the section list");

    LoadedImage loaded;
    loaded.kind_index = image.kind_index;
    for (const Section& section : image.sections) {
        if (section.stored.size() > section.memory_size)
            return load_error("section \"" + section.name + "\" stores more bytes than its memory size");
        Bytes memory(section.memory_size, 0);
        std::copy(section.stored.begin(), section.stored.end(), memory.begin());
        loaded.sections.push_back({section.name, std::move(memory)});
    }

    if (!image.find(SectionKind::Code))
        return load_error("the image has no code section");
    const Section& code_section = image.section(SectionKind::Code);
    Bytes& code = loaded.sections[*image.kind_index[index_of(SectionKind::Code)]].memory;

    // Fix-ups come first: the groups' remapping sees (and may replace) the
    // fixed-up operands, as the runtime's own loading order has it.
    for (std::size_t i = 0; i < code_section.fixups.size(); ++i) {
        const Fixup& fixup = code_section.fixups[i];
        VORN_TRY_STATUS(check_operand("fix-up " + std::to_string(i), fixup.position, code));
        if (static_cast<std::uint32_t>(fixup.kind) >= kFixupKindCount)
            return load_error("fix-up " + std::to_string(i) + " has an unknown kind");
        std::uint8_t* operand = code.data() + fixup.position;
        store_u32(operand, load_u32(operand) + options.bases.of(fixup.kind));
    }

    for (std::size_t g = 0; g < kRemapGroupCount; ++g) {
        const RemapHook& hook = options.remap[g];
        const std::vector<std::uint32_t>& positions = image.groups[g];
        for (std::size_t i = 0; i < positions.size(); ++i) {
            VORN_TRY_STATUS(check_operand("group " + std::to_string(g + 1) + " entry " + std::to_string(i),
                                          positions[i], code));
            if (!hook)
                continue;
            std::uint8_t* operand = code.data() + positions[i];
            store_u32(operand, hook(group_at(g), positions[i], load_u32(operand)));
        }
    }

    if (code_section.has_stored() && image.header.start_routine >= code_section.stored_offset)
        loaded.start_routine = image.header.start_routine - code_section.stored_offset;
    return loaded;
}

} // namespace vorn::image
