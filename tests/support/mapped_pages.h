// Page memory for lent blocks in tests: real pages with real protection, so
// that a write into a lent block that was not taken back first ends the test
// with a fault.
#pragma once

#include "runtime/core/engine/block_lending.h"

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <map>

namespace vorn::testing {

class MappedPages : public runtime::BlockPages {
  public:
    std::size_t page_size() const override { return std::size_t(sysconf(_SC_PAGESIZE)); }
    void* reserve(std::size_t size) override {
        void* pages = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (pages == MAP_FAILED)
            return nullptr;
        mapped[pages] = size;
        return pages;
    }
    void free(void* pages, std::size_t size) override {
        EXPECT_EQ(mapped[pages], size) << "freed with the size reserved";
        mapped.erase(pages);
        munmap(pages, size);
    }
    bool set_read_only(void* pages, std::size_t size, bool read_only) override {
        if (refuse_protection)
            return false;
        read_only_now[pages] = read_only;
        return mprotect(pages, size, read_only ? PROT_READ : PROT_READ | PROT_WRITE) == 0;
    }

    std::map<void*, std::size_t> mapped;
    std::map<void*, bool> read_only_now;
    bool refuse_protection = false;
};

} // namespace vorn::testing
