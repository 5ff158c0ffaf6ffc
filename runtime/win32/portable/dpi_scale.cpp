#include "runtime/win32/portable/dpi_scale.h"

#include "runtime/core/contract/scaled_pictures.h"

#include <algorithm>
#include <limits>

namespace vorn::win32 {

namespace {

constexpr std::int64_t kLow = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kHigh = std::numeric_limits<std::int32_t>::max();

std::int32_t scaled(std::int64_t value, std::uint32_t multiplier, std::uint32_t divisor) {
    if (multiplier == 0)
        multiplier = kUnitDpi;
    if (divisor == 0)
        divisor = kUnitDpi;
    // Both factors are at most 32 bits and the value is clamped to 32 bits
    // first, so the product fits in 64.
    value = std::clamp(value, kLow, kHigh);
    const std::int64_t magnitude = (value < 0 ? -value : value) * std::int64_t(multiplier);
    const std::int64_t rounded = (magnitude + std::int64_t(divisor) / 2) / std::int64_t(divisor);
    return std::int32_t(std::clamp(value < 0 ? -rounded : rounded, kLow, kHigh));
}

std::int32_t add(std::int32_t a, std::int32_t b) {
    return std::int32_t(std::clamp(std::int64_t(a) + b, kLow, kHigh));
}

// The outer size less the frame it has, converted, plus the frame it gets.
template <class Convert> OuterSize reframed(OuterSize outer, FrameSize has, FrameSize gets, Convert convert) {
    const std::int64_t client_width = std::max<std::int64_t>(std::int64_t(outer.width) - has.width, 0);
    const std::int64_t client_height = std::max<std::int64_t>(std::int64_t(outer.height) - has.height, 0);
    return {add(convert(client_width), gets.width), add(convert(client_height), gets.height)};
}

} // namespace

std::int32_t to_pixels(std::int64_t units, std::uint32_t dpi) {
    return scaled(units, dpi, kUnitDpi);
}

std::int32_t to_units(std::int64_t pixels, std::uint32_t dpi) {
    return scaled(pixels, kUnitDpi, dpi);
}

GeometryRect rect_to_pixels(const GeometryRect& units, std::uint32_t dpi) {
    return {to_pixels(units.left, dpi), to_pixels(units.top, dpi), to_pixels(units.width, dpi),
            to_pixels(units.height, dpi)};
}

GeometryRect rect_to_units(const GeometryRect& pixels, std::uint32_t dpi) {
    return {to_units(pixels.left, dpi), to_units(pixels.top, dpi), to_units(pixels.width, dpi),
            to_units(pixels.height, dpi)};
}

Span span_to_pixels(std::int32_t start, std::int32_t length, std::int32_t total_units,
                    std::int32_t total_pixels, std::uint32_t dpi) {
    const std::int32_t first = to_pixels(start, dpi);
    if (length > 0 && std::int64_t(start) + length == total_units)
        return {first, total_pixels - first};
    return {first, to_pixels(length, dpi)};
}

std::int32_t side_matching_picture(std::int32_t units, std::int32_t picture_pixels, std::uint32_t dpi,
                                   bool also_pixels) {
    if (picture_pixels > 0 &&
        (units == to_units(picture_pixels, dpi) || (also_pixels && units == picture_pixels)))
        return picture_pixels;
    return to_pixels(units, dpi);
}

OuterSize outer_to_pixels(OuterSize stored, FrameSize frame_at_96, FrameSize frame_here, std::uint32_t dpi) {
    return reframed(stored, frame_at_96, frame_here,
                    [dpi](std::int64_t value) { return to_pixels(value, dpi); });
}

OuterSize outer_to_units(OuterSize pixels, FrameSize frame_at_96, FrameSize frame_here, std::uint32_t dpi) {
    return reframed(pixels, frame_here, frame_at_96,
                    [dpi](std::int64_t value) { return to_units(value, dpi); });
}

std::uint32_t picture_scale_for(std::uint32_t dpi) {
    if (dpi <= kUnitDpi)
        return 0;
    // In percent, rounded up: 120 dpi asks for 125 %.
    const std::uint64_t wanted = (std::uint64_t(dpi) * 100 + kUnitDpi - 1) / kUnitDpi;
    for (const std::uint32_t scale : contract::kPictureScales)
        if (scale >= wanted)
            return scale;
    return contract::kPictureScales.back();
}

} // namespace vorn::win32
