#include "runtime/sim/shapes.h"

#include "runtime/core/engine/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace vorn::sim {

using runtime::DrawKind;
using runtime::DrawOp;

namespace {

enum Cover : std::uint8_t { kNone = 0, kBrush = 1, kPen = 2 };

// What a shape covers, over the part of the canvas it can touch.
class Mask {
  public:
    Mask(const picture::Image& pixels, runtime::CopyRect bounds) {
        left_ = std::max(bounds.left, 0);
        top_ = std::max(bounds.top, 0);
        right_ = std::min<std::int64_t>(std::int64_t(bounds.left) + bounds.width, pixels.width);
        bottom_ = std::min<std::int64_t>(std::int64_t(bounds.top) + bounds.height, pixels.height);
        if (right_ > left_ && bottom_ > top_)
            cells_.assign(std::size_t(right_ - left_) * std::size_t(bottom_ - top_), kNone);
    }
    bool empty() const { return cells_.empty(); }
    std::int32_t left() const { return left_; }
    std::int32_t top() const { return top_; }
    std::int32_t right() const { return std::int32_t(right_); }
    std::int32_t bottom() const { return std::int32_t(bottom_); }

    void mark(std::int64_t x, std::int64_t y, Cover cover) {
        if (x < left_ || x >= right_ || y < top_ || y >= bottom_)
            return;
        std::uint8_t& cell =
            cells_[std::size_t(y - top_) * std::size_t(right_ - left_) + std::size_t(x - left_)];
        cell = std::max<std::uint8_t>(cell, cover);
    }
    Cover at(std::int32_t x, std::int32_t y) const {
        return Cover(cells_[std::size_t(y - top_) * std::size_t(right_ - left_) + std::size_t(x - left_)]);
    }

  private:
    std::int32_t left_ = 0;
    std::int32_t top_ = 0;
    std::int64_t right_ = 0;
    std::int64_t bottom_ = 0;
    std::vector<std::uint8_t> cells_;
};

struct Box {
    std::int32_t left, top, right, bottom; // right and bottom just outside, as GDI's
};

Box normalised(const std::vector<std::int32_t>& c) {
    return {std::min(c[0], c[2]), std::min(c[1], c[3]), std::max(c[0], c[2]), std::max(c[1], c[3])};
}

// A pen of width w is centred on the outline: (w - 1) / 2 pixels inside it
// and w / 2 outside.
std::int32_t inner_half(std::int32_t width) {
    return (width - 1) / 2;
}
std::int32_t outer_half(std::int32_t width) {
    return width / 2;
}

void mark_rectangle(Mask& mask, const Box& box, std::int32_t pen, bool filled) {
    const std::int64_t outer_left = std::int64_t(box.left) - outer_half(pen);
    const std::int64_t outer_top = std::int64_t(box.top) - outer_half(pen);
    const std::int64_t outer_right = std::int64_t(box.right) - 1 + inner_half(pen);
    const std::int64_t outer_bottom = std::int64_t(box.bottom) - 1 + inner_half(pen);
    const std::int64_t inner_left = std::int64_t(box.left) + inner_half(pen) + 1;
    const std::int64_t inner_top = std::int64_t(box.top) + inner_half(pen) + 1;
    const std::int64_t inner_right = std::int64_t(box.right) - 2 - outer_half(pen);
    const std::int64_t inner_bottom = std::int64_t(box.bottom) - 2 - outer_half(pen);
    for (std::int64_t y = std::max<std::int64_t>(outer_top, mask.top());
         y <= std::min<std::int64_t>(outer_bottom, mask.bottom() - 1); ++y)
        for (std::int64_t x = std::max<std::int64_t>(outer_left, mask.left());
             x <= std::min<std::int64_t>(outer_right, mask.right() - 1); ++x) {
            const bool inside = x >= inner_left && x <= inner_right && y >= inner_top && y <= inner_bottom;
            if (!inside)
                mask.mark(x, y, kPen);
            else if (filled)
                mask.mark(x, y, kBrush);
        }
}

void mark_ellipse(Mask& mask, const Box& box, std::int32_t pen, bool filled) {
    const double cx = (double(box.left) + box.right - 1) / 2, cy = (double(box.top) + box.bottom - 1) / 2;
    const double rx = (double(box.right) - box.left - 1) / 2, ry = (double(box.bottom) - box.top - 1) / 2;
    const double half = pen / 2.0;
    for (std::int32_t y = mask.top(); y < mask.bottom(); ++y)
        for (std::int32_t x = mask.left(); x < mask.right(); ++x) {
            const double dx = x - cx, dy = y - cy;
            if (rx < 0.5 || ry < 0.5) {
                // A flat ellipse is a line along its box.
                if (std::abs(dx) <= rx + half && std::abs(dy) <= ry + half)
                    mask.mark(x, y, kPen);
                continue;
            }
            // Distance to the outline, to first order: F / |grad F|.
            const double f = dx * dx / (rx * rx) + dy * dy / (ry * ry) - 1;
            const double gx = 2 * dx / (rx * rx), gy = 2 * dy / (ry * ry);
            const double gradient = std::sqrt(gx * gx + gy * gy);
            const double distance = gradient > 0 ? std::abs(f) / gradient : std::max(rx, ry);
            if (distance <= half)
                mask.mark(x, y, kPen);
            else if (filled && f < 0)
                mask.mark(x, y, kBrush);
        }
}

// A one-pixel line as GDI draws it: every pixel from the start up to, but
// not including, the end. A wider pen is a band with round ends.
void mark_line(Mask& mask, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
               std::int32_t pen, bool last_pixel) {
    // A line far longer than any canvas is sampled over the canvas instead
    // of being walked pixel by pixel.
    constexpr std::int64_t kLongestWalk = 1 << 16;
    const bool walkable = std::abs(std::int64_t(x2) - x1) + std::abs(std::int64_t(y2) - y1) <= kLongestWalk;
    if (pen <= 1 && walkable) {
        std::int64_t x = x1, y = y1;
        const std::int64_t dx = std::abs(std::int64_t(x2) - x1), dy = -std::abs(std::int64_t(y2) - y1);
        const std::int64_t sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
        std::int64_t error = dx + dy;
        // Bounded by the line's length, whatever the coordinates.
        for (std::int64_t steps = 0; steps <= dx - dy; ++steps) {
            if (x == x2 && y == y2) {
                if (last_pixel)
                    mask.mark(x, y, kPen);
                break;
            }
            mask.mark(x, y, kPen);
            const std::int64_t twice = 2 * error;
            if (twice >= dy) {
                error += dy;
                x += sx;
            }
            if (twice <= dx) {
                error += dx;
                y += sy;
            }
        }
        return;
    }
    const double half = pen / 2.0;
    const double vx = double(x2) - x1, vy = double(y2) - y1, length2 = vx * vx + vy * vy;
    for (std::int32_t y = mask.top(); y < mask.bottom(); ++y)
        for (std::int32_t x = mask.left(); x < mask.right(); ++x) {
            double t = length2 > 0 ? ((x - x1) * vx + (y - y1) * vy) / length2 : 0;
            t = std::clamp(t, 0.0, 1.0);
            const double ex = x - (x1 + t * vx), ey = y - (y1 + t * vy);
            if (ex * ex + ey * ey <= half * half)
                mask.mark(x, y, kPen);
        }
}

// Filled with GDI's default alternate rule, sampled at pixel centres; the
// outline joins each point to the next and the last to the first.
void mark_polygon(Mask& mask, const std::vector<std::int32_t>& c, std::int32_t pen, bool filled) {
    const std::size_t count = c.size() / 2;
    if (count == 0)
        return;
    if (filled)
        for (std::int32_t y = mask.top(); y < mask.bottom(); ++y)
            for (std::int32_t x = mask.left(); x < mask.right(); ++x) {
                bool inside = false;
                const double px = x + 0.5, py = y + 0.5;
                for (std::size_t i = 0, j = count - 1; i < count; j = i++) {
                    const double xi = c[2 * i], yi = c[2 * i + 1], xj = c[2 * j], yj = c[2 * j + 1];
                    if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi)
                        inside = !inside;
                }
                if (inside)
                    mask.mark(x, y, kBrush);
            }
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t j = (i + 1) % count;
        mark_line(mask, c[2 * i], c[2 * i + 1], c[2 * j], c[2 * j + 1], pen, true);
    }
}

} // namespace

