// Runs the same canvas operations on the runtime's GDI surface and on the
// simulated surface of the native tests, and compares the pixels: exactly
// for backgrounds, clears, block copies (clipped, overlapping, with raster
// operations) and the canvas's picture; at the points the native tests
// check for shapes. Prints each difference and exits 1 when there is one.
//   canvas_check
#include "forms/properties.h"
#include "runtime/core/engine/raster.h"
#include "runtime/sim/canvas.h"
#include "runtime/win32/gdi_canvas.h"
#include "runtime/win32/portable/dpi_scale.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

using namespace vorn;

namespace {

constexpr std::int32_t kWidth = 64;
constexpr std::int32_t kHeight = 48;

int g_differences = 0;

picture::Image pattern(std::int32_t width, std::int32_t height, std::uint32_t seed) {
    picture::Image image(width, height);
    for (picture::Pixel& pixel : image.pixels) {
        seed = seed * 1664525u + 1013904223u;
        pixel = (seed >> 8) & 0x00FFFFFF;
    }
    return image;
}

struct Pair {
    Pair(const char* name, sim::Trace& trace, const sim::TextMetric& metric)
        : gdi(nullptr, kWidth, kHeight, RGB(255, 255, 255), win32::kUnitDpi),
          simulated(name, kWidth, kHeight, forms::kDefaultColour, trace, metric) {}
    win32::GdiCanvas gdi;
    sim::SimCanvas simulated;
};

void expect_same(const char* step, Pair& pair) {
    const picture::Image a = pair.gdi.pixels();
    const picture::Image b = pair.simulated.pixels();
    if (a == b)
        return;
    ++g_differences;
    for (std::int32_t y = 0; y < std::min(a.height, b.height); ++y)
        for (std::int32_t x = 0; x < std::min(a.width, b.width); ++x)
            if (a.at(x, y) != b.at(x, y)) {
                std::printf("%s: first difference at %d,%d: gdi %06X, simulated %06X\n", step, x, y,
                            a.at(x, y), b.at(x, y));
                return;
            }
    std::printf("%s: sizes differ\n", step);
}

void expect_same_at(const char* step, Pair& pair, const std::vector<std::pair<int, int>>& points) {
    const picture::Image a = pair.gdi.pixels();
    const picture::Image b = pair.simulated.pixels();
    for (auto [x, y] : points)
        if (a.at(x, y) != b.at(x, y)) {
            ++g_differences;
            std::printf("%s: at %d,%d gdi %06X, simulated %06X\n", step, x, y, a.at(x, y), b.at(x, y));
        }
}

void both_background(Pair& pair, const Bytes& picture, std::uint32_t colour) {
    pair.gdi.set_background(picture, colour);
    pair.simulated.set_background(picture, colour);
}

void both_copy(Pair& from, Pair& to, runtime::CopyRect area, int left, int top, std::uint32_t rop) {
    to.gdi.copy_from(from.gdi, area, left, top, rop);
    to.simulated.copy_from(from.simulated, area, left, top, rop);
}

void both_draw(Pair& pair, const runtime::DrawOp& op) {
    pair.gdi.draw(op);
    pair.simulated.draw(op);
}

runtime::DrawOp shape(runtime::DrawKind kind, std::vector<std::int32_t> coords, std::int32_t pen_width,
                      std::int32_t mode = 12) {
    runtime::DrawOp op{kind, {}, std::move(coords), ""};
    op.state.pen_width = pen_width;
    op.state.pen_colour = 0x000000FF;
    op.state.draw_mode = mode;
    return op;
}

} // namespace

