#include "runtime/win32/portable/dll_geometry.h"

#include "base/bytes.h"
#include "runtime/win32/portable/dpi_scale.h"

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <vector>

namespace vorn::win32 {
namespace {

using contract::dll_function;
using contract::DllCommand;

constexpr std::uint32_t k125 = 120, k150 = 144;

std::vector<std::uint8_t> words(std::initializer_list<std::int32_t> values) {
    std::vector<std::uint8_t> out(values.size() * 4);
    std::size_t at = 0;
    for (const std::int32_t value : values) {
        store_u32(out.data() + at, std::uint32_t(value));
        at += 4;
    }
    return out;
}

std::vector<std::int32_t> read_words(const std::vector<std::uint8_t>& bytes) {
    std::vector<std::int32_t> out;
    for (std::size_t at = 0; at + 4 <= bytes.size(); at += 4)
        out.push_back(std::int32_t(load_u32(bytes.data() + at)));
    return out;
}

TEST(DllGeometry, OnlyTheFunctionsThatWriteGeometryAreConvertedWhereTheyWrote) {
    const std::array<std::uint64_t, 2> args{0x10, 0x5000};
    const auto rect = geometry_out(dll_function(DllCommand::GetWindowRect), args);
    ASSERT_TRUE(rect);
    EXPECT_EQ(rect->address, 0x5000u);
    EXPECT_EQ(rect->size, kRectBytes);
    EXPECT_EQ(geometry_out(dll_function(DllCommand::GetWindowPlacement), args)->size, kPlacementBytes);
    EXPECT_FALSE(geometry_out(dll_function(DllCommand::GetWindowLongA), args));
    EXPECT_FALSE(geometry_out(dll_function(DllCommand::SetClipboardData), args));
    // No pointer, or no second argument at all.
    EXPECT_FALSE(
        geometry_out(dll_function(DllCommand::GetWindowRect), std::array<std::uint64_t, 2>{0x10, 0}));
    EXPECT_FALSE(geometry_out(dll_function(DllCommand::GetWindowRect), std::array<std::uint64_t, 1>{0x10}));
}

TEST(DllGeometry, AWindowRectangleBecomesUnitsByPlaceAndSize) {
    // A 4 x 201 window at (1, 2) at 150 %: its size in units is the one a
    // snapshot matches with exactly 4 x 201 pixels.
    std::vector<std::uint8_t> rect = words({1, 2, 5, 203});
    ASSERT_TRUE(geometry_to_units(dll_function(DllCommand::GetWindowRect), rect, k150));
    EXPECT_EQ(read_words(rect), (std::vector<std::int32_t>{1, 1, 1 + 3, 1 + 134}));
    EXPECT_EQ(side_matching_picture(3, 4, k150, false), 4);
    // Edge by edge it would have been 2 wide, and so 3 pixels.
    EXPECT_EQ(to_units(5, k150) - to_units(1, k150), 2);
    std::vector<std::uint8_t> negative = words({-1920, 0, 0, 1080});
    ASSERT_TRUE(geometry_to_units(dll_function(DllCommand::GetWindowRect), negative, k150));
    EXPECT_EQ(read_words(negative), (std::vector<std::int32_t>{-1280, 0, 0, 720}));
    std::vector<std::uint8_t> same = words({10, 20, 30, 40});
    ASSERT_TRUE(geometry_to_units(dll_function(DllCommand::GetWindowRect), same, kUnitDpi));
    EXPECT_EQ(read_words(same), (std::vector<std::int32_t>{10, 20, 30, 40}));
}

TEST(DllGeometry, APlacementConvertsItsPointsAndRestoredRectangleOnly) {
    // length, flags, show command; minimised point (-1, -1 for none);
    // maximised point; restored rectangle.
    std::vector<std::uint8_t> placement = words({44, 2, 1, -1, -1, -8, -8, 125, 250, 1125, 750});
    ASSERT_TRUE(geometry_to_units(dll_function(DllCommand::GetWindowPlacement), placement, k125));
    EXPECT_EQ(read_words(placement),
              (std::vector<std::int32_t>{44, 2, 1, -1, -1, -6, -6, 100, 200, 900, 600}));
}

TEST(DllGeometry, TooFewBytesAreLeftAlone) {
    std::vector<std::uint8_t> rect = words({10, 20, 30});
    EXPECT_FALSE(geometry_to_units(dll_function(DllCommand::GetWindowRect), rect, k150));
    EXPECT_EQ(read_words(rect), (std::vector<std::int32_t>{10, 20, 30}));
    std::vector<std::uint8_t> placement(kPlacementBytes - 1, 0x7F);
    EXPECT_FALSE(geometry_to_units(dll_function(DllCommand::GetWindowPlacement), placement, k150));
    EXPECT_EQ(placement, std::vector<std::uint8_t>(kPlacementBytes - 1, 0x7F));
    std::vector<std::uint8_t> none = words({1, 2, 3, 4});
    EXPECT_FALSE(geometry_to_units(dll_function(DllCommand::GetParent), none, k150));
}

} // namespace
} // namespace vorn::win32
