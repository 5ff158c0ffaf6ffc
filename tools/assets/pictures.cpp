// The PNG pictures of the capture, zoom and finish buttons, and the small
// bitmaps of the enlarged view's two buttons.
#include "tools/assets/assets.h"
#include "tools/assets/canvas.h"
#include "tools/assets/encode.h"
#include "tools/assets/palette.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace vorn::assets {

namespace {

using namespace palette;

constexpr int kSize = 32;
constexpr int kSmallSize = 16;

// An L-shaped selection mark whose outer corner is `at`; its arms run
// `length` pixels towards (dx, dy), each of them -1 or 1.
Shape corner_mark(Point at, int dx, int dy, double length, double width) {
    auto span = [](double from, double by) {
        return std::pair{std::min(from, from + by), std::max(from, from + by)};
    };
    const auto [hx0, hx1] = span(at.x, dx * length);
    const auto [hy0, hy1] = span(at.y, dy * width);
    const auto [vx0, vx1] = span(at.x, dx * width);
    const auto [vy0, vy1] = span(at.y, dy * length);
    return rect(hx0, hy0, hx1, hy1) | rect(vx0, vy0, vx1, vy1);
}

// Marks on all four corners of the box from (left, top) to (right, bottom).
Shape corner_marks(double left, double top, double right, double bottom, double length, double width) {
    return corner_mark({left, top}, 1, 1, length, width) | corner_mark({right, top}, -1, 1, length, width) |
           corner_mark({left, bottom}, 1, -1, length, width) |
           corner_mark({right, bottom}, -1, -1, length, width);
}

// A magnifying glass with a "+" on its lens.
Canvas zoom_picture(double scale) {
    Canvas c(kSize, kSize, scale);
    const Point centre{13, 13};
    c.fill(line({20.5, 20.5}, {28, 28}, 5.5), kInk);
    c.fill(line({22.5, 22.5}, {27.5, 27.5}, 2.5), kSteel);
    c.draw(circle(centre, 10), kPale, kInk, 2.5);
    c.fill(rect(8, 12, 18, 14) | rect(12, 8, 14, 18), kBlue);
    return c;
}

// A window with its title bar, framed by selection marks.
Canvas capture_window_picture(double scale) {
    Canvas c(kSize, kSize, scale);
    c.draw(rect(6, 8, 26, 25), kWhite, kInk, 1);
    c.fill(rect(7, 9, 25, 12), kBlue);
    c.fill(rect(22, 10, 24, 11), kWhite);
    c.fill(rect(9, 15, 19, 16) | rect(9, 18, 22, 19) | rect(9, 21, 16, 22), kSky);
    c.fill(corner_marks(2, 4, 30, 29, 7, 2), kRed);
    return c;
}

// A monitor on its stand, its whole screen marked for capture.
Canvas capture_full_screen_picture(double scale) {
    Canvas c(kSize, kSize, scale);
    c.fill(rect(14, 23, 18, 28), kSteel);
    c.fill(rect(9, 27, 23, 30, 1), kInk);
    c.fill(rect(2, 4, 30, 24, 2), kInk);
    c.fill(rect(4, 6, 28, 22), kSky);
    c.fill(rect(4, 15, 28, 22), kBlue);
    c.fill(corner_marks(5, 7, 27, 21, 5, 2), kWhite);
    return c;
}

// A dashed selection rectangle with crop marks on its corners.
Canvas capture_region_picture(double scale) {
    Canvas c(kSize, kSize, scale);
    const double left = 3, top = 5, right = 29, bottom = 27;
    c.fill(rect(left, top, right, bottom), Colour{kSky.r, kSky.g, kSky.b, 140});
    for (double x = left; x < right; x += 4)
        c.fill(rect(x, top, x + 2, top + 1) | rect(x, bottom - 1, x + 2, bottom), kInk);
    for (double y = top; y < bottom; y += 4)
        c.fill(rect(left, y, left + 1, y + 2) | rect(right - 1, y, right, y + 2), kInk);
    c.fill(corner_marks(left - 1, top - 1, right + 1, bottom + 1, 8, 3), kRed);
    return c;
}

// A bold green tick.
Canvas finish_edit_picture(double scale) {
    Canvas c(kSize, kSize, scale);
    c.draw(polyline({{5, 17}, {12.5, 24.5}, {27, 8}}, 6), kGreen, kDarkGreen, 1);
    return c;
}

// A light button face with a dark sign on it; the view around it is dark.
Canvas small_button(const Shape& sign, double scale) {
    Canvas c(kSmallSize, kSmallSize, scale);
    c.draw(rect(0, 0, kSmallSize, kSmallSize), kPale, kSteel, 1);
    c.fill(sign, kDeepBlue);
    return c;
}

Canvas drawing(Png which, double scale) {
    switch (which) {
    case Png::zoom:
        return zoom_picture(scale);
    case Png::capture_window:
        return capture_window_picture(scale);
    case Png::capture_full_screen:
        return capture_full_screen_picture(scale);
    case Png::capture_region:
        return capture_region_picture(scale);
    case Png::finish_edit:
        return finish_edit_picture(scale);
    }
    throw std::invalid_argument("unknown PNG picture");
}

Canvas drawing(SmallBitmap which, double scale) {
    const Shape minus = rect(3, 7, 13, 9);
    switch (which) {
    case SmallBitmap::enlarge:
        return small_button(minus | rect(7, 3, 9, 13), scale);
    case SmallBitmap::shrink:
        return small_button(minus, scale);
    }
    throw std::invalid_argument("unknown small bitmap");
}

} // namespace

Bytes png(Png which) {
    return png_file(drawing(which, 1));
}

Bytes small_bitmap(SmallBitmap which) {
    return palette_bitmap_file(drawing(which, 1));
}

Bytes scaled_picture(Png which, int percent) {
    return png_file(drawing(which, percent / 100.0));
}

Bytes scaled_picture(SmallBitmap which, int percent) {
    return png_file(drawing(which, percent / 100.0));
}

} // namespace vorn::assets
