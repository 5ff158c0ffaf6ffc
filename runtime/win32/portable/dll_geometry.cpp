#include "runtime/win32/portable/dll_geometry.h"

#include "base/bytes.h"
#include "runtime/win32/portable/dpi_scale.h"

namespace vorn::win32 {

namespace {

// The function's out argument.
constexpr std::size_t kOutArgument = 1;
// Where a WINDOWPLACEMENT keeps its points and its restored rectangle, after
// its length, flags and show command.
constexpr std::size_t kMinimisedPoint = 12;
constexpr std::size_t kMaximisedPoint = 20;
constexpr std::size_t kRestoredRect = 28;
static_assert(kRestoredRect + kRectBytes == kPlacementBytes);

std::int32_t load_i32(const std::uint8_t* at) {
    return std::int32_t(load_u32(at));
}

void store_i32(std::uint8_t* at, std::int32_t value) {
    store_u32(at, std::uint32_t(value));
}

void point_to_units(std::uint8_t* at, std::uint32_t dpi) {
    store_i32(at, to_units(load_i32(at), dpi));
    store_i32(at + 4, to_units(load_i32(at + 4), dpi));
}

// Right and bottom follow from the place and the size, each converted.
void rect_to_units(std::uint8_t* at, std::uint32_t dpi) {
    const std::int64_t left = load_i32(at), top = load_i32(at + 4);
    const std::int64_t right = load_i32(at + 8), bottom = load_i32(at + 12);
    const GeometryRect units = win32::rect_to_units(
        {std::int32_t(left), std::int32_t(top), std::int32_t(right - left), std::int32_t(bottom - top)}, dpi);
    store_i32(at, units.left);
    store_i32(at + 4, units.top);
    store_i32(at + 8, std::int32_t(std::int64_t(units.left) + units.width));
    store_i32(at + 12, std::int32_t(std::int64_t(units.top) + units.height));
}

std::size_t bytes_written(contract::DllGeometry geometry) {
    switch (geometry) {
    case contract::DllGeometry::rect:
        return kRectBytes;
    case contract::DllGeometry::placement:
        return kPlacementBytes;
    case contract::DllGeometry::none:
        break;
    }
    return 0;
}

} // namespace

std::optional<GeometryOut> geometry_out(const contract::DllFunction& function,
                                        std::span<const std::uint64_t> args) {
    const std::size_t size = bytes_written(function.geometry);
    if (size == 0 || args.size() <= kOutArgument || args[kOutArgument] == 0)
        return std::nullopt;
    return GeometryOut{args[kOutArgument], size};
}

bool geometry_to_units(const contract::DllFunction& function, std::span<std::uint8_t> bytes,
                       std::uint32_t dpi) {
    const std::size_t size = bytes_written(function.geometry);
    if (size == 0 || bytes.size() < size)
        return false;
    if (function.geometry == contract::DllGeometry::rect) {
        rect_to_units(bytes.data(), dpi);
    } else {
        point_to_units(bytes.data() + kMinimisedPoint, dpi);
        point_to_units(bytes.data() + kMaximisedPoint, dpi);
        rect_to_units(bytes.data() + kRestoredRect, dpi);
    }
    return true;
}

} // namespace vorn::win32
