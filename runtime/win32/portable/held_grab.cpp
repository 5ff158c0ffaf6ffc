#include "runtime/win32/portable/held_grab.h"

#include <cstring>
#include <utility>

namespace vorn::win32 {

namespace {

constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;

std::uint64_t mix(std::uint64_t state, std::uint64_t word) {
    state ^= word;
    state *= kMultiplier;
    return state ^ (state >> 29);
}

} // namespace

std::uint64_t digest(ByteView bytes) {
    // Eight lanes of sums and sums of sums (which see where a word stands,
    // not only what it is), mixed at the end: plain additions the compiler
    // turns into vector code, so that memory speed bounds it. A whole shot
    // is digested twice per capture.
    constexpr std::size_t kLanes = 8;
    std::uint64_t sums[kLanes] = {1, 2, 3, 4, 5, 6, 7, 8};
    std::uint64_t sums_of_sums[kLanes] = {};
    std::size_t at = 0;
    for (; at + 8 * kLanes <= bytes.size(); at += 8 * kLanes) {
        std::uint64_t words[kLanes];
        std::memcpy(words, bytes.data() + at, sizeof words);
        for (std::size_t lane = 0; lane < kLanes; ++lane) {
            sums[lane] += words[lane];
            sums_of_sums[lane] += sums[lane];
        }
    }
    std::uint64_t state = 0;
    for (std::size_t lane = 0; lane < kLanes; ++lane)
        state = mix(mix(state, sums[lane]), sums_of_sums[lane]);
    for (; at < bytes.size(); ++at)
        state = mix(state, bytes[at]);
    return mix(state, bytes.size());
}

std::optional<std::uint64_t> HeldGrab::hold(std::uint64_t bitmap, ByteView rows) {
    std::optional<std::uint64_t> before = release();
    bitmap_ = bitmap;
    data_ = rows.data();
    size_ = rows.size();
    digest_ = digest(rows);
    return before;
}

std::optional<std::uint64_t> HeldGrab::take_if_same(ByteView rows) {
    if (!bitmap_ || rows.data() != data_ || rows.size() != size_ || digest(rows) != digest_)
        return std::nullopt;
    return release();
}

std::optional<std::uint64_t> HeldGrab::release() {
    std::optional<std::uint64_t> held = std::exchange(bitmap_, std::nullopt);
    data_ = nullptr;
    size_ = 0;
    return held;
}

} // namespace vorn::win32
