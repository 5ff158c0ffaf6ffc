#include "tools/imagetool/assemble.h"

#include "app/constants.h"
#include "app/texts.h"
#include "forms/layouts/program_windows.h"
#include "forms/writer.h"
#include "image/const_pool.h"
#include "image/writer.h"
#include "runtime/core/contract/dll_functions.h"
#include "tools/assets/assets.h"
#include "tools/imagetool/code_section.h"
#include "tools/imagetool/product_content.h"

namespace vorn::imagetool {

using image::FixupKind;
using image::ImageParts;

namespace {

// The drawing behind each picture the layouts name.
Result<Bytes> program_picture(layouts::Picture picture) {
    using assets::Icon;
    using assets::Png;
    using assets::SmallBitmap;
    using layouts::Picture;
    switch (picture) {
    case Picture::copy:
        return assets::icon(Icon::copy);
    case Picture::exit:
        return assets::icon(Icon::exit);
    case Picture::print:
        return assets::icon(Icon::print);
    case Picture::about:
        return assets::icon(Icon::about);
    case Picture::clear:
        return assets::icon(Icon::clear);
    case Picture::save:
        return assets::icon(Icon::save);
    case Picture::settings:
        return assets::icon(Icon::settings);
    case Picture::edit:
        return assets::icon(Icon::edit);
    case Picture::zoom:
        return assets::png(Png::zoom);
    case Picture::capture_window:
        return assets::png(Png::capture_window);
    case Picture::capture_full_screen:
        return assets::png(Png::capture_full_screen);
    case Picture::capture_region:
        return assets::png(Png::capture_region);
    case Picture::finish_edit:
        return assets::png(Png::finish_edit);
    case Picture::enlarge:
        return assets::small_bitmap(SmallBitmap::enlarge);
    case Picture::shrink:
        return assets::small_bitmap(SmallBitmap::shrink);
    case Picture::none:
        break;
    }
    return Error{"no drawing for picture " + std::to_string(static_cast<int>(picture))};
}

// The tables every image of ours carries, their names pooled into `pool`, and
// the small fixed sections; the const, form and code sections are the
// caller's to fill.
Result<ImageParts> table_parts(image::ConstPool& pool) {
    ImageParts parts;
    for (const contract::DllFunction& entry : contract::kDllFunctions) {
        VORN_TRY_ASSIGN(std::uint32_t library, pool.text(entry.library));
        VORN_TRY_ASSIGN(std::uint32_t function, pool.text(entry.name));
        parts.dll_commands.push_back({library, function});
    }
    for (const LibraryEntry& entry : support_libraries())
        parts.libraries.push_back({std::string(entry.name), std::string(entry.identifier),
                                   std::string(entry.major_version), std::string(entry.minor_version),
                                   std::string(entry.description)});
    // The window directory: a count of zero windows.
    parts.form.stored = Bytes(4, 0);
    parts.help.stored = Bytes(kHelpSize, 0);
    parts.var_size = kVarSize;
    return parts;
}

} // namespace

Result<ProductImage> product_image() {
    image::ConstPool pool;
    ProductImage product;
    product.sound_offset = pool.binary(assets::capture_sound());
    if (product.sound_offset != app::kCaptureSoundConstant)
        return Error("the capture sound landed at const offset " + std::to_string(product.sound_offset) +
                     ", where the program does not look for it");
    VORN_TRY_ASSIGN(product.parts, table_parts(pool));
    ImageParts& parts = product.parts;

    for (const app::TextInfo& text : app::all_texts()) {
        VORN_TRY_ASSIGN(std::uint32_t offset, pool.text(app::gbk(text.id)));
        product.text_offsets.push_back(offset);
    }
    parts.constants.stored = pool.data();

    VORN_TRY_ASSIGN(forms::FormSection windows, layouts::program_windows(program_picture));
    VORN_TRY_ASSIGN(parts.form.stored, forms::write_forms(windows, layouts::write_rules()));

    VORN_TRY_ASSIGN(CodeSection code, build_code_section(windows));
    parts.code.stored = std::move(code.bytes);
    parts.fixups = std::move(code.fixups);
    parts.groups = std::move(code.groups);
    parts.start_routine = code.start_routine;
    return product;
}

Result<ImageParts> product_image_parts() {
    VORN_TRY_ASSIGN(ProductImage product, product_image());
    return std::move(product.parts);
}

Result<ImageParts> sample_image_parts() {
    image::ConstPool pool;
    VORN_TRY_ASSIGN(ImageParts parts, table_parts(pool));
    parts.constants.stored = pool.data();
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
