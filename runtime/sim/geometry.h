// Screen rectangles as Win32 keeps them: right and bottom lie just outside.
#pragma once

#include "runtime/core/engine/desktop.h"
#include "runtime/core/picture/bitmap.h"

#include <algorithm>

#include <cstdint>

namespace vorn::sim {

using runtime::Point;
using runtime::Size;

struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    static Rect sized(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) {
        return {left, top, left + width, top + height};
    }
    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
    bool contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    bool operator==(const Rect&) const = default;
};

// A picture size the program asked for, made safe to allocate: negative
// sizes become 0, and an absurd size is cut down rather than taking the test
// run's memory.
inline Size fit_picture(std::int32_t width, std::int32_t height) {
    width = std::clamp(width, 0, picture::kMaxDimension);
    height = std::clamp(height, 0, picture::kMaxDimension);
    if (width > 0 && std::uint64_t(width) * std::uint64_t(height) > picture::kMaxPixels)
        height = std::int32_t(picture::kMaxPixels / std::uint64_t(width));
    return {width, height};
}

} // namespace vorn::sim
