// What both canvas benchmarks share: a picture that does not compress to
// nothing, and the median of repeated timings.
#pragma once

#include "runtime/core/picture/bitmap.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

namespace vorn::bench {

inline picture::Image noise(std::int32_t width, std::int32_t height) {
    picture::Image image(width, height);
    std::uint32_t state = 2463534242u;
    for (picture::Pixel& pixel : image.pixels) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        pixel = state & 0x00FFFFFF;
    }
    return image;
}

// Milliseconds per call of `work`, the median of `runs`.
template <typename Work> double median_ms(int runs, Work&& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace vorn::bench
