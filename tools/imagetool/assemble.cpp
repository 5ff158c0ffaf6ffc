#include "tools/imagetool/assemble.h"

#include "app/constants.h"
#include "app/texts.h"
#include "forms/layouts/program_windows.h"
#include "forms/writer.h"
#include "image/const_pool.h"
#include "image/writer.h"
#include "runtime/core/contract/dll_functions.h"
#include "runtime/core/contract/scaled_pictures.h"
#include "tools/assets/assets.h"
#include "tools/imagetool/code_section.h"
#include "tools/imagetool/product_content.h"

namespace vorn::imagetool {

using image::FixupKind;
using image::ImageParts;

namespace {

// A drawing as the image stores it (at 100 %) or drawn again at `percent`.
template <typename Which> Bytes drawn(Which which, Bytes (*stored)(Which), std::uint32_t percent) {
    return percent == 100 ? stored(which) : assets::scaled_picture(which, int(percent));
}

// The drawing behind each picture the layouts name, at `percent` of its size.
Result<Bytes> program_picture_at(layouts::Picture picture, std::uint32_t percent) {
    using assets::Icon;
    using assets::Png;
    using assets::SmallBitmap;
    using layouts::Picture;
    switch (picture) {
    case Picture::copy:
        return drawn(Icon::copy, assets::icon, percent);
    case Picture::exit:
        return drawn(Icon::exit, assets::icon, percent);
    case Picture::print:
        return drawn(Icon::print, assets::icon, percent);
    case Picture::about:
        return drawn(Icon::about, assets::icon, percent);
    case Picture::clear:
        return drawn(Icon::clear, assets::icon, percent);
    case Picture::save:
        return drawn(Icon::save, assets::icon, percent);
    case Picture::settings:
        return drawn(Icon::settings, assets::icon, percent);
    case Picture::edit:
        return drawn(Icon::edit, assets::icon, percent);
    case Picture::zoom:
        return drawn(Png::zoom, assets::png, percent);
    case Picture::capture_window:
        return drawn(Png::capture_window, assets::png, percent);
    case Picture::capture_full_screen:
        return drawn(Png::capture_full_screen, assets::png, percent);
    case Picture::capture_region:
        return drawn(Png::capture_region, assets::png, percent);
    case Picture::finish_edit:
        return drawn(Png::finish_edit, assets::png, percent);
    case Picture::enlarge:
        return drawn(SmallBitmap::enlarge, assets::small_bitmap, percent);
    case Picture::shrink:
        return drawn(SmallBitmap::shrink, assets::small_bitmap, percent);
    case Picture::none:
        break;
    }
    return Error{"no drawing for picture " + std::to_string(static_cast<int>(picture))};
}

// As the image stores it.
Result<Bytes> program_picture(layouts::Picture picture) {
    return program_picture_at(picture, 100);
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

Result<std::vector<ScaledPicture>> scaled_pictures() {
    std::vector<ScaledPicture> out;
    for (auto which = std::uint8_t(layouts::Picture::copy); which <= std::uint8_t(layouts::Picture::shrink);
         ++which) {
        const auto picture = layouts::Picture(which);
        VORN_TRY_ASSIGN(Bytes stored, program_picture(picture));
        for (const std::uint32_t percent : contract::kPictureScales) {
            VORN_TRY_ASSIGN(Bytes drawn, program_picture_at(picture, percent));
            out.push_back({contract::scaled_picture_name(stored, percent), std::move(drawn)});
        }
    }
    return out;
}

} // namespace vorn::imagetool
