// The runtime's commands as a table: each runtime command (service slot 3)
// and support-library command (slot 2) has one small handler, grouped by
// concern in the files beside this one. The engine finds a handler by its
// selector and hands it the arguments already checked against the
// contract's shapes.
#pragma once

#include "runtime/core/contract/commands.h"
#include "runtime/core/engine/args.h"

#include <cstdint>
#include <span>

namespace vorn::runtime {

class Engine;

using CommandHandler = std::uint64_t (*)(Engine& engine, const Args& args);

struct KernelHandler {
    contract::KernelCommand command;
    CommandHandler handler;
};

struct LibraryHandler {
    contract::LibraryIndex library;
    std::uint32_t selector;
    CommandHandler handler;
};

// The groups, each defined with its handlers.
std::span<const KernelHandler> window_commands();      // windows and properties
std::span<const KernelHandler> environment_commands(); // the machine, files and settings
std::span<const KernelHandler> canvas_commands();
std::span<const KernelHandler> picture_commands(); // picture files and objects
std::span<const KernelHandler> printer_commands();
std::span<const KernelHandler> dialog_commands(); // message boxes and file dialogs
std::span<const LibraryHandler> window_library_commands();
std::span<const LibraryHandler> environment_library_commands();
std::span<const LibraryHandler> picture_library_commands();

// Null when no group handles the selector.
CommandHandler find_kernel_handler(std::uint32_t selector);
CommandHandler find_library_handler(std::uint32_t library, std::uint32_t selector);

} // namespace vorn::runtime
