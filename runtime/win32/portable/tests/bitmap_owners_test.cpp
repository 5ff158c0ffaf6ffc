#include "runtime/win32/portable/bitmap_owners.h"

#include <gtest/gtest.h>

using namespace vorn::win32;

TEST(BitmapOwners, ClipboardKeepsWhatItTookAndTheObjectDeletesTheRest) {
    BitmapOwners owners;
    const std::uint64_t kept = owners.add(0x20900c1);
    const std::uint64_t dropped = owners.add(0x60900c0);
    EXPECT_NE(kept, dropped);
    EXPECT_EQ(owners.bitmap(kept), 0x20900c1u);

    owners.handed_to_clipboard(0x20900c1);
    EXPECT_EQ(owners.release(kept), std::nullopt) << "the clipboard owns it now";
    EXPECT_EQ(owners.release(dropped), 0x60900c0u) << "nobody took it: the object deletes it";
    EXPECT_EQ(owners.release(dropped), std::nullopt) << "released once";
    EXPECT_EQ(owners.release(999), std::nullopt);
    EXPECT_EQ(owners.size(), 0u);
}

TEST(BitmapOwners, HandlesCompareByTheirThirtyTwoBits) {
    BitmapOwners owners;
    // The program passes a handle with the high bit set as a negative 32-bit
    // number; the runtime created it as a pointer-sized value.
    const std::uint64_t object = owners.add(0xFFFFFFFF8A0501C2ull);
    owners.handed_to_clipboard(0x8A0501C2u);
    EXPECT_EQ(owners.release(object), std::nullopt);
    EXPECT_EQ(normal_handle(0x8A0501C2u), 0xFFFFFFFF8A0501C2ull);
    EXPECT_EQ(normal_handle(0x0A0501C2u), 0x0A0501C2u);
}

TEST(BitmapOwners, AReusedHandleBelongsToItsNewObject) {
    BitmapOwners owners;
    const std::uint64_t first = owners.add(0x1234);
    owners.handed_to_clipboard(0x1234);
    EXPECT_EQ(owners.release(first), std::nullopt);
    // The clipboard freed it later and GDI gave the number out again.
    const std::uint64_t second = owners.add(0x1234);
    EXPECT_EQ(owners.release(second), 0x1234u);
}
