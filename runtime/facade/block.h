// A byte block the runtime handed to the program ([1][length][bytes]), owned
// by whoever holds it and released through the runtime's allocator when that
// owner lets go or takes another. Pictures travel in these: a shot is tens of
// megabytes, so the program keeps the runtime's block instead of copying it.
#pragma once

#include "base/bytes.h"
#include "runtime/core/contract/abi.h"

#include <cstdint>
#include <utility>

namespace vorn::facade {

class Block {
  public:
    using Release = void (*)(void*);

    Block() = default;
    // Takes ownership of `address` (null for no block).
    Block(std::uint64_t address, Release release)
        : block_(reinterpret_cast<std::uint8_t*>(std::uintptr_t(address))), release_(release) {}
    Block(Block&& other) noexcept : block_(std::exchange(other.block_, nullptr)), release_(other.release_) {}
    Block& operator=(Block&& other) noexcept {
        if (this != &other) {
            reset();
            block_ = std::exchange(other.block_, nullptr);
            release_ = other.release_;
        }
        return *this;
    }
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;
    ~Block() { reset(); }

    void reset() {
        if (block_ != nullptr && release_ != nullptr)
            release_(block_);
        block_ = nullptr;
    }

    std::uint32_t size() const { return block_ == nullptr ? 0 : load_u32(block_ + 4); }
    bool empty() const { return size() == 0; }
    ByteView view() const {
        return block_ == nullptr ? ByteView() : ByteView(block_ + kVornBlockHeaderSize, size());
    }
    // The block with its header, as arguments and properties pass it.
    std::uint64_t address() const { return reinterpret_cast<std::uintptr_t>(block_); }

  private:
    std::uint8_t* block_ = nullptr;
    Release release_ = nullptr;
};

} // namespace vorn::facade
