// Large blocks handed to the program (a shot is tens of megabytes) are lent
// to the properties they are written to instead of copied. While a block is
// lent its pages are read-only: the first write into them, by the program or
// by a function it calls, gives the property a copy of its own and the block
// back to the program. A lent block the program releases stays with the
// property. Without page memory from the backend every block comes from the
// heap and nothing is lent.
#pragma once

#include "runtime/core/engine/model.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>

namespace vorn::runtime {

// Page-granular memory with a read-only switch: the backend's.
class BlockPages {
  public:
    virtual ~BlockPages() = default;
    virtual std::size_t page_size() const = 0;
    // `size` zero bytes, page-aligned; null when there is no memory.
    virtual void* reserve(std::size_t size) = 0;
    virtual void free(void* pages, std::size_t size) = 0;
    virtual bool set_read_only(void* pages, std::size_t size, bool read_only) = 0;
};

class BlockLending {
  public:
    // Blocks at least this large are made of whole pages and may be lent.
    static constexpr std::size_t kLendableSize = std::size_t(1) << 20;

    // The process's lending, which Engine::allocate and Engine::release use.
    static BlockLending& process();

    BlockLending() = default;
    BlockLending(const BlockLending&) = delete;
    BlockLending& operator=(const BlockLending&) = delete;

    // Null: blocks allocated from now on come from the heap.
    void use_pages(BlockPages* pages);

    // Zeroed; null when there is no memory.
    void* allocate(std::size_t size);
    void release(void* block);

    // The bytes of the program's block as a property's value, without a copy;
    // null when the block cannot be lent (small, or from the heap). A block
    // lent again is the same store.
    std::shared_ptr<ByteStore> lend(std::uintptr_t block);
    // A write is about to land at `address`: if it lies in a lent block, the
    // property gets its own copy and the block is writable again. Returns
    // whether it did.
    bool reclaim(std::uintptr_t address);
    // Blocks lent now, and lent blocks the program released that a property
    // still holds.
    std::size_t lent_blocks() const;
    std::size_t adopted_blocks() const;

  private:
    class Lent;
    struct Pages {
        BlockPages* pages = nullptr; // whose they are
        std::size_t span = 0;
        std::weak_ptr<Lent> lent;
    };
    // The fault handler may run on any thread; no lock is taken twice.
    class Lock {
      public:
        void lock() {
            while (taken_.test_and_set(std::memory_order_acquire)) {
            }
        }
        void unlock() { taken_.clear(std::memory_order_release); }

      private:
        std::atomic_flag taken_ = ATOMIC_FLAG_INIT;
    };
    void let_go(Lent& store);

    mutable Lock mutex_;
    BlockPages* pages_ = nullptr;
    std::map<std::uintptr_t, Pages> blocks_; // blocks of whole pages, by address
    std::size_t adopted_ = 0;
};

} // namespace vorn::runtime
