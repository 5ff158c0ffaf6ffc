#include "image/const_pool.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vorn::image {
namespace {

TEST(ConstPoolTest, StartsWithAnEmptyBlockAndLaysOutConstants) {
    ConstPool pool;
    EXPECT_EQ(pool.data(), (Bytes{1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(*pool.text("ab"), 8u);
    EXPECT_EQ(pool.binary(Bytes{7, 8}), 11u);
    EXPECT_EQ(pool.real(1.5), 21u);
    const Bytes expected = {1, 0, 0, 0, 0, 0, 0, 0, 'a', 'b', 0, 1, 0,    0,   0,
                            2, 0, 0, 0, 7, 8, 0, 0, 0,   0,   0, 0, 0xf8, 0x3f};
    EXPECT_EQ(pool.data(), expected);
}

TEST(ConstPoolTest, SharesEqualTextsAndRefusesEmbeddedZeros) {
    ConstPool pool;
    std::uint32_t empty = *pool.text("");
    std::uint32_t user32 = *pool.text("user32");
    EXPECT_EQ(*pool.text(""), empty);
    EXPECT_EQ(*pool.text("user32"), user32);
    EXPECT_NE(*pool.text("user3"), user32);
    std::size_t size = pool.data().size();
    EXPECT_FALSE(pool.text(std::string_view("a\0b", 3)).ok());
    EXPECT_EQ(pool.data().size(), size);
}

} // namespace
} // namespace vorn::image
