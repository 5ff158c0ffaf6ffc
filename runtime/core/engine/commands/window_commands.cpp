// Windows and their controls: loading and closing, handles, focus,
// geometry, menus and window-object commands; the balloon tips and the
// input device that the support libraries attach to controls.
#include "runtime/core/engine/commands/command_table.h"
#include "runtime/core/engine/engine.h"
#include "runtime/core/engine/errors.h"

#include <array>

namespace vorn::runtime {

namespace {

using K = contract::KernelCommand;
using contract::LibraryIndex;
namespace lc = contract::library_command;

Engine::Element target(Engine& engine, const Args& args, std::size_t index, std::string_view command) {
    const ControlRef ref = args.control(index);
    return engine.element(ref.window, ref.element, command);
}

std::uint64_t load_window(Engine& engine, const Args& args) {
    if (Status loaded = engine.load_window(std::uint32_t(args.integer(0)), std::uint32_t(args.integer(1)),
                                           args.logical(2));
        !loaded)
        engine.fatal(kContractError, loaded.error().message);
    return 0;
}

std::uint64_t close_window(Engine& engine, const Args& args) {
    engine.close_window(std::uint32_t(args.integer(0)));
    return 0;
}

std::uint64_t is_window_loaded(Engine& engine, const Args& args) {
    return engine.is_loaded(std::uint32_t(args.integer(0)));
}

std::uint64_t window_handle(Engine& engine, const Args& args) {
    Engine::Element found = target(engine, args, 0, "window handle");
    return engine.desktop().native_handle(found.window, found.element);
}

std::uint64_t give_focus(Engine& engine, const Args& args) {
    Engine::Element found = target(engine, args, 0, "give focus");
    engine.desktop().give_focus(found.window, found.element);
    return 0;
}

// Omitted arguments leave that edge where it is.
std::uint64_t move_control(Engine& engine, const Args& args) {
    const ControlRef ref = args.control(0);
    engine.element(ref.window, ref.element, "move");
    const PropertyId order[] = {PropertyId::left, PropertyId::top, PropertyId::width, PropertyId::height};
    for (std::size_t i = 0; i < 4; ++i)
        if (auto value = args.optional_integer(i + 1))
            if (Status written = engine.write_property(ref.window, ref.element, order[i], -1, *value);
                !written)
                engine.fatal(kContractError, "move: " + written.error().message);
    return 0;
}

std::uint64_t popup_menu(Engine& engine, const Args& args) {
    Engine::Element menu =
        engine.element(std::uint32_t(args.integer(0)), std::uint32_t(args.integer(1)), "pop up menu");
    std::optional<Point> at;
    if (args.present(2) && args.present(3))
        at = Point{std::int32_t(args.integer(2)), std::int32_t(args.integer(3))};
    engine.desktop().popup_menu(menu.window, menu.element, at);
    return 0;
}

std::uint64_t window_command(Engine& engine, const Args& args) {
    Engine::Element found = target(engine, args, 0, "window command");
    engine.desktop().window_command(found.window, found.element, args.integer(1));
    return 0;
}

std::uint64_t prepare_input_device(Engine& engine, const Args& args, std::uint32_t selector,
                                   std::int64_t value) {
    Engine::Element device = target(engine, args, 0, "input device");
    engine.desktop().prepare_input_device(device.window, device.element, selector, value);
    return 0;
}

std::uint64_t attach_tip(Engine& engine, const Args& args) {
    Engine::Element balloon = target(engine, args, 0, "attach tip");
    Engine::Element control = target(engine, args, 1, "attach tip");
    engine.desktop().attach_tip(balloon.window, balloon.element, control.window, control.element,
                                args.text(2));
    return 0;
}

constexpr std::array kKernel = {
    KernelHandler{K::LoadWindow, load_window},
    KernelHandler{K::CloseWindow, close_window},
    KernelHandler{K::IsWindowLoaded, is_window_loaded},
    KernelHandler{K::WindowHandle, window_handle},
    KernelHandler{K::GiveFocus, give_focus},
    KernelHandler{K::MoveControl, move_control},
    KernelHandler{K::PopupMenu, popup_menu},
    KernelHandler{K::WindowCommand, window_command},
};

constexpr std::array kLibrary = {
    LibraryHandler{LibraryIndex::EdirectX, lc::kInputDeviceEnable,
                   [](Engine& engine, const Args& args) {
                       return prepare_input_device(engine, args, lc::kInputDeviceEnable, args.logical(1));
                   }},
    LibraryHandler{LibraryIndex::EdirectX, lc::kInputDeviceInterval,
                   [](Engine& engine, const Args& args) {
                       return prepare_input_device(engine, args, lc::kInputDeviceInterval, args.integer(1));
                   }},
    LibraryHandler{LibraryIndex::EdirectX, lc::kInputDeviceMode,
                   [](Engine& engine, const Args& args) {
                       return prepare_input_device(engine, args, lc::kInputDeviceMode, args.integer(1));
                   }},
    LibraryHandler{LibraryIndex::Iext5, lc::kAttachTip, attach_tip},
};

} // namespace

std::span<const KernelHandler> window_commands() {
    return kKernel;
}

std::span<const LibraryHandler> window_library_commands() {
    return kLibrary;
}

} // namespace vorn::runtime
