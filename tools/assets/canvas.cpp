#include "tools/assets/canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace vorn::assets {

namespace {

double length(double x, double y) {
    return std::sqrt(x * x + y * y);
}

// Distance from `p` to the box of half size (hx, hy) centred on the origin.
double box_distance(double px, double py, double hx, double hy) {
    const double qx = std::abs(px) - hx;
    const double qy = std::abs(py) - hy;
    return length(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0);
}

} // namespace

Shape rect(double left, double top, double right, double bottom, double radius) {
    const double cx = (left + right) / 2, cy = (top + bottom) / 2;
    const double hx = (right - left) / 2, hy = (bottom - top) / 2;
    radius = std::min({radius, hx, hy});
    return Shape(
        [=](Point p) { return box_distance(p.x - cx, p.y - cy, hx - radius, hy - radius) - radius; });
}

Shape circle(Point centre, double radius) {
    return Shape([=](Point p) { return length(p.x - centre.x, p.y - centre.y) - radius; });
}

Shape line(Point from, Point to, double width) {
    const double ex = to.x - from.x, ey = to.y - from.y;
    const double squared = ex * ex + ey * ey;
    return Shape([=](Point p) {
        const double wx = p.x - from.x, wy = p.y - from.y;
        const double t = squared > 0 ? std::clamp((wx * ex + wy * ey) / squared, 0.0, 1.0) : 0.0;
        return length(wx - t * ex, wy - t * ey) - width / 2;
    });
}

Shape bar(Point from, Point to, double width) {
    const double len = length(to.x - from.x, to.y - from.y);
    const double ux = len > 0 ? (to.x - from.x) / len : 1.0, uy = len > 0 ? (to.y - from.y) / len : 0.0;
    const double mx = (from.x + to.x) / 2, my = (from.y + to.y) / 2;
    return Shape([=](Point p) {
        const double dx = p.x - mx, dy = p.y - my;
        return box_distance(dx * ux + dy * uy, -dx * uy + dy * ux, len / 2, width / 2);
    });
}

Shape polyline(const std::vector<Point>& points, double width) {
    Shape result = line(points.at(0), points.at(0), width);
    for (std::size_t i = 1; i < points.size(); ++i)
        result = result | line(points[i - 1], points[i], width);
    return result;
}

Shape polygon(std::vector<Point> corners) {
    return Shape([v = std::move(corners)](Point p) {
        double squared = (p.x - v[0].x) * (p.x - v[0].x) + (p.y - v[0].y) * (p.y - v[0].y);
        double sign = 1;
        for (std::size_t i = 0, j = v.size() - 1; i < v.size(); j = i++) {
            const double ex = v[j].x - v[i].x, ey = v[j].y - v[i].y;
            const double wx = p.x - v[i].x, wy = p.y - v[i].y;
            const double t = std::clamp((wx * ex + wy * ey) / (ex * ex + ey * ey), 0.0, 1.0);
            const double bx = wx - ex * t, by = wy - ey * t;
            squared = std::min(squared, bx * bx + by * by);
            // Counts the crossings of a ray to the right; an odd count is inside.
            const bool above = p.y >= v[i].y, below = p.y<v[j].y, left = ex * wy> ey * wx;
            if ((above && below && left) || (!above && !below && !left))
                sign = -sign;
        }
        return sign * std::sqrt(squared);
    });
}

Shape operator|(Shape a, Shape b) {
    return Shape(
        [a = std::move(a), b = std::move(b)](Point p) { return std::min(a.distance(p), b.distance(p)); });
}

Shape operator&(Shape a, Shape b) {
    return Shape(
        [a = std::move(a), b = std::move(b)](Point p) { return std::max(a.distance(p), b.distance(p)); });
}

Shape operator-(Shape a, Shape b) {
    return Shape(
        [a = std::move(a), b = std::move(b)](Point p) { return std::max(a.distance(p), -b.distance(p)); });
}

Shape inset(Shape shape, double by) {
    return Shape([shape = std::move(shape), by](Point p) { return shape.distance(p) + by; });
}

Shape outline(Shape shape, double width) {
    Shape inner = inset(shape, width);
    return std::move(shape) - std::move(inner);
}

Shape rotated(Shape shape, Point centre, double degrees) {
    // The point is turned back by the angle, which turns the shape forward.
    const double radians = degrees * std::numbers::pi / 180;
    const double c = std::cos(radians), s = std::sin(radians);
    return Shape([shape = std::move(shape), centre, c, s](Point p) {
        const double dx = p.x - centre.x, dy = p.y - centre.y;
        return shape.distance({centre.x + dx * c + dy * s, centre.y - dx * s + dy * c});
    });
}

Canvas::Canvas(int width, int height, double scale)
    : width_(int(std::lround(width * scale))), height_(int(std::lround(height * scale))), scale_(scale),
      pixels_(std::size_t(width_) * std::size_t(height_)) {}

void Canvas::fill(const Shape& shape, Colour colour) {
    constexpr int kSamples = 8;
    constexpr double kHalfDiagonal = 0.7072;
    const double alpha = colour.a / 255.0;
    // The shape's distance in pixels from a point in pixels, so that the
    // antialiasing band stays a pixel wide at any scale.
    auto distance = [&](double px, double py) { return shape.distance({px / scale_, py / scale_}) * scale_; };
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const double centre = distance(x + 0.5, y + 0.5);
            double coverage = 0;
            if (centre < -kHalfDiagonal) {
                coverage = 1;
            } else if (centre <= kHalfDiagonal) {
                int inside = 0;
                for (int sy = 0; sy < kSamples; ++sy)
                    for (int sx = 0; sx < kSamples; ++sx)
                        if (distance(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples) < 0)
                            ++inside;
                coverage = double(inside) / (kSamples * kSamples);
            }
            if (coverage == 0)
                continue;
            const double a = alpha * coverage;
            Premultiplied& p = pixels_[std::size_t(y) * std::size_t(width_) + std::size_t(x)];
            p.r = colour.r * a + p.r * (1 - a);
            p.g = colour.g * a + p.g * (1 - a);
            p.b = colour.b * a + p.b * (1 - a);
            p.a = a + p.a * (1 - a);
        }
    }
}

void Canvas::draw(const Shape& shape, Colour body, Colour edge, double edge_width) {
    fill(shape, edge);
    fill(inset(shape, edge_width), body);
}

Colour Canvas::at(int x, int y) const {
    const Premultiplied& p = pixels_[std::size_t(y) * std::size_t(width_) + std::size_t(x)];
    auto channel = [](double v) { return std::uint8_t(std::clamp(std::lround(v), 0L, 255L)); };
    const std::uint8_t alpha = channel(p.a * 255);
    // Fully transparent pixels carry no colour, so that files stay tidy.
    if (alpha == 0)
        return {0, 0, 0, 0};
    return {channel(p.r / p.a), channel(p.g / p.a), channel(p.b / p.a), alpha};
}

} // namespace vorn::assets
