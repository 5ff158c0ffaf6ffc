#include "runtime/win32/portable/held_grab.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace vorn::win32;

namespace {

std::vector<std::uint8_t> rows(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = std::uint8_t(i * 7 + 3);
    return bytes;
}

} // namespace

TEST(HeldGrab, HandsOverOnlyForTheSameRowsUnchanged) {
    std::vector<std::uint8_t> shot = rows(1000);
    HeldGrab held;
    EXPECT_EQ(held.hold(0x50, shot), std::nullopt);
    EXPECT_EQ(held.take_if_same(shot), 0x50u);
    EXPECT_EQ(held.take_if_same(shot), std::nullopt) << "handed over once";

    // Equal bytes elsewhere are another picture, as far as anyone knows.
    const std::vector<std::uint8_t> copy = shot;
    held.hold(0x51, shot);
    EXPECT_EQ(held.take_if_same(copy), std::nullopt);
    EXPECT_EQ(held.take_if_same(vorn::ByteView(shot).first(999)), std::nullopt);
    // A byte changed anywhere, the last odd ones included, and it is not the grab.
    for (std::size_t at : {std::size_t(0), std::size_t(500), std::size_t(995), std::size_t(999)}) {
        shot[at] ^= 1;
        EXPECT_EQ(held.take_if_same(shot), std::nullopt) << "byte " << at << " changed";
        shot[at] ^= 1;
    }
    EXPECT_EQ(held.take_if_same(shot), 0x51u) << "changed back, it is the grab again";
}

TEST(HeldGrab, ANewGrabOrAReleaseGivesBackTheOneHeld) {
    std::vector<std::uint8_t> first = rows(64), second = rows(64);
    HeldGrab held;
    held.hold(0x60, first);
    EXPECT_EQ(held.hold(0x61, second), 0x60u) << "the caller deletes the older one";
    EXPECT_EQ(held.take_if_same(first), std::nullopt);
    EXPECT_EQ(held.release(), 0x61u);
    EXPECT_EQ(held.release(), std::nullopt);
    EXPECT_EQ(held.take_if_same(second), std::nullopt);
}

TEST(HeldGrab, DigestSeesEveryByteAndTheLength) {
    const std::vector<std::uint8_t> bytes = rows(77);
    const std::uint64_t whole = digest(bytes);
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        std::vector<std::uint8_t> changed = bytes;
        changed[at] ^= 0x80;
        EXPECT_NE(digest(changed), whole) << "byte " << at;
    }
    const std::vector<std::uint8_t> zeros(40), more_zeros(41);
    EXPECT_NE(digest(zeros), digest(more_zeros));
}

// A shot is mostly long runs of one colour: words moved about, or changes
// that leave the plain sum of a lane as it was, must show too.
TEST(HeldGrab, DigestSeesWhereWordsStand) {
    std::vector<std::uint8_t> bytes(4096, 0x20);
    for (std::size_t at = 0; at < bytes.size(); at += 97)
        bytes[at] = std::uint8_t(at);
    bytes[66] = 0x41; // two words of one lane that differ, to swap
    bytes[131] = 0x42;
    const std::uint64_t whole = digest(bytes);

    std::vector<std::uint8_t> swapped = bytes;
    std::swap_ranges(swapped.begin() + 64, swapped.begin() + 72, swapped.begin() + 128); // same lane
    ASSERT_NE(swapped, bytes);
    EXPECT_NE(digest(swapped), whole);

    std::vector<std::uint8_t> balanced = bytes; // +1 in one word, -1 in a later one of its lane
    balanced[256] += 1;
    balanced[256 + 64 * 5] -= 1;
    EXPECT_NE(digest(balanced), whole);

    std::vector<std::uint8_t> across = bytes; // +1 in one lane, -1 in the next
    across[512] += 1;
    across[520] -= 1;
    EXPECT_NE(digest(across), whole);
}

TEST(HeldGrab, DigestInPiecesIsTheDigestOfTheWhole) {
    const std::vector<std::uint8_t> bytes = rows(1000);
    const vorn::ByteView all(bytes);
    for (std::size_t piece : {std::size_t(1), std::size_t(7), std::size_t(54), std::size_t(64),
                              std::size_t(100), std::size_t(999)}) {
        Digest pieces;
        for (std::size_t at = 0; at < all.size(); at += piece)
            pieces.add(all.subspan(at, std::min(piece, all.size() - at)));
        EXPECT_EQ(pieces.value(), digest(all)) << "pieces of " << piece;
    }
    Digest headers_then_rows; // as a grab digests a shot
    headers_then_rows.add(all.first(54));
    headers_then_rows.add({});
    headers_then_rows.add(all.subspan(54));
    EXPECT_EQ(headers_then_rows.value(), digest(all));
}
