#include "runtime/core/engine/engine.h"
#include "runtime/core/engine/program_block.h"

#include <gtest/gtest.h>

#include <cstdlib>

using vorn::Bytes;
using vorn::load_u32;
using vorn::runtime::Engine;
using vorn::runtime::ProgramBlock;

TEST(ProgramBlock, HandsOverABlockInTheProgramsLayoutOrReleasesIt) {
    const std::int64_t before = Engine::live_blocks();
    {
        ProgramBlock block = ProgramBlock::sized(5);
        ASSERT_EQ(block.bytes().size(), 5u);
        block.bytes()[4] = 0x7E;
        auto* given = static_cast<std::uint8_t*>(block.hand_over());
        ASSERT_NE(given, nullptr);
        EXPECT_TRUE(block.view().empty()) << "nothing left behind";
        EXPECT_EQ(load_u32(given), 1u);
        EXPECT_EQ(load_u32(given + 4), 5u);
        EXPECT_EQ(given[8 + 4], 0x7E);
        EXPECT_EQ(Engine::live_blocks(), before + 1) << "the program owns it now";
        Engine::release(given);
    }
    {
        ProgramBlock kept = ProgramBlock::copy_of(Bytes{1, 2, 3});
        ProgramBlock moved = std::move(kept);
        EXPECT_EQ(Bytes(moved.view().begin(), moved.view().end()), (Bytes{1, 2, 3}));
        moved = ProgramBlock::sized(2); // the first block goes back
        EXPECT_EQ(Engine::live_blocks(), before + 1);
    }
    EXPECT_EQ(Engine::live_blocks(), before) << "a block not handed over is released";
    EXPECT_EQ(ProgramBlock::sized(0).hand_over(), nullptr) << "an empty block is no block";
    EXPECT_EQ(Engine::live_blocks(), before);
}