void paint_shape(picture::Image& pixels, const DrawOp& op) {
    const std::vector<std::int32_t>& c = op.coords;
    if (op.kind == DrawKind::text || c.size() < (op.kind == DrawKind::polygon ? 2u : 4u))
        return;
    const runtime::DrawState& state = op.state;
    // A pen of width 0 draws one pixel wide, as GDI's.
    const std::int32_t pen = std::max(state.pen_width, 1);
    const bool filled = state.brush_type != 0;
    Mask mask(pixels, runtime::draw_bounds(op));
    if (mask.empty())
        return;
    switch (op.kind) {
    case DrawKind::rectangle:
        mark_rectangle(mask, normalised(c), pen, filled);
        break;
    case DrawKind::ellipse:
        mark_ellipse(mask, normalised(c), pen, filled);
        break;
    case DrawKind::line:
        mark_line(mask, c[0], c[1], c[2], c[3], pen, false);
        break;
    case DrawKind::polygon:
        mark_polygon(mask, c, pen, filled);
        break;
    case DrawKind::text:
        break;
    }
    const std::int32_t rop2 = runtime::rop2_for_draw_mode(state.draw_mode);
    const picture::Pixel ink = picture::from_colorref(runtime::ink_colour(state.pen_colour));
    const picture::Pixel paper = picture::from_colorref(runtime::paper_colour(state.brush_colour));
    for (std::int32_t y = mask.top(); y < mask.bottom(); ++y)
        for (std::int32_t x = mask.left(); x < mask.right(); ++x)
            if (const Cover cover = mask.at(x, y); cover != kNone)
                pixels.at(x, y) = runtime::apply_rop2(rop2, cover == kPen ? ink : paper, pixels.at(x, y));
}

} // namespace vorn::sim
