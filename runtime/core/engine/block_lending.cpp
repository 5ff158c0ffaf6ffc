#include "runtime/core/engine/block_lending.h"

#include "runtime/core/contract/abi.h"

#include <cstdlib>
#include <mutex>
#include <vector>

namespace vorn::runtime {

// A block's bytes as a property's value. The pages stay the program's until
// it releases them; from then on they are this store's (adopted).
class BlockLending::Lent : public ByteStore {
  public:
    Lent(BlockLending& lending, std::uintptr_t block, BlockPages& pages, std::size_t span)
        : lending_(lending), block_(block), pages_(pages), span_(span) {
        const auto* start = reinterpret_cast<const std::uint8_t*>(block);
        lent_ = ByteView(start + kVornBlockHeaderSize, load_u32(start + 4));
    }
    ~Lent() override { lending_.let_go(*this); }

    bool lent() const { return lent_.has_value(); }
    // The program writes into its block: the bytes are copied first.
    void take_copy() {
        own_.assign(lent_->begin(), lent_->end());
        lent_.reset();
        set_writable();
    }
    void adopt() { adopted_ = true; }
    bool adopted() const { return adopted_; }
    void set_writable() { pages_.set_read_only(reinterpret_cast<void*>(block_), span_, false); }
    void free_pages() { pages_.free(reinterpret_cast<void*>(block_), span_); }

  private:
    BlockLending& lending_;
    std::uintptr_t block_;
    BlockPages& pages_;
    std::size_t span_;
    bool adopted_ = false;
};

BlockLending& BlockLending::process() {
    // Never destroyed: properties may hold lent blocks until the very end.
    static auto* lending = new BlockLending;
    return *lending;
}

void BlockLending::use_pages(BlockPages* pages) {
    std::lock_guard lock(mutex_);
    pages_ = pages;
}

void* BlockLending::allocate(std::size_t size) {
    std::lock_guard lock(mutex_);
    if (pages_ != nullptr && size >= kLendableSize) {
        const std::size_t page = pages_->page_size();
        const std::size_t span = (size + page - 1) / page * page;
        if (void* block = pages_->reserve(span)) {
            blocks_[reinterpret_cast<std::uintptr_t>(block)] = {pages_, span, {}};
            return block;
        }
        return nullptr;
    }
    return std::calloc(1, size == 0 ? 1 : size);
}

// Every store a lock finds outlives the lock: its last holder may let go of it
// meanwhile (on another thread), and letting go takes the lock.
void BlockLending::release(void* block) {
    std::shared_ptr<Lent> holder;
    std::lock_guard lock(mutex_);
    const auto found = blocks_.find(reinterpret_cast<std::uintptr_t>(block));
    if (found == blocks_.end()) {
        std::free(block);
        return;
    }
    holder = found->second.lent.lock();
    if (holder == nullptr || !holder->lent()) {
        found->second.pages->free(block, found->second.span);
    } else {
        holder->adopt();
        ++adopted_;
    }
    blocks_.erase(found);
}

std::shared_ptr<ByteStore> BlockLending::lend(std::uintptr_t block) {
    std::shared_ptr<Lent> lent;
    std::lock_guard lock(mutex_);
    const auto found = blocks_.find(block);
    if (found == blocks_.end())
        return nullptr;
    Pages& pages = found->second;
    // The length the program's block claims must lie in its pages.
    if (kVornBlockHeaderSize + std::size_t(load_u32(reinterpret_cast<const std::uint8_t*>(block) + 4)) >
        pages.span)
        return nullptr;
    lent = pages.lent.lock();
    if (lent != nullptr && lent->lent())
        return lent;
    if (!pages.pages->set_read_only(reinterpret_cast<void*>(block), pages.span, true))
        return nullptr;
    auto fresh = std::make_shared<Lent>(*this, block, *pages.pages, pages.span);
    pages.lent = fresh;
    return fresh;
}

bool BlockLending::reclaim(std::uintptr_t address) {
    std::shared_ptr<Lent> lent;
    std::lock_guard lock(mutex_);
    auto after = blocks_.upper_bound(address);
    if (after == blocks_.begin())
        return false;
    const auto found = std::prev(after);
    if (address - found->first >= found->second.span)
        return false;
    lent = found->second.lent.lock();
    if (lent == nullptr || !lent->lent())
        return false;
    lent->take_copy();
    found->second.lent.reset();
    return true;
}

std::size_t BlockLending::lent_blocks() const {
    std::vector<std::shared_ptr<Lent>> found;
    std::lock_guard lock(mutex_);
    for (const auto& [address, pages] : blocks_)
        if (std::shared_ptr<Lent> lent = pages.lent.lock(); lent != nullptr && lent->lent())
            found.push_back(std::move(lent));
    return found.size();
}

std::size_t BlockLending::adopted_blocks() const {
    std::lock_guard lock(mutex_);
    return adopted_;
}

// The last property holding the bytes let go of them.
void BlockLending::let_go(Lent& store) {
    std::lock_guard lock(mutex_);
    if (store.adopted()) {
        store.free_pages();
        --adopted_;
    } else if (store.lent()) {
        store.set_writable(); // the program's block is its own again
    }
}

} // namespace vorn::runtime
