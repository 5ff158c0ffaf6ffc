#include "tools/imagetool/assemble.h"

#include "image/const_pool.h"
#include "image/writer.h"
#include "tools/imagetool/product_content.h"

namespace vorn::imagetool {

using image::FixupKind;
using image::ImageParts;

Result<ImageParts> product_image_parts() {
    image::ConstPool pool;
    ImageParts parts;
    for (const DllCommandEntry& entry : dll_commands()) {
        VORN_TRY_ASSIGN(std::uint32_t library, pool.text(entry.library));
        VORN_TRY_ASSIGN(std::uint32_t function, pool.text(entry.function));
        parts.dll_commands.push_back({library, function});
    }
    for (const LibraryEntry& entry : support_libraries())
        parts.libraries.push_back({std::string(entry.name), std::string(entry.identifier),
                                   std::string(entry.major_version), std::string(entry.minor_version),
                                   std::string(entry.description)});
    parts.constants.stored = pool.data();
    // The window directory: a count of zero windows.
    parts.form.stored = Bytes(4, 0);
    parts.help.stored = Bytes(kHelpSize, 0);
    parts.code.stored.assign(placeholder_code().begin(), placeholder_code().end());
    parts.start_routine = kPlaceholderStartRoutine;
    parts.var_size = kVarSize;
    return parts;
}

Result<ImageParts> sample_image_parts() {
    VORN_TRY_ASSIGN(ImageParts parts, product_image_parts());
    Bytes& code = parts.code.stored;
    code.assign(64, 0x90);
    code[0] = 0xc3;
    // Operands as the fix-up kinds and groups expect them: a service slot
    // offset, const and var offsets, a code offset, then ids and indices.
    const std::array<std::pair<std::uint32_t, std::uint32_t>, 8> operands = {{
        {0x08, 4 * static_cast<std::uint32_t>(image::ServiceSlot::CallLibraryCommand)},
        {0x10, parts.dll_commands[4].function},
        {0x18, 0x20},
        {0x20, 0x0c},
        {0x28, 0x52010001},
        {0x30, 3},
        {0x34, image::library_index(image::Library::EImgConverter)},
        {0x38, image::class_id(image::Library::EdirectX, 1)},
    }};
    for (const auto& [position, value] : operands)
        store_u32(code.data() + position, value);
    parts.code.memory_size = 0x80;
    parts.fixups = {{0x18, FixupKind::VarBlock},
                    {0x08, FixupKind::ImageStart},
                    {0x20, FixupKind::CodeData},
                    {0x10, FixupKind::ConstData}};
    parts.groups = {{{0x28}, {0x30}, {0x34}, {0x38}}};
    // Real images declare the last group entry out of the section.
    parts.reloc_declared_size = static_cast<std::uint32_t>(image::encode_groups(parts.groups).size() - 4);
    return parts;
}

} // namespace vorn::imagetool
