// Message boxes and the common file dialog.
#include "runtime/core/engine/commands/command_table.h"
#include "runtime/core/engine/engine.h"

#include <array>

namespace vorn::runtime {

namespace {

using K = contract::KernelCommand;

std::uint64_t message_box(Engine& engine, const Args& args) {
    return std::uint64_t(
        engine.desktop().message_box(args.text(0), args.text(2), std::uint32_t(args.integer(1))));
}

std::uint64_t open_file_dialog(Engine& engine, const Args& args) {
    const ControlRef ref = args.control(0);
    Engine::Element dialog = engine.element(ref.window, ref.element, "open file dialog");
    std::optional<std::string> chosen = engine.desktop().open_file_dialog(dialog.window, dialog.element);
    // A cancelled dialog leaves an empty file name, which is how callers tell.
    engine.update_from_user(ref.window, ref.element, PropertyId::file_name, chosen.value_or(std::string()));
    return chosen.has_value();
}

constexpr std::array kKernel = {
    KernelHandler{K::MessageBox, message_box},
    KernelHandler{K::OpenFileDialog, open_file_dialog},
};

} // namespace

std::span<const KernelHandler> dialog_commands() {
    return kKernel;
}

} // namespace vorn::runtime