int main() {
    sim::Trace trace;
    const sim::TextMetric metric;
    Pair source("check.source", trace, metric);
    Pair target("check.target", trace, metric);

    expect_same("fresh canvases", target);
    // A background smaller than the canvas, on a back colour; then a clear.
    both_background(source, picture::encode_bmp(pattern(kWidth, kHeight, 1)), 0x00FF0000);
    both_background(target, picture::encode_bmp(pattern(40, 30, 2)), 0x0000FF00);
    expect_same("background on the back colour", target);
    both_copy(source, target, {0, 0, kWidth, kHeight}, 0, 0, runtime::kSourceCopy);
    expect_same("whole copy", target);
    target.gdi.clear(0x0000FF00);
    target.simulated.clear(0x0000FF00);
    expect_same("clear repaints the background", target);

    const struct {
        runtime::CopyRect area;
        int left, top;
        std::uint32_t rop;
    } copies[] = {
        {{5, 7, 20, 10}, 30, 2, runtime::kSourceCopy},    {{-6, -4, 20, 20}, 0, 0, runtime::kSourceCopy},
        {{50, 40, 30, 30}, 10, 10, runtime::kSourceCopy}, {{0, 0, 30, 30}, -10, 40, runtime::kSourceCopy},
        {{3, 3, 25, 25}, 20, 20, runtime::kSourceInvert}, {{10, 0, 40, 12}, 5, 30, runtime::kSourceAnd},
        {{1, 1, 16, 16}, 40, 4, runtime::kSourcePaint},   {{0, 0, 10, 10}, 2, 2, runtime::kDestinationInvert},
        {{0, 0, 10, 10}, 50, 2, runtime::kBlackness},     {{0, 0, 0, 10}, 0, 0, runtime::kSourceCopy},
    };
    for (const auto& c : copies)
        both_copy(source, target, c.area, c.left, c.top, c.rop);
    expect_same("copies with offsets, clipping and raster operations", target);
    both_copy(target, target, {0, 0, 40, 30}, 7, 5, runtime::kSourceCopy);
    expect_same("a copy onto itself, overlapping", target);

    const runtime::ProgramBlock gdi_picture = target.gdi.picture(50, 33);
    const runtime::ProgramBlock sim_picture = target.simulated.picture(50, 33);
    if (!std::equal(gdi_picture.view().begin(), gdi_picture.view().end(), sim_picture.view().begin(),
                    sim_picture.view().end())) {
        ++g_differences;
        std::printf("picture of the content: the files differ\n");
    }

    // The rubber band: inverted twice, the picture is back as it was.
    const picture::Image before = target.gdi.pixels();
    const runtime::DrawOp band = shape(runtime::DrawKind::rectangle, {50, 40, 8, 6}, 2, 5);
    both_draw(target, band);
    expect_same_at("inverting rectangle", target,
                   {{8, 6}, {49, 6}, {8, 39}, {49, 39}, {28, 6}, {28, 39}, {8, 22}, {49, 22}, {28, 22}});
    both_draw(target, band);
    expect_same("inverting rectangle drawn twice", target);
    if (target.gdi.pixels() != before) {
        ++g_differences;
        std::printf("inverting rectangle drawn twice: the picture changed\n");
    }

    // The overlay's rubber band: each clear repaints only what the last band
    // touched, and must leave exactly the background, on either surface.
    both_background(target, picture::encode_bmp(pattern(kWidth - 10, kHeight, 3)), 0x00FFFFFF);
    const runtime::DrawOp bands[] = {shape(runtime::DrawKind::rectangle, {5, 5, 30, 20}, 2, 5),
                                     shape(runtime::DrawKind::rectangle, {5, 5, 60, 44}, 2, 5),
                                     shape(runtime::DrawKind::rectangle, {40, 30, 2, 2}, 2, 5)};
    for (const runtime::DrawOp& band_now : bands) {
        target.gdi.clear(0x00FFFFFF);
        target.simulated.clear(0x00FFFFFF);
        both_draw(target, band_now);
        expect_same("a rubber band after a clear", target);
    }
    both_copy(source, target, {0, 0, 12, 12}, 50, 1, runtime::kSourceCopy);
    target.gdi.clear(0x00FFFFFF);
    target.simulated.clear(0x00FFFFFF);
    expect_same("a clear after bands and a copy", target);
    target.gdi.clear(0x000000FF); // another back colour: all of it again
    target.simulated.clear(0x000000FF);
    expect_same("a clear on another back colour", target);

    // The editor's drag: the relay refreshed whole from the cache, a shape
    // drawn on it, the relay copied whole onto the foreground; the GDI side
    // copies only what differs, and must end with the same pixels.
    Pair cache("check.cache", trace, metric), relay("check.relay", trace, metric);
    both_copy(target, cache, {0, 0, kWidth, kHeight}, 0, 0, runtime::kSourceCopy);
    for (int step = 0; step < 4; ++step) {
        both_copy(cache, relay, {0, 0, kWidth, kHeight}, 0, 0, runtime::kSourceCopy);
        both_draw(relay, shape(runtime::DrawKind::rectangle, {3, 3, 50 - 12 * step, 40 - 8 * step},
                               2)); // shrinking: the last one must go
        both_copy(relay, target, {0, 0, kWidth, kHeight}, 0, 0, runtime::kSourceCopy);
        expect_same("the foreground during a drag", target);
    }
    both_draw(target, shape(runtime::DrawKind::rectangle, {40, 30, 60, 45}, 1)); // the foreground's own
    both_copy(relay, target, {0, 0, kWidth, kHeight}, 0, 0, runtime::kSourceCopy);
    expect_same("the foreground after a change of its own", target);

    // A canvas that lets go of its decoded background when copied onto, and
    // decodes it again from its source for the next clear and resize.
    const Bytes kept = picture::encode_bmp(pattern(kWidth - 6, kHeight - 4, 4));
    Pair thrifty("check.thrifty", trace, metric);
    thrifty.gdi.set_background_source([&kept] { return ByteView(kept); });
    both_background(thrifty, kept, 0x0000FFFF);
    both_copy(source, thrifty, {0, 0, 20, 20}, 5, 5, runtime::kSourceCopy);
    thrifty.gdi.clear(0x0000FFFF);
    thrifty.simulated.clear(0x0000FFFF);
    expect_same("a clear after the background was let go", thrifty);
    both_copy(source, thrifty, {0, 0, kWidth, kHeight}, 0, 0, runtime::kSourceCopy);
    thrifty.gdi.resize(kWidth + 8, kHeight + 6);
    thrifty.simulated.resize(kWidth + 8, kHeight + 6);
    expect_same("a resize after the background was let go", thrifty);

    Pair paper("check.paper", trace, metric);
    runtime::DrawOp filled = shape(runtime::DrawKind::rectangle, {4, 4, 30, 20}, 3);
    filled.state.brush_type = 1;
    filled.state.brush_colour = 0x0000FF00;
    both_draw(paper, filled);
    expect_same_at("filled rectangle", paper,
                   {{4, 4}, {29, 4}, {4, 19}, {29, 19}, {17, 4}, {4, 12}, {17, 12}});
    both_draw(paper, shape(runtime::DrawKind::ellipse, {34, 4, 61, 25}, 1));
    expect_same_at("ellipse", paper, {{47, 4}, {47, 24}, {34, 14}, {60, 14}, {47, 14}, {35, 5}});
    both_draw(paper, shape(runtime::DrawKind::line, {4, 30, 40, 30}, 1));
    expect_same_at("line", paper, {{4, 30}, {20, 30}, {39, 30}, {40, 30}});
    runtime::DrawOp head = shape(runtime::DrawKind::polygon, {60, 38, 44, 30, 44, 46}, 1);
    head.state.brush_type = 1;
    head.state.brush_colour = 0x000000FF;
    both_draw(paper, head);
    expect_same_at("arrow head", paper, {{52, 38}, {60, 38}, {44, 38}, {58, 44}});

    std::printf("%d differences\n", g_differences);
    return g_differences == 0 ? 0 : 1;
}
