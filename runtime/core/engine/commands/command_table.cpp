#include "runtime/core/engine/commands/command_table.h"

#include <map>
#include <utility>

namespace vorn::runtime {

namespace {

const std::map<std::uint32_t, CommandHandler>& kernel_table() {
    static const std::map<std::uint32_t, CommandHandler> table = [] {
        std::map<std::uint32_t, CommandHandler> all;
        for (auto group : {window_commands(), environment_commands(), canvas_commands(), picture_commands(),
                           printer_commands(), dialog_commands()})
            for (const KernelHandler& entry : group)
                all.emplace(std::uint32_t(entry.command), entry.handler);
        return all;
    }();
    return table;
}

const std::map<std::pair<std::uint32_t, std::uint32_t>, CommandHandler>& library_table() {
    static const std::map<std::pair<std::uint32_t, std::uint32_t>, CommandHandler> table = [] {
        std::map<std::pair<std::uint32_t, std::uint32_t>, CommandHandler> all;
        for (auto group :
             {window_library_commands(), environment_library_commands(), picture_library_commands()})
            for (const LibraryHandler& entry : group)
                all.emplace(std::pair(std::uint32_t(entry.library), entry.selector), entry.handler);
        return all;
    }();
    return table;
}

} // namespace

CommandHandler find_kernel_handler(std::uint32_t selector) {
    auto it = kernel_table().find(selector);
    return it == kernel_table().end() ? nullptr : it->second;
}

CommandHandler find_library_handler(std::uint32_t library, std::uint32_t selector) {
    auto it = library_table().find({library, selector});
    return it == library_table().end() ? nullptr : it->second;
}

} // namespace vorn::runtime
