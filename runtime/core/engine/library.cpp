// Support-library commands (service slot 2) and DLL commands (slot 1).
#include "runtime/core/engine/args.h"
#include "runtime/core/engine/engine.h"
#include "runtime/core/engine/errors.h"
#include "runtime/core/engine/files.h"
#include "runtime/core/picture/decode.h"

#include <cstring>
#include <optional>

namespace vorn::runtime {

namespace {

namespace lc = contract::library_command;
using contract::LibraryIndex;

constexpr std::int64_t kJpegQualityMin = 1;
constexpr std::int64_t kJpegQualityMax = 100;

std::uint64_t boundary_text(const std::string& text) {
    return reinterpret_cast<std::uintptr_t>(Engine::give_text(text));
}

// A list of texts crosses the boundary as one block: a 32-bit count, then the
// texts one after another, each with its terminating zero.
std::uint64_t boundary_text_list(const std::vector<std::string>& texts) {
    ByteWriter out;
    out.u32(std::uint32_t(texts.size()));
    for (const std::string& text : texts)
        out.text(text);
    return reinterpret_cast<std::uintptr_t>(Engine::give_block(out.buffer()));
}

LiveElement& element_of(Engine& engine, std::string_view command, ControlRef ref, LiveWindow** window_out) {
    LiveWindow* window = engine.window(ref.window);
    LiveElement* element = window ? window->resolve(ref.element) : nullptr;
    if (element == nullptr)
        engine.fatal(kContractError, std::string(command) + ": element " + hex(ref.element) + " of window " +
                                         hex(ref.window) + " is not loaded");
    *window_out = window;
    return *element;
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

// Rewrites `source` as a JPEG file at `target`; false when either file or the
// picture cannot be handled (the file is then left as it was).
bool convert_to_jpeg(Engine& engine, const std::string& source, const std::string& target,
                     std::int64_t quality) {
    Result<Bytes> file = read_whole_file(engine.desktop().host_path(source));
    if (!file)
        return false;
    Result<picture::Image> image = picture::decode_picture(*file);
    if (!image)
        return false;
    Result<Bytes> jpeg =
        picture::encode_jpeg(*image, int(std::clamp(quality, kJpegQualityMin, kJpegQualityMax)));
    return jpeg && write_whole_file(engine.desktop().host_path(target), *jpeg).ok();
}

// Argument counts of the Windows functions the image calls. Calling one with
// another count would leave a 32-bit caller's stack unbalanced: error 6.
std::optional<std::size_t> known_arity(const std::string& function) {
    static const std::pair<const char*, std::size_t> kArities[] = {
        {"OpenClipboard", 1},    {"EmptyClipboard", 0},
        {"SetClipboardData", 2}, {"CloseClipboard", 0},
        {"GetWindowRect", 2},    {"GetWindowPlacement", 2},
        {"GetParent", 1},        {"GetWindowLongA", 2},
        {"SetWindowLongA", 3},   {"SetLayeredWindowAttributes", 4},
    };
    for (const auto& [name, arity] : kArities)
        if (function == name)
            return arity;
    return std::nullopt;
}

} // namespace

std::uint64_t Engine::call_library(std::uint32_t library, std::uint32_t selector, const VornArgs& raw) {
    const contract::LibraryCommandInfo* info = contract::find_library_command(library, selector);
    if (info == nullptr)
        fatal(kContractError,
              "no command " + hex(selector) + " in support library " + std::to_string(library));
    const Args args(*this, info->name, raw, info->args);
    LiveWindow* window = nullptr;
    switch (info->library) {
    case LibraryIndex::EdirectX: {
        LiveElement& device = element_of(*this, info->name, args.control(0), &window);
        const std::int64_t value = selector == lc::kInputDeviceEnable ? args.logical(1) : args.integer(1);
        desktop_.prepare_input_device(*window, device, selector, value);
        return 0;
    }
    case LibraryIndex::EApi:
        if (selector == lc::kProcessNames)
            return boundary_text_list(desktop_.process_names());
        if (selector == lc::kWindowUnderPointer)
            return desktop_.window_under_pointer();
        return std::uint64_t(picture_dimension(*this, args.text(0), selector == lc::kPictureWidth));
    case LibraryIndex::EImgConverter:
        return convert_to_jpeg(*this, args.text(0), args.text(1), args.integer(3));
    case LibraryIndex::Shell:
        if (selector == lc::kSpecialFolder)
            return boundary_text(desktop_.special_folder(std::int32_t(args.integer(0))));
        return desktop_.create_shortcut(args.text(0), args.text(1));
    case LibraryIndex::Iext5: {
        LiveWindow* tip_window = nullptr;
        LiveElement& balloon = element_of(*this, info->name, args.control(0), &tip_window);
        LiveElement& control = element_of(*this, info->name, args.control(1), &window);
        desktop_.attach_tip(*tip_window, balloon, *window, control, args.text(2));
        return 0;
    }
    default:
        break;
    }
    return 0;
}

std::uint64_t Engine::call_dll(std::uint32_t index, std::span<const std::uint64_t> args) {
    const auto& commands = program_->image.dll_commands;
    if (index >= commands.size())
        fatal(kContractError, "no DLL command " + std::to_string(index) + " (the image lists " +
                                  std::to_string(commands.size()) + ")");
    const image::DllCommand& command = commands[index];
    if (auto arity = known_arity(command.function); arity && *arity != args.size())
        fatal(kDllArgumentError, command.function + " takes " + std::to_string(*arity) + " arguments, not " +
                                     std::to_string(args.size()));
    std::optional<std::uint64_t> result = desktop_.call_dll(command.library, command.function, args);
    if (!result)
        fatal(kContractError, "DLL command " + command.function + " cannot be found");
    return *result;
}

// ---- Picture objects: small ids for the program, backend objects behind them ----

std::uint64_t Engine::remember_picture_object(PictureObject object) {
    const std::uint64_t id = next_picture_object_++;
    picture_objects_[id] = object;
    return id;
}

double Engine::picture_object_number(std::uint64_t id, const std::string& name) {
    auto it = picture_objects_.find(id);
    if (it == picture_objects_.end())
        fatal(kContractError, "object number: no picture object " + std::to_string(id));
    if (name != "Handle")
        fatal(kContractError, "object number: a picture object has no number \"" + name + "\"");
    // A GDI handle's 32 significant bits, as a signed number: the program
    // truncates it back to a 32-bit integer.
    return double(std::int32_t(std::uint32_t(it->second.bitmap)));
}

void Engine::release_picture_object(std::uint64_t id) {
    auto it = picture_objects_.find(id);
    if (it == picture_objects_.end())
        return;
    desktop_.release_picture_object(it->second.object);
    picture_objects_.erase(it);
}

} // namespace vorn::runtime
