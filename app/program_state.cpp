#include "app/program_state.h"

#include <cstring>

namespace vorn::app {

void WindowPlacement::allocate(const facade::Runtime& runtime) {
    if (block_ == nullptr)
        block_ = static_cast<std::uint8_t*>(runtime.allocate(kSize)); // zeroed by the runtime
}

void WindowPlacement::release(const facade::Runtime& runtime) {
    runtime.release(block_);
    block_ = nullptr;
}

std::uint64_t WindowPlacement::prepare_for_query() {
    if (block_ == nullptr)
        return 0;
    store_u32(block_, kSize);
    return reinterpret_cast<std::uintptr_t>(block_);
}

std::int32_t WindowPlacement::field(std::uint32_t index) const {
    if (block_ == nullptr || index >= kSize / 4)
        return 0;
    return std::int32_t(load_u32(block_ + 4 * index));
}

ProgramState& program_state() {
    static ProgramState state;
    return state;
}

void global_initialisation(const facade::Runtime& runtime) {
    program_state().hovered_placement.allocate(runtime);
}

void global_cleanup(const facade::Runtime& runtime) {
    ProgramState& state = program_state();
    state.current_shot.reset();
    state.hovered_placement.release(runtime);
    state.current_tool = std::string();
}

} // namespace vorn::app
