#include "runtime/core/engine/block_lending.h"

#include "runtime/core/contract/abi.h"
#include "tests/support/mapped_pages.h"

#include <gtest/gtest.h>

using vorn::store_u32;
using vorn::runtime::BlockLending;
using vorn::runtime::ByteStore;

namespace {

constexpr std::size_t kLarge = BlockLending::kLendableSize + 100;

// A block in the program's layout, its bytes counting up from `first`.
std::uint8_t* program_block(BlockLending& lending, std::size_t length, std::uint8_t first = 0) {
    auto* block = static_cast<std::uint8_t*>(lending.allocate(kVornBlockHeaderSize + length));
    store_u32(block, kVornBlockMarker);
    store_u32(block + 4, std::uint32_t(length));
    for (std::size_t i = 0; i < length; ++i)
        block[kVornBlockHeaderSize + i] = std::uint8_t(first + i);
    return block;
}

std::uintptr_t address(const void* block) {
    return reinterpret_cast<std::uintptr_t>(block);
}

struct Lending : ::testing::Test {
    vorn::testing::MappedPages pages;
    BlockLending lending;
    Lending() { lending.use_pages(&pages); }
};

} // namespace

TEST_F(Lending, APropertyReadsTheBlockInPlaceUntilTheProgramWritesIntoIt) {
    std::uint8_t* block = program_block(lending, kLarge, 7);
    EXPECT_EQ(address(block) % pages.page_size(), 0u) << "the block begins a page";
    const std::shared_ptr<ByteStore> store = lending.lend(address(block));
    ASSERT_NE(store, nullptr);
    EXPECT_EQ(store->view().data(), block + kVornBlockHeaderSize) << "no copy";
    EXPECT_EQ(store->view().size(), kLarge);
    EXPECT_EQ(store->own(), nullptr) << "not its own to write over";
    EXPECT_TRUE(pages.read_only_now[block]);
    EXPECT_EQ(lending.lend(address(block)), store) << "lent twice, kept once";
    EXPECT_EQ(lending.lent_blocks(), 1u);

    // What the fault handler does for a write in the middle of the block.
    EXPECT_FALSE(lending.reclaim(address(block) - 1));
    ASSERT_TRUE(lending.reclaim(address(block) + kLarge / 2));
    block[kVornBlockHeaderSize + 3] = 0xEE; // faults if still read-only
    EXPECT_FALSE(pages.read_only_now[block]);
    EXPECT_EQ(store->view()[3], 10) << "the property kept the bytes it was given";
    EXPECT_EQ(store->view().size(), kLarge);
    EXPECT_NE(store->own(), nullptr);
    EXPECT_EQ(lending.lent_blocks(), 0u);
    EXPECT_FALSE(lending.reclaim(address(block))) << "taken back once";
    lending.release(block);
    EXPECT_TRUE(pages.mapped.empty());
}

TEST_F(Lending, AReleasedBlockStaysWithThePropertyAndAnUnheldOneWithTheProgram) {
    std::uint8_t* kept = program_block(lending, kLarge, 1);
    std::shared_ptr<ByteStore> store = lending.lend(address(kept));
    lending.release(kept);
    EXPECT_EQ(pages.mapped.size(), 1u) << "the property adopted the pages";
    EXPECT_EQ(lending.adopted_blocks(), 1u);
    EXPECT_EQ(store->view()[0], 1);
    EXPECT_FALSE(lending.reclaim(address(kept))) << "no longer the program's to write";
    store.reset();
    EXPECT_TRUE(pages.mapped.empty()) << "freed with the last property holding it";
    EXPECT_EQ(lending.adopted_blocks(), 0u);

    std::uint8_t* dropped = program_block(lending, kLarge);
    lending.lend(address(dropped)).reset(); // the property took another value
    EXPECT_FALSE(pages.read_only_now[dropped]);
    dropped[kVornBlockHeaderSize] = 0x42; // faults if still read-only
    EXPECT_EQ(lending.lent_blocks(), 0u);
    lending.release(dropped);
    EXPECT_TRUE(pages.mapped.empty());
}

TEST_F(Lending, OnlyWholeBlocksOfPagesAreLent) {
    std::uint8_t* small = program_block(lending, BlockLending::kLendableSize / 2);
    EXPECT_EQ(lending.lend(address(small)), nullptr) << "a heap block";
    EXPECT_TRUE(pages.mapped.empty());
    lending.release(small);

    std::uint8_t* large = program_block(lending, kLarge);
    EXPECT_EQ(lending.lend(address(large) + 8), nullptr) << "not the start of a block";
    store_u32(large + 4, std::uint32_t(kLarge + pages.page_size()));
    EXPECT_EQ(lending.lend(address(large)), nullptr) << "a length past its pages";
    store_u32(large + 4, std::uint32_t(kLarge));
    pages.refuse_protection = true;
    EXPECT_EQ(lending.lend(address(large)), nullptr) << "pages that cannot be made read-only";
    lending.release(large);

    BlockLending without_pages;
    void* heap = without_pages.allocate(kLarge);
    ASSERT_NE(heap, nullptr);
    EXPECT_EQ(without_pages.lend(address(heap)), nullptr);
    without_pages.release(heap);
    EXPECT_TRUE(pages.mapped.empty());
}
