#include "runtime/core/engine/canvas.h"

#include "forms/properties.h"

#include <algorithm>
#include <limits>

namespace vorn::runtime {

std::uint32_t ink_colour(std::uint32_t colour) {
    return colour == forms::kDefaultColour ? 0x00000000 : colour & 0x00FFFFFF;
}

std::uint32_t paper_colour(std::uint32_t colour) {
    return colour == forms::kDefaultColour ? 0x00FFFFFF : colour & 0x00FFFFFF;
}

std::optional<ClippedCopy> clip_copy(CopyRect area, std::int32_t source_width, std::int32_t source_height,
                                     std::int32_t left, std::int32_t top, std::int32_t target_width,
                                     std::int32_t target_height) {
    if (area.width <= 0 || area.height <= 0)
        return std::nullopt;
    // 64-bit edges: the program's numbers may be anywhere in 32 bits.
    std::int64_t sx = area.left, sy = area.top, dx = left, dy = top;
    std::int64_t width = area.width, height = area.height;
    auto cut_front = [](std::int64_t& s, std::int64_t& d, std::int64_t& size) {
        const std::int64_t skip = std::max<std::int64_t>({0, -s, -d});
        s += skip;
        d += skip;
        size -= skip;
    };
    cut_front(sx, dx, width);
    cut_front(sy, dy, height);
    width = std::min({width, std::int64_t(source_width) - sx, std::int64_t(target_width) - dx});
    height = std::min({height, std::int64_t(source_height) - sy, std::int64_t(target_height) - dy});
    if (width <= 0 || height <= 0)
        return std::nullopt;
    return ClippedCopy{{std::int32_t(sx), std::int32_t(sy), std::int32_t(width), std::int32_t(height)},
                       std::int32_t(dx),
                       std::int32_t(dy)};
}

CopyRect draw_bounds(const DrawOp& op, std::int32_t text_width, std::int32_t text_height) {
    if (op.coords.size() < 2)
        return {};
    std::int64_t x1 = std::numeric_limits<std::int32_t>::max(), y1 = x1;
    std::int64_t x2 = std::numeric_limits<std::int32_t>::min(), y2 = x2;
    for (std::size_t i = 0; i + 1 < op.coords.size(); i += 2) {
        x1 = std::min<std::int64_t>(x1, op.coords[i]);
        x2 = std::max<std::int64_t>(x2, op.coords[i]);
        y1 = std::min<std::int64_t>(y1, op.coords[i + 1]);
        y2 = std::max<std::int64_t>(y2, op.coords[i + 1]);
    }
    if (op.kind == DrawKind::text) {
        x2 = x1 + std::max(text_width, 0);
        y2 = y1 + std::max(text_height, 0);
    }
    // A wide pen is centred on the outline; one more pixel for rounding.
    const std::int64_t margin = std::max(op.state.pen_width, 1) / 2 + 2;
    // Edges kept within half the 32-bit range, so the size between them fits.
    auto clamp = [](std::int64_t v) {
        return std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min() / 2,
                                        std::numeric_limits<std::int32_t>::max() / 2);
    };
    const std::int64_t left = clamp(x1 - margin), top = clamp(y1 - margin);
    const std::int64_t right = clamp(x2 + margin), bottom = clamp(y2 + margin);
    return {std::int32_t(left), std::int32_t(top), std::int32_t(right - left), std::int32_t(bottom - top)};
}

CopyRect union_within(const CopyRect& a, const CopyRect& b, std::int32_t width, std::int32_t height) {
    auto clipped = [&](const CopyRect& r) -> std::optional<CopyRect> {
        const std::int64_t left = std::max<std::int64_t>(r.left, 0);
        const std::int64_t top = std::max<std::int64_t>(r.top, 0);
        const std::int64_t right = std::min<std::int64_t>(std::int64_t(r.left) + r.width, width);
        const std::int64_t bottom = std::min<std::int64_t>(std::int64_t(r.top) + r.height, height);
        if (r.width <= 0 || r.height <= 0 || right <= left || bottom <= top)
            return std::nullopt;
        return CopyRect{std::int32_t(left), std::int32_t(top), std::int32_t(right - left),
                        std::int32_t(bottom - top)};
    };
    const std::optional<CopyRect> first = clipped(a), second = clipped(b);
    if (!first || !second)
        return first ? *first : second ? *second : CopyRect{};
    const std::int32_t left = std::min(first->left, second->left);
    const std::int32_t top = std::min(first->top, second->top);
    const std::int32_t right = std::max(first->left + first->width, second->left + second->width);
    const std::int32_t bottom = std::max(first->top + first->height, second->top + second->height);
    return {left, top, right - left, bottom - top};
}

ProgramBlock picture_of_rows(const picture::Pixel* rows, std::size_t row_pixels, std::int32_t width,
                             std::int32_t height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    ProgramBlock file = ProgramBlock::sized(picture::bmp_file_size_24(width, height));
    if (!file.bytes().empty())
        picture::write_bmp_rows(file.bytes(), rows, row_pixels, width, height);
    return file;
}

ProgramBlock picture_of_rows(const picture::Rows24& rows, std::int32_t width, std::int32_t height) {
    width = std::clamp(width, 0, std::max(rows.width, 0));
    height = std::clamp(height, 0, std::max(rows.height, 0));
    ProgramBlock file = ProgramBlock::sized(picture::bmp_file_size_24(width, height));
    if (!file.bytes().empty())
        picture::write_bmp_rows(file.bytes(), rows, width, height);
    return file;
}

} // namespace vorn::runtime
