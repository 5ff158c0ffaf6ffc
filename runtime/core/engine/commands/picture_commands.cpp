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

Result<Bytes> read_file(Engine& engine, const std::string& path) {
    return read_whole_file(engine.desktop().file_system(), engine.desktop().host_path(path));
}

std::uint64_t load_picture_file(Engine& engine, const Args& args) {
    Result<Bytes> content = read_file(engine, args.text(0));
    return content ? engine.pictures().add_file(std::move(*content)) : 0;
}

// The same for picture data the program holds: printing does not depend on a
// file it may not be able to write.
std::uint64_t load_picture_data(Engine& engine, const Args& args) {
    const ByteView data = args.block(0);
    return data.empty() ? 0 : engine.pictures().add_file(Bytes(data.begin(), data.end()));
}

std::uint64_t picture_id_size(Engine& engine, const Args& args) {
    const Bytes* file = engine.pictures().file(std::uint64_t(args.integer(0)));
    if (file == nullptr)
        return 0;
    Result<picture::PictureSize> size = picture::picture_size(*file);
    if (!size)
        return 0;
    return boundary_integer(args.integer(1) == 0 ? size->width : size->height);
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
    Result<Bytes> file = read_file(engine, path);
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

// Writes the source picture (a file, or picture data the program hands over)
// as a JPEG file at the target, which is replaced only once the whole JPEG
// is on disk: on any failure the target is left as it was. Answers why it
// failed, or FileFailure::none.
std::uint64_t convert_to_jpeg(Engine& engine, const Args& args) {
    using contract::FileFailure;
    auto answer = [](FileFailure failure) { return boundary_integer(std::int64_t(failure)); };
    Result<Bytes> file = Bytes();
    if (!args.is_block(0)) {
        file = read_file(engine, args.text(0));
        if (!file)
            return answer(file_failure(file.error()));
    }
    Result<Bytes> jpeg =
        picture::encode_jpeg_file(args.is_block(0) ? args.block(0) : ByteView(*file),
                                  int(std::clamp(args.integer(3), kJpegQualityMin, kJpegQualityMax)));
    if (!jpeg)
        return answer(FileFailure::unreadable_picture);
    const Status written =
        write_whole_file(engine.desktop().file_system(), engine.desktop().host_path(args.text(1)), *jpeg);
    return answer(written ? FileFailure::none : file_failure(written.error()));
}

constexpr std::array kKernel = {
    KernelHandler{K::LoadPictureFile, load_picture_file},
    KernelHandler{K::LoadPictureData, load_picture_data},
    KernelHandler{K::PictureIdSize, picture_id_size},
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
