// The device bitmap a screen grab was read from, kept for the moment in
// which the program is likely to ask for a bitmap of the very same rows: a
// capture hands its shot to the clipboard at once, and handing over the
// grabbed bitmap spares making one again from the rows (at large screen
// sizes, the slowest step the system's own clipboard copy does not need).
// It matches only the same bytes at the same place, unchanged.
#pragma once

#include "base/bytes.h"

#include <cstdint>
#include <optional>

namespace vorn::win32 {

class HeldGrab {
  public:
    // Holds `bitmap`, whose content `rows` hold now. Returns the bitmap held
    // before, which the caller deletes.
    std::optional<std::uint64_t> hold(std::uint64_t bitmap, ByteView rows);
    // The same, for a caller that has taken the rows' digest as it wrote
    // them (while they were still in the cache).
    std::optional<std::uint64_t> hold(std::uint64_t bitmap, ByteView rows, std::uint64_t rows_digest);
    // The held bitmap if `rows` are the rows it was held with, unchanged;
    // the caller owns it from then on.
    std::optional<std::uint64_t> take_if_same(ByteView rows);
    // Lets go of the held bitmap, returning it for the caller to delete.
    std::optional<std::uint64_t> release();

  private:
    std::optional<std::uint64_t> bitmap_;
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::uint64_t digest_ = 0;
};

// A fast 64-bit digest of every byte, for telling whether rows changed.
std::uint64_t digest(ByteView bytes);

// The digest of bytes given in pieces of any size: the digest() of them all.
class Digest {
  public:
    void add(ByteView bytes);
    std::uint64_t value() const;

  private:
    static constexpr std::size_t kLanes = 8;
    static constexpr std::size_t kBlock = 8 * kLanes;
    void add_block(const std::uint8_t* block);

    std::uint64_t sums_[kLanes] = {1, 2, 3, 4, 5, 6, 7, 8};
    std::uint64_t sums_of_sums_[kLanes] = {};
    std::uint8_t carried_[kBlock] = {};
    std::size_t carried_size_ = 0;
    std::uint64_t length_ = 0;
};

} // namespace vorn::win32
