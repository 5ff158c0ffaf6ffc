// The 32 x 32 icons of the main window's buttons.
#include "tools/assets/assets.h"
#include "tools/assets/canvas.h"
#include "tools/assets/encode.h"
#include "tools/assets/palette.h"

#include <stdexcept>
#include <utility>

namespace vorn::assets {

namespace {

using namespace palette;

constexpr int kSize = 32;

// Two sheets of paper, the front one with a folded corner and lines of text.
Canvas copy_icon(double scale) {
    Canvas c(kSize, kSize, scale);
    c.draw(rect(4, 2, 20, 23), kPale, kInk, 1);
    for (double y : {6.0, 10.0, 14.0})
        c.fill(rect(7, y, 17, y + 2), kSky);
    const Shape sheet = polygon({{11, 9}, {23, 9}, {28, 14}, {28, 30}, {11, 30}});
    c.draw(sheet, kWhite, kInk, 1);
    c.fill(polygon({{23, 9}, {23, 14}, {28, 14}}), kInk);
    for (double y : {17.0, 21.0, 25.0})
        c.fill(rect(14, y, y == 25 ? 21 : 25, y + 2), kBlue);
    return c;
}

// A door with an arrow leaving through it.
Canvas exit_icon(double scale) {
    Canvas c(kSize, kSize, scale);
    c.draw(rect(4, 3, 20, 29), kSilver, kInk, 1);
    c.draw(rect(7, 6, 18, 29), kBlue, kDeepBlue, 1);
    c.fill(circle({15.5, 17}, 1.3), kWhite);
    const Shape arrow = bar({11, 16}, {24, 16}, 4) | polygon({{31, 16}, {23, 8.5}, {23, 23.5}});
    c.fill(inset(arrow, -1), kWhite);
    c.fill(arrow, kRed);
    return c;
}

// A printer with a sheet going in at the top and a printed one coming out.
Canvas print_icon(double scale) {
    Canvas c(kSize, kSize, scale);
    c.draw(rect(9, 3, 23, 13), kWhite, kInk, 1);
    const Shape body = rect(3, 11, 29, 24, 3);
    c.draw(body, kSilver, kInk, 1);
    c.fill(inset(body, 1) & rect(0, 0, kSize, 15), kSteel);
    c.fill(circle({25, 17}, 1.5), kGreen);
    c.fill(rect(7, 19, 25, 21), kInk);
    c.draw(rect(9, 20, 23, 30), kWhite, kInk, 1);
    c.fill(rect(12, 23, 20, 24), kBlue);
    c.fill(rect(12, 26, 18, 27), kBlue);
    return c;
}

// A lower-case "i" on a blue disc.
Canvas about_icon(double scale) {
    Canvas c(kSize, kSize, scale);
    c.draw(circle({16, 16}, 14.5), kBlue, kDeepBlue, 1);
    c.fill(circle({16, 9}, 2.4), kWhite);
    c.fill(rect(14, 13, 18, 24) | rect(12, 13, 16, 15) | rect(12, 22, 20, 24.5), kWhite);
    return c;
}

// A waste bin with its lid.
Canvas clear_icon(double scale) {
    Canvas c(kSize, kSize, scale);
    c.fill(outline(rect(12, 2, 20, 9, 2), 2), kInk);
    c.draw(polygon({{7, 10}, {25, 10}, {23, 30}, {9, 30}}), kSky, kInk, 1);
    for (double x : {12.0, 16.0, 20.0})
        c.fill(rect(x - 0.75, 13, x + 0.75, 27, 0.75), kBlue);
    c.draw(rect(4, 6, 28, 11, 1.5), kBlue, kInk, 1);
    return c;
}

// A floppy disk: shutter at the top, label below.
Canvas save_icon(double scale) {
    Canvas c(kSize, kSize, scale);
    c.draw(polygon({{3, 3}, {25, 3}, {29, 7}, {29, 29}, {3, 29}}), kBlue, kInk, 1);
    c.draw(rect(9, 3, 23, 12), kSilver, kInk, 1);
    c.fill(rect(18, 5, 21, 10), kInk);
    c.draw(rect(7, 16, 25, 29), kWhite, kInk, 1);
    c.fill(rect(10, 20, 22, 21), kSky);
    c.fill(rect(10, 24, 22, 25), kSky);
    return c;
}

// A gear of eight teeth.
Canvas settings_icon(double scale) {
    Canvas c(kSize, kSize, scale);
    const Point centre{16, 16};
    Shape gear = circle(centre, 10.5);
    for (int tooth = 0; tooth < 8; ++tooth)
        gear = gear | rotated(rect(13, 1, 19, 8, 1), centre, 45.0 * tooth);
    c.draw(gear - circle(centre, 4.5), kSteel, kInk, 1);
    return c;
}

// A pencil slanting down to the left.
Canvas edit_icon(double scale) {
    Canvas c(kSize, kSize, scale);
    // Drawn lying flat with its point to the left, then turned.
    auto turn = [](Shape s) { return rotated(std::move(s), {16, 16}, -45); };
    c.draw(turn(polygon({{-2, 16}, {8, 11.5}, {8, 20.5}})), kWood, kInk, 1);
    c.fill(turn(polygon({{-2, 16}, {2.5, 14}, {2.5, 18}})), kInk);
    c.draw(turn(rect(8, 11.5, 26, 20.5)), kBlue, kInk, 1);
    c.fill(turn(rect(8.5, 15, 25.5, 17)), kDeepBlue);
    c.draw(turn(rect(26, 11.5, 29, 20.5)), kSilver, kInk, 1);
    c.draw(turn(rect(29, 11.5, 33, 20.5, 1.5) | rect(29, 11.5, 30, 20.5)), kPink, kInk, 1);
    return c;
}

Canvas drawing(Icon which, double scale) {
    switch (which) {
    case Icon::copy:
        return copy_icon(scale);
    case Icon::exit:
        return exit_icon(scale);
    case Icon::print:
        return print_icon(scale);
    case Icon::about:
        return about_icon(scale);
    case Icon::clear:
        return clear_icon(scale);
    case Icon::save:
        return save_icon(scale);
    case Icon::settings:
        return settings_icon(scale);
    case Icon::edit:
        return edit_icon(scale);
    }
    throw std::invalid_argument("unknown icon");
}

} // namespace

Bytes icon(Icon which) {
    return icon_file(drawing(which, 1));
}

Bytes scaled_picture(Icon which, int percent) {
    return icon_file(drawing(which, percent / 100.0));
}

} // namespace vorn::assets
