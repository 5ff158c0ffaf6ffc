// A small vector drawing kit for the program's pictures. Shapes are signed
// distance functions (negative inside, in pixels; (0, 0) is the top-left
// corner of the picture and pixel (i, j) covers [i, i + 1) x [j, j + 1)), so
// that outlines, insets and anti-aliased edges all come from one description.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace vorn::assets {

struct Point {
    double x = 0;
    double y = 0;
};

class Shape {
  public:
    using Distance = std::function<double(Point)>;
    explicit Shape(Distance distance) : distance_(std::move(distance)) {}
    // Changes by at most the distance moved (every constructor and combination
    // below keeps that), so a pixel whose centre is further than half its
    // diagonal from the edge lies wholly on one side; the rasteriser relies
    // on it to skip sampling such pixels.
    double distance(Point p) const { return distance_(p); }

  private:
    Distance distance_;
};

// Axis-aligned rectangle with optionally rounded corners.
Shape rect(double left, double top, double right, double bottom, double radius = 0);
Shape circle(Point centre, double radius);
// A stroke of the given width from `from` to `to`, with round ends.
Shape line(Point from, Point to, double width);
// A stroke with square-cut ends exactly at `from` and `to`.
Shape bar(Point from, Point to, double width);
Shape polyline(const std::vector<Point>& points, double width);
// Any simple polygon, corners in either order.
Shape polygon(std::vector<Point> corners);

Shape operator|(Shape a, Shape b); // union
Shape operator&(Shape a, Shape b); // intersection
Shape operator-(Shape a, Shape b); // difference
// The shape shrunk by `by` pixels all round (grown when negative).
Shape inset(Shape shape, double by);
// The band of `width` pixels just inside the shape's edge.
Shape outline(Shape shape, double width);
Shape rotated(Shape shape, Point centre, double degrees);

struct Colour {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 255;
    bool operator==(const Colour&) const = default;
};

// A picture being drawn, transparent to begin with. Shapes are described in
// the picture's own units; `scale` draws them at that many pixels a unit
// (the same picture for a screen of higher DPI), the picture being
// `width` x `height` units.
class Canvas {
  public:
    Canvas(int width, int height, double scale = 1);

    int width() const { return width_; }
    int height() const { return height_; }

    // Paints `shape` over what is there; a pixel counts the share of its 8 x 8
    // sample points that lie inside, which gives anti-aliased edges while
    // shapes laid on whole pixels stay sharp.
    void fill(const Shape& shape, Colour colour);
    // The shape filled, with an edge of `edge_width` pixels inside its outline.
    void draw(const Shape& shape, Colour body, Colour edge, double edge_width);

    // Straight (not premultiplied) colour of a pixel.
    Colour at(int x, int y) const;

  private:
    struct Premultiplied {
        double r = 0, g = 0, b = 0, a = 0;
    };
    int width_;
    int height_;
    double scale_;
    std::vector<Premultiplied> pixels_;
};

} // namespace vorn::assets
