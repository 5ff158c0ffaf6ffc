#include "runtime/core/engine/program_block.h"

#include "runtime/core/contract/abi.h"
#include "runtime/core/engine/engine.h"

#include <cstring>
#include <limits>
#include <utility>

namespace vorn::runtime {

ProgramBlock ProgramBlock::sized(std::size_t length) {
    ProgramBlock made;
    if (length > std::numeric_limits<std::uint32_t>::max() - kVornBlockHeaderSize)
        return made;
    made.block_ = static_cast<std::uint8_t*>(Engine::allocate(kVornBlockHeaderSize + length));
    if (made.block_ != nullptr) {
        store_u32(made.block_, kVornBlockMarker);
        store_u32(made.block_ + 4, std::uint32_t(length));
    }
    return made;
}

ProgramBlock ProgramBlock::copy_of(ByteView bytes) {
    ProgramBlock made = sized(bytes.size());
    if (!bytes.empty() && !made.bytes().empty())
        std::memcpy(made.bytes().data(), bytes.data(), bytes.size());
    return made;
}

ProgramBlock::ProgramBlock(ProgramBlock&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}

ProgramBlock& ProgramBlock::operator=(ProgramBlock&& other) noexcept {
    if (this != &other) {
        Engine::release(block_);
        block_ = std::exchange(other.block_, nullptr);
    }
    return *this;
}

ProgramBlock::~ProgramBlock() {
    Engine::release(block_);
}

std::span<std::uint8_t> ProgramBlock::bytes() {
    const ByteView shown = view();
    return {const_cast<std::uint8_t*>(shown.data()), shown.size()};
}

ByteView ProgramBlock::view() const {
    return Engine::view_block(reinterpret_cast<std::uintptr_t>(block_));
}

void* ProgramBlock::hand_over() {
    if (view().empty()) {
        Engine::release(std::exchange(block_, nullptr));
        return nullptr;
    }
    return std::exchange(block_, nullptr);
}

} // namespace vorn::runtime
