#include "runtime/sim/sim_desktop.h"

#include "runtime/core/contract/dll_functions.h"
#include "runtime/sim/user32.h"
#include "tests/sim/sim_fixtures.h"

#include <gtest/gtest.h>

#include <array>

namespace vorn::sim {
namespace {

using picture::Image;

constexpr std::uint64_t kOwner = 0x1234;

class DllCommandsTest : public ::testing::Test {
  protected:
    std::optional<std::uint64_t> call(const std::string& function, std::vector<std::uint64_t> args) {
        return sim.call_dll("user32", function, args);
    }
    std::uint64_t address(void* record) { return std::uint64_t(reinterpret_cast<std::uintptr_t>(record)); }
    // The program's clipboard transfer: open, empty, set the bitmap, close.
    void transfer(std::uint64_t bitmap) {
        call("OpenClipboard", {kOwner});
        call("EmptyClipboard", {});
        call("SetClipboardData", {kFormatBitmap, bitmap});
        call("CloseClipboard", {});
    }
    runtime::PictureObject picture_object(const Image& image) {
        return sim.create_picture_object(picture::encode_bmp(image));
    }

    SimDesktop sim;
};

TEST_F(DllCommandsTest, BitmapOnTheClipboardOutlivesItsPictureObject) {
    const Image shot = testing::gradient(3, 2);
    const runtime::PictureObject object = picture_object(shot);
    transfer(object.bitmap);
    sim.release_picture_object(object.object);
    EXPECT_EQ(sim.clipboard().bitmap(), shot);
    EXPECT_FALSE(sim.clipboard().is_open());
    EXPECT_EQ(sim.pictures().live_objects(), 0u);
    EXPECT_TRUE(sim.trace().in_order({"picture object obj#1 bmp#1 3x2", "dll OpenClipboard(0x1234) -> 1",
                                      "dll EmptyClipboard() -> 1", "dll SetClipboardData(2, bmp#1) -> ",
                                      "dll CloseClipboard() -> 1", "release picture object obj#1"}))
        << sim.trace().dump();
}

TEST_F(DllCommandsTest, ReleasedUnknownOrWrongKindOfHandlePutsNothingUsable) {
    const runtime::PictureObject object = picture_object(testing::gradient(2, 2));
    sim.pictures().release_bitmap(object.bitmap);
    for (std::uint64_t handle : {object.bitmap, std::uint64_t(0x0BADF00D), object.object}) {
        transfer(handle);
        ASSERT_EQ(sim.clipboard().entries().size(), 1u);
        EXPECT_EQ(sim.clipboard().entries()[0].format, kFormatBitmap);
        EXPECT_FALSE(sim.clipboard().bitmap());
    }
    EXPECT_TRUE(
        sim.trace().starting_with("dll SetClipboardData(2, bmp#1) -> ").at(0).ends_with("[no live bitmap]"));
    EXPECT_EQ(sim.pictures().create(as_bytes("not a picture")).object, 0u);
}

TEST_F(DllCommandsTest, EmptyingDropsEarlierContentAndFreesTheBitmapTheClipboardOwned) {
    sim.clipboard().put_text("earlier text");
    transfer(picture_object(Image(1, 1, 5)).bitmap);
    transfer(picture_object(Image(1, 1, 9)).bitmap);
    ASSERT_EQ(sim.clipboard().entries().size(), 1u);
    EXPECT_EQ(sim.clipboard().bitmap(), Image(1, 1, 9));
    EXPECT_EQ(sim.pictures().live_bitmaps(), 1u);
}

TEST_F(DllCommandsTest, ClipboardHeldByAnotherProgramRefusesEveryStepUntilReleased) {
    sim.clipboard().put_text("theirs");
    sim.clipboard().hold_elsewhere(2);
    const std::uint64_t bitmap = picture_object(Image(1, 1, 5)).bitmap;
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_EQ(call("OpenClipboard", {kOwner}), 0u);
        EXPECT_EQ(call("EmptyClipboard", {}), 0u);
        EXPECT_EQ(call("SetClipboardData", {kFormatBitmap, bitmap}), 0u);
        EXPECT_EQ(call("CloseClipboard", {}), 0u);
        ASSERT_EQ(sim.clipboard().entries().size(), 1u);
        EXPECT_EQ(sim.clipboard().entries()[0].text, "theirs");
    }
    transfer(bitmap);
    EXPECT_EQ(sim.clipboard().bitmap(), Image(1, 1, 5));
    EXPECT_EQ(sim.clipboard().open_attempts(), 3);
}

TEST_F(DllCommandsTest, WindowPlacementNeedsItsLengthAndFillsExactly44Bytes) {
    sim.windows().add_foreign({.handle = 0x9000,
                               .rect = {-8, -8, 1928, 1088},
                               .normal = Rect{100, 50, 900, 650},
                               .show_command = kShowMaximised});
    std::array<std::uint8_t, 48> record;
    record.fill(0xAB);
    store_u32(record.data(), 40);
    EXPECT_EQ(call("GetWindowPlacement", {0x9000, address(record.data())}), 0u);
    EXPECT_EQ(record[4], 0xAB);

    store_u32(record.data(), kWindowPlacementSize);
    EXPECT_EQ(call("GetWindowPlacement", {0x9000, address(record.data())}), 1u);
    std::array<std::int32_t, 11> fields;
    for (std::size_t i = 0; i < fields.size(); ++i)
        fields[i] = std::int32_t(load_u32(record.data() + 4 * i));
    EXPECT_EQ(fields, (std::array<std::int32_t, 11>{44, 0, 3, -1, -1, -1, -1, 100, 50, 900, 650}));
    EXPECT_EQ(load_u32(record.data() + 44), 0xABABABABu);
}

TEST_F(DllCommandsTest, WindowRectIsTheCurrentRectangleIn16Bytes) {
    sim.windows().add_foreign({.handle = 0x9000, .rect = {-8, -8, 1928, 1088}, .normal = Rect{1, 2, 3, 4}});
    std::array<std::uint8_t, 20> rect;
    rect.fill(0xAB);
    EXPECT_EQ(call("GetWindowRect", {0x4242, address(rect.data())}), 0u);
    EXPECT_EQ(rect[0], 0xAB);
    EXPECT_EQ(call("GetWindowRect", {0x9000, address(rect.data())}), 1u);
    EXPECT_EQ(std::int32_t(load_u32(rect.data())), -8);
    EXPECT_EQ(std::int32_t(load_u32(rect.data() + 4)), -8);
    EXPECT_EQ(load_u32(rect.data() + 8), 1928u);
    EXPECT_EQ(load_u32(rect.data() + 12), 1088u);
    EXPECT_EQ(load_u32(rect.data() + 16), 0xABABABABu);
}

TEST_F(DllCommandsTest, LayeredAttributesNeedTheLayeredStyleSetFirst) {
    sim.windows().add_foreign({.handle = 0x9000, .rect = {0, 0, 10, 10}});
    sim.windows().add_foreign({.handle = 0x9002, .rect = {1, 1, 5, 5}, .parent = 0x9000, .child = true});
    EXPECT_EQ(call("GetParent", {0x9002}), 0x9000u);
    EXPECT_EQ(call("GetParent", {0x9000}), 0u);

    const std::uint64_t minus_20 =
        std::uint64_t(std::int64_t(-20)); // sign-extended, as a 64-bit caller passes it
    EXPECT_EQ(call("SetLayeredWindowAttributes", {0x9000, 0xFF00FF, 200, 1}), 0u);
    EXPECT_EQ(call("GetWindowLongA", {0x9000, minus_20}), 0u);
    EXPECT_EQ(call("SetWindowLongA", {0x9000, 0xFFFFFFEC, 0x80000}), 0u); // zero-extended works too
    EXPECT_EQ(call("GetWindowLongA", {0x9000, minus_20}), 0x80000u);
    EXPECT_EQ(call("SetLayeredWindowAttributes", {0x9000, 0xFF00FF, 200, 1}), 1u);
    EXPECT_EQ(sim.windows().layered(0x9000), (LayeredAttributes{0xFF00FF, 200, 1}));
}

TEST_F(DllCommandsTest, OurControlsParentIsItsContainerAndOurWindowsParentItsOwner) {
    using testing::control_id;
    testing::LiveWindows windows;
    runtime::LiveWindow& main = windows.make(kMainWindowId, Rect::sized(0, 0, 100, 100), {});
    runtime::LiveWindow& overlay = windows.make(
        0x52010100, Rect::sized(0, 0, 100, 100),
        {{control_id(1), forms::class_id::shape_box, "外形框1", Rect::sized(0, 0, 50, 50)},
         {control_id(2), forms::class_id::canvas, "画板", Rect::sized(0, 0, 5, 5), control_id(1)}});
    ASSERT_TRUE(sim.create_window(main, nullptr).ok());
    ASSERT_TRUE(sim.create_window(overlay, &main).ok());
    EXPECT_EQ(call("GetParent", {overlay.find(control_id(2))->native}), overlay.find(control_id(1))->native);
    EXPECT_EQ(call("GetParent", {overlay.find(control_id(1))->native}), overlay.native);
    EXPECT_EQ(call("GetParent", {overlay.native}), main.native);
    EXPECT_EQ(sim.trace().lines().back(), "dll GetParent(0x52010100) -> " + std::to_string(main.native));
}

TEST_F(DllCommandsTest, UnknownFunctionIsNotFoundAndAWrongArgumentCountIsFatal) {
    EXPECT_EQ(call("MessageBeep", {0}), std::nullopt);
    try {
        call("SetClipboardData", {2});
        FAIL() << "no run-time error";
    } catch (const RuntimeFailure& failure) {
        EXPECT_EQ(failure.code, 6u);
    }
}

// A function added to the program's table without a simulated answer would
// fail only when a flow first calls it.
TEST(User32Table, AnswersEveryFunctionOfTheProgramsTableWithItsArgumentCount) {
    for (const contract::DllFunction& function : contract::kDllFunctions)
        EXPECT_EQ(User32::arity(function.name), function.argument_count) << function.name;
    EXPECT_EQ(User32::arity("MessageBeep"), std::nullopt);
}

} // namespace
} // namespace vorn::sim
