// A block made for the program ([1][length][bytes]) and filled in place by a
// backend, so that a picture of tens of megabytes reaches the program without
// another copy: a fresh buffer of that size costs more than the copy itself.
// Released with the runtime's allocator unless handed over.
#pragma once

#include "base/bytes.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace vorn::runtime {

class ProgramBlock {
  public:
    ProgramBlock() = default;
    // `length` zero bytes; an allocation failure gives an empty block.
    static ProgramBlock sized(std::size_t length);
    static ProgramBlock copy_of(ByteView bytes);

    ProgramBlock(ProgramBlock&& other) noexcept;
    ProgramBlock& operator=(ProgramBlock&& other) noexcept;
    ProgramBlock(const ProgramBlock&) = delete;
    ProgramBlock& operator=(const ProgramBlock&) = delete;
    ~ProgramBlock();

    std::span<std::uint8_t> bytes();
    ByteView view() const;
    // The block for the program, who releases it; null for an empty one.
    void* hand_over();

  private:
    std::uint8_t* block_ = nullptr;
};

} // namespace vorn::runtime
