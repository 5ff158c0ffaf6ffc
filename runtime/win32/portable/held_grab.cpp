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
    // Four lanes keep the multiplications independent: memory speed, not
    // the multiplier's latency, bounds it.
    std::uint64_t lanes[4] = {1, 2, 3, 4};
    std::size_t at = 0;
    for (; at + 32 <= bytes.size(); at += 32)
        for (int lane = 0; lane < 4; ++lane) {
            std::uint64_t word;
            std::memcpy(&word, bytes.data() + at + 8 * lane, 8);
            lanes[lane] = mix(lanes[lane], word);
        }
    std::uint64_t state = mix(mix(lanes[0], lanes[1]), mix(lanes[2], lanes[3]));
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
