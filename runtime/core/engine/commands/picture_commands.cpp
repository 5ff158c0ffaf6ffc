// Pictures the program holds by number (files loaded for the printer,
// objects made for the clipboard), picture sizes, and the JPEG conversion.
#include "runtime/core/engine/commands/boundary.h"
#include "runtime/core/engine/commands/command_table.h"
#include "runtime/core/engine/engine.h"
#include "runtime/core/engine/errors.h"
#include "runtime/core/engine/files.h"
#include "runtime/core/picture/decode.h"

#include <algorithm>
#include <array>

namespace vorn::runtime {

namespace {

using K = contract::KernelCommand;
using contract::LibraryIndex;
namespace lc = contract::library_command;

constexpr std::int64_t kJpegQualityMin = 1;
constexpr std::int64_t kJpegQualityMax = 100;

std::uint64_t load_picture_file(Engine& engine, const Args& args) {
    Result<Bytes> content = read_whole_file(engine.desktop().host_path(args.text(0)));
    return content ? engine.pictures().add_file(std::move(*content)) : 0;
}

std::uint64_t create_picture_object(Engine& engine, const Args& args) {
    const PictureObject object = engine.desktop().create_picture_object(args.block(0));
    return object.object == 0 ? 0 : engine.pictures().add_object(object);
}

std::uint64_t object_number(Engine& engine, const Args& args) {
    const auto id = std::uint64_t(args.integer(0));
    const std::string name = args.text(1);
    const PictureObject* object = engine.pictures().object(id);
    if (object == nullptr)
        engine.fatal(kContractError, "object number: no picture object " + std::to_string(id));
    if (name != "Handle")
        engine.fatal(kContractError, "object number: a picture object has no number \"" + name + "\"");
    // A GDI handle's 32 significant bits, as a signed number: the program
    // truncates it back to a 32-bit integer.
    return boundary_double(double(std::int32_t(std::uint32_t(object->bitmap))));
}

std::uint64_t release_object(Engine& engine, const Args& args) {
    if (std::optional<PictureObject> object = engine.pictures().release(std::uint64_t(args.integer(0))))
        engine.desktop().release_picture_object(object->object);
    return 0;
}

std::int64_t picture_dimension(Engine& engine, const std::string& path, bool width) {
    Result<Bytes> file = read_whole_file(engine.desktop().host_path(path));
    if (!file)
        return 0;
    Result<picture::PictureSize> size = picture::picture_size(*file);
    if (!size)
        return 0;
    return width ? size->width : size->height;
}

// The size of picture data the program holds, without a file.
std::uint64_t picture_size(Engine&, const Args& args) {
    Result<picture::PictureSize> size = picture::picture_size(args.block(0));
    if (!size)
        return 0;
    return boundary_integer(args.integer(1) == 0 ? size->width : size->height);
}

std::uint64_t picture_width(Engine& engine, const Args& args) {
    return boundary_integer(picture_dimension(engine, args.text(0), true));
}

std::uint64_t picture_height(Engine& engine, const Args& args) {
    return boundary_integer(picture_dimension(engine, args.text(0), false));
}

// Rewrites the source file as a JPEG file at the target; false when either
// file or the picture cannot be handled (the target is then left as it was).
std::uint64_t convert_to_jpeg(Engine& engine, const Args& args) {
    Result<Bytes> file = read_whole_file(engine.desktop().host_path(args.text(0)));
    if (!file)
        return false;
    Result<picture::Image> image = picture::decode_picture(*file);
    if (!image)
        return false;
    Result<Bytes> jpeg =
        picture::encode_jpeg(*image, int(std::clamp(args.integer(3), kJpegQualityMin, kJpegQualityMax)));
    return jpeg && write_whole_file(engine.desktop().host_path(args.text(1)), *jpeg).ok();
}

constexpr std::array kKernel = {
    KernelHandler{K::LoadPictureFile, load_picture_file},
    KernelHandler{K::PictureCreate, create_picture_object},
    KernelHandler{K::ObjectNumber, object_number},
    KernelHandler{K::ObjectRelease, release_object},
    KernelHandler{K::PictureSize, picture_size},
};

constexpr std::array kLibrary = {
    LibraryHandler{LibraryIndex::EApi, lc::kPictureWidth, picture_width},
    LibraryHandler{LibraryIndex::EApi, lc::kPictureHeight, picture_height},
    LibraryHandler{LibraryIndex::EImgConverter, lc::kConvertPicture, convert_to_jpeg},
};

} // namespace

std::span<const KernelHandler> picture_commands() {
    return kKernel;
}

std::span<const LibraryHandler> picture_library_commands() {
    return kLibrary;
}

} // namespace vorn::runtime
