// Large program blocks in pages of their own, and the handler that takes a
// lent block back when the program writes into it (see block_lending.h).
#pragma once

#include "runtime/core/engine/block_lending.h"

namespace vorn::win32 {

class VirtualBlockPages : public runtime::BlockPages {
  public:
    std::size_t page_size() const override;
    void* reserve(std::size_t size) override;
    void free(void* pages, std::size_t size) override;
    bool set_read_only(void* pages, std::size_t size, bool read_only) override;
};

// From now on the process's large blocks are lent to properties; a write
// into a lent block faults, and the fault gives the block back before the
// write is done again. Once per process.
void start_block_lending();

} // namespace vorn::win32
