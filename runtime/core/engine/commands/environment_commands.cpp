// The machine and the program's surroundings: directories, the screen and
// its snapshots, waiting, sound, the settings file, whole files, the
// program's own constants, processes, the window under the pointer and the
// shell.
#include "runtime/core/engine/commands/boundary.h"
#include "runtime/core/engine/commands/command_table.h"
#include "runtime/core/engine/engine.h"
#include "runtime/core/engine/errors.h"
#include "runtime/core/engine/files.h"
#include "runtime/core/settings/settings_file.h"

#include <algorithm>
#include <array>

namespace vorn::runtime {

namespace {

using K = contract::KernelCommand;
using contract::LibraryIndex;
namespace lc = contract::library_command;

std::uint64_t run_directory(Engine& engine, const Args&) {
    return boundary_text(engine.desktop().run_directory());
}

std::uint64_t program_file_name(Engine& engine, const Args&) {
    return boundary_text(engine.desktop().program_file_name());
}

std::uint64_t screen_width(Engine& engine, const Args&) {
    return boundary_integer(engine.desktop().screen_size().width);
}

std::uint64_t screen_height(Engine& engine, const Args&) {
    return boundary_integer(engine.desktop().screen_size().height);
}

std::uint64_t wait(Engine& engine, const Args& args) {
    engine.desktop().wait(std::uint32_t(std::clamp<std::int64_t>(args.integer(0), 0, UINT32_MAX)));
    return 0;
}

std::uint64_t screen_snapshot(Engine& engine, const Args& args) {
    SnapshotRequest request;
    if (args.present(0))
        request.window = std::uint64_t(args.integer(0));
    if (auto width = args.optional_integer(1))
        request.width = std::int32_t(*width);
    if (auto height = args.optional_integer(2))
        request.height = std::int32_t(*height);
    return boundary_block(engine.desktop().snapshot(request));
}

std::uint64_t play_sound(Engine& engine, const Args& args) {
    engine.desktop().play_sound(args.block(0));
    return 0;
}

std::uint64_t read_setting(Engine& engine, const Args& args) {
    return boundary_text(settings::read_value(engine.desktop().file_system(),
                                              engine.desktop().host_path(args.text(0)), args.text(1),
                                              args.text(2), args.text(3)));
}

std::uint64_t write_setting(Engine& engine, const Args& args) {
    return settings::write_value(engine.desktop().file_system(), engine.desktop().host_path(args.text(0)),
                                 args.text(1), args.text(2), args.text(3))
        .ok();
}

std::uint64_t write_file(Engine& engine, const Args& args) {
    const Status written = write_whole_file(engine.desktop().file_system(),
                                            engine.desktop().host_path(args.text(0)), args.block(1));
    return boundary_integer(
        std::int64_t(written ? contract::FileFailure::none : file_failure(written.error())));
}

std::uint64_t read_file(Engine& engine, const Args& args) {
    Result<Bytes> content =
        read_whole_file(engine.desktop().file_system(), engine.desktop().host_path(args.text(0)));
    return content ? boundary_block(ByteView(*content)) : 0;
}

// A binary constant of the loaded image: 32-bit 1, 32-bit length, the bytes.
// The program's handlers name their sounds and pictures by const offset, as
// image code would; an offset that does not lead to one is a broken contract.
std::uint64_t program_constant(Engine& engine, const Args& args) {
    const std::int64_t offset = args.integer(0);
    const Bytes* constants = engine.program().loaded.find(image::SectionKind::Const);
    const std::size_t size = constants ? constants->size() : 0;
    auto fail = [&](const std::string& why) {
        engine.fatal(kContractError, "program constant at " + std::to_string(offset) + ": " + why);
    };
    if (offset < 0 || std::uint64_t(offset) + kVornBlockHeaderSize > size)
        fail("outside the const section of " + std::to_string(size) + " bytes");
    const std::uint8_t* at = constants->data() + offset;
    const std::uint32_t length = load_u32(at + 4);
    if (load_u32(at) != kVornBlockMarker)
        fail("not a binary constant");
    if (length > size - std::size_t(offset) - kVornBlockHeaderSize)
        fail("its " + std::to_string(length) + " bytes run past the const section");
    return boundary_block(ByteView(*constants).subspan(std::size_t(offset) + kVornBlockHeaderSize, length));
}

std::uint64_t process_names(Engine& engine, const Args&) {
    return boundary_text_list(engine.desktop().process_names());
}

std::uint64_t window_under_pointer(Engine& engine, const Args&) {
    return engine.desktop().window_under_pointer();
}

std::uint64_t special_folder(Engine& engine, const Args& args) {
    return boundary_text(engine.desktop().special_folder(std::int32_t(args.integer(0))));
}

std::uint64_t create_shortcut(Engine& engine, const Args& args) {
    return engine.desktop().create_shortcut(args.text(0), args.text(1));
}

constexpr std::array kKernel = {
    KernelHandler{K::RunDirectory, run_directory},
    KernelHandler{K::ProgramFileName, program_file_name},
    KernelHandler{K::ScreenWidth, screen_width},
    KernelHandler{K::ScreenHeight, screen_height},
    KernelHandler{K::Wait, wait},
    KernelHandler{K::ScreenSnapshot, screen_snapshot},
    KernelHandler{K::PlaySound, play_sound},
    KernelHandler{K::ReadSetting, read_setting},
    KernelHandler{K::WriteSetting, write_setting},
    KernelHandler{K::WriteFile, write_file},
    KernelHandler{K::ReadFile, read_file},
    KernelHandler{K::ProgramConstant, program_constant},
};

constexpr std::array kLibrary = {
    LibraryHandler{LibraryIndex::EApi, lc::kProcessNames, process_names},
    LibraryHandler{LibraryIndex::EApi, lc::kWindowUnderPointer, window_under_pointer},
    LibraryHandler{LibraryIndex::Shell, lc::kSpecialFolder, special_folder},
    LibraryHandler{LibraryIndex::Shell, lc::kCreateShortcut, create_shortcut},
};

} // namespace

std::span<const KernelHandler> environment_commands() {
    return kKernel;
}

std::span<const LibraryHandler> environment_library_commands() {
    return kLibrary;
}

} // namespace vorn::runtime
