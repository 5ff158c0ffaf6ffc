// The printer component: pictures drawn collect on a page; the job's end
// prints it and lets go of the pictures it drew.
#include "runtime/core/engine/commands/command_table.h"
#include "runtime/core/engine/engine.h"

#include <array>

namespace vorn::runtime {

namespace {

using K = contract::KernelCommand;

Engine::Element printer(Engine& engine, const Args& args, std::string_view command) {
    const ControlRef ref = args.control(0);
    return engine.element(ref.window, ref.element, command);
}

std::uint64_t draw_picture(Engine& engine, const Args& args) {
    Engine::Element found = printer(engine, args, "printer draw picture");
    const auto id = std::uint64_t(args.integer(1));
    const Bytes* picture = engine.pictures().file(id);
    const Bytes none;
    engine.desktop().print_picture(found.window, found.element, picture != nullptr ? *picture : none,
                                   std::int32_t(args.integer(2)), std::int32_t(args.integer(3)),
                                   std::int32_t(args.integer(4)), std::int32_t(args.integer(5)));
    engine.pictures().drawn_by_printer(id);
    return 0;
}

std::uint64_t end_job(Engine& engine, const Args& args) {
    Engine::Element found = printer(engine, args, "printer end job");
    engine.desktop().end_print_job(found.window, found.element);
    engine.pictures().printer_job_ended();
    return 0;
}

constexpr std::array kKernel = {
    KernelHandler{K::PrinterDrawPicture, draw_picture},
    KernelHandler{K::PrinterEndJob, end_job},
};

} // namespace

std::span<const KernelHandler> printer_commands() {
    return kKernel;
}

} // namespace vorn::runtime
