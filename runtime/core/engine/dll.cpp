// DLL commands (service slot 1): the Windows functions of the image's table.
#include "runtime/core/contract/dll_functions.h"
#include "runtime/core/engine/block_lending.h"
#include "runtime/core/engine/engine.h"
#include "runtime/core/engine/errors.h"

#include <optional>

namespace vorn::runtime {

std::uint64_t Engine::call_dll(std::uint32_t index, std::span<const std::uint64_t> args) {
    const auto& commands = program_->image.dll_commands;
    if (index >= commands.size())
        fatal(kContractError, "no DLL command " + std::to_string(index) + " (the image lists " +
                                  std::to_string(commands.size()) + ")");
    const image::DllCommand& command = commands[index];
    // Another argument count would leave a 32-bit caller's stack unbalanced.
    const contract::DllFunction* known = contract::find_dll_function(command.function);
    if (known != nullptr && known->argument_count != args.size())
        fatal(kDllArgumentError, command.function + " takes " + std::to_string(known->argument_count) +
                                     " arguments, not " + std::to_string(args.size()));
    // The function may write through a pointer argument, and the system
    // does not fault on a read-only page the way the program's own code does.
    for (const std::uint64_t argument : args)
        BlockLending::process().reclaim(std::uintptr_t(argument));
    std::optional<std::uint64_t> result = desktop_.call_dll(command.library, command.function, args);
    if (!result)
        fatal(kContractError, "DLL command " + command.function + " cannot be found");
    return *result;
}

} // namespace vorn::runtime
