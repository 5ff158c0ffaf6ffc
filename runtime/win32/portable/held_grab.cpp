#include "runtime/win32/portable/held_grab.h"

#include <algorithm>
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

// Eight lanes of sums and sums of sums (which see where a word stands, not
// only what it is), mixed at the end: plain additions the compiler turns into
// vector code, so that memory speed bounds it. A whole shot is digested twice
// per capture.
void Digest::add_block(const std::uint8_t* block) {
    std::uint64_t words[kLanes];
    std::memcpy(words, block, sizeof words);
    for (std::size_t lane = 0; lane < kLanes; ++lane) {
        sums_[lane] += words[lane];
        sums_of_sums_[lane] += sums_[lane];
    }
}

void Digest::add(ByteView bytes) {
    if (bytes.empty())
        return; // an empty view may have no data pointer at all
    length_ += bytes.size();
    std::size_t at = 0;
    if (carried_size_ > 0) {
        at = std::min(kBlock - carried_size_, bytes.size());
        std::memcpy(carried_ + carried_size_, bytes.data(), at);
        carried_size_ += at;
        if (carried_size_ < kBlock)
            return;
        add_block(carried_);
        carried_size_ = 0;
    }
    for (; at + kBlock <= bytes.size(); at += kBlock)
        add_block(bytes.data() + at);
    carried_size_ = bytes.size() - at;
    if (carried_size_ > 0)
        std::memcpy(carried_, bytes.data() + at, carried_size_);
}

std::uint64_t Digest::value() const {
    std::uint64_t state = 0;
    for (std::size_t lane = 0; lane < kLanes; ++lane)
        state = mix(mix(state, sums_[lane]), sums_of_sums_[lane]);
    for (std::size_t at = 0; at < carried_size_; ++at)
        state = mix(state, carried_[at]);
    return mix(state, length_);
}

std::uint64_t digest(ByteView bytes) {
    Digest whole;
    whole.add(bytes);
    return whole.value();
}

std::optional<std::uint64_t> HeldGrab::hold(std::uint64_t bitmap, ByteView rows) {
    return hold(bitmap, rows, digest(rows));
}

std::optional<std::uint64_t> HeldGrab::hold(std::uint64_t bitmap, ByteView rows, std::uint64_t rows_digest) {
    std::optional<std::uint64_t> before = release();
    bitmap_ = bitmap;
    data_ = rows.data();
    size_ = rows.size();
    digest_ = rows_digest;
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
