#include "runtime/core/picture/bitmap.h"
#include "runtime/core/picture/decode.h"
#include "tools/assets/assets.h"
#include "tools/assets/canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>
#include <string>

using namespace vorn;
using namespace vorn::assets;

namespace {

const Icon kIcons[] = {Icon::copy,  Icon::exit, Icon::print,    Icon::about,
                       Icon::clear, Icon::save, Icon::settings, Icon::edit};
const Png kPngs[] = {Png::zoom, Png::capture_window, Png::capture_full_screen, Png::capture_region,
                     Png::finish_edit};
const SmallBitmap kSmallBitmaps[] = {SmallBitmap::enlarge, SmallBitmap::shrink};

std::uint16_t u16(const Bytes& b, std::size_t at) {
    return std::uint16_t(b.at(at) | b.at(at + 1) << 8);
}
std::uint32_t u32(const Bytes& b, std::size_t at) {
    EXPECT_LE(at + 4, b.size());
    return load_u32(b.data() + at);
}
std::uint32_t big_endian_u32(const Bytes& b, std::size_t at) {
    return std::uint32_t(b.at(at)) << 24 | std::uint32_t(b.at(at + 1)) << 16 |
           std::uint32_t(b.at(at + 2)) << 8 | b.at(at + 3);
}
std::string tag(const Bytes& b, std::size_t at) {
    return std::string(b.begin() + std::ptrdiff_t(at), b.begin() + std::ptrdiff_t(at + 4));
}

// How many pixels of a decoded picture differ from white, the colour that
// transparent parts come out as.
int drawn_pixels(const picture::Image& image) {
    int count = 0;
    for (picture::Pixel p : image.pixels)
        count += p != picture::rgb(255, 255, 255);
    return count;
}

// The picture shrunk to `width` x `height`, each pixel the mean of the part
// of the picture it covers, as a screen at 96 dpi would see a finer drawing.
picture::Image area_mean(const picture::Image& image, int width, int height) {
    const double sx = double(image.width) / width, sy = double(image.height) / height;
    picture::Image out(width, height);
    for (int ty = 0; ty < height; ++ty)
        for (int tx = 0; tx < width; ++tx) {
            double sum[3] = {}, area = 0;
            for (int y = int(ty * sy); y < std::min(image.height, int(std::ceil((ty + 1) * sy))); ++y)
                for (int x = int(tx * sx); x < std::min(image.width, int(std::ceil((tx + 1) * sx))); ++x) {
                    const double wx = std::min(x + 1.0, (tx + 1) * sx) - std::max(double(x), tx * sx);
                    const double wy = std::min(y + 1.0, (ty + 1) * sy) - std::max(double(y), ty * sy);
                    for (int c = 0; c < 3; ++c)
                        sum[c] += wx * wy * double(image.at(x, y) >> (16 - 8 * c) & 0xFF);
                    area += wx * wy;
                }
            auto channel = [&](int c) { return std::uint8_t(std::lround(sum[c] / area)); };
            out.at(tx, ty) = picture::rgb(channel(0), channel(1), channel(2));
        }
    return out;
}

// Mean difference of the channels of two pictures of one size, 0 to 255.
double mean_difference(const picture::Image& a, const picture::Image& b) {
    double total = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i)
        for (int shift : {0, 8, 16})
            total += std::abs(int(a.pixels[i] >> shift & 0xFF) - int(b.pixels[i] >> shift & 0xFF));
    return total / (3.0 * double(a.pixels.size()));
}

} // namespace

TEST(Icons, AreOne32BitImageWithItsMaskAndTransparentBackground) {
    std::set<Bytes> distinct;
    for (Icon which : kIcons) {
        SCOPED_TRACE(int(which));
        const Bytes file = icon(which);
        ASSERT_EQ(file.size(), 4286u);
        distinct.insert(file);

        // Directory: reserved, type 1 (icon), one entry describing 32 x 32 x 32 bits at 22.
        EXPECT_EQ(u16(file, 0), 0);
        EXPECT_EQ(u16(file, 2), 1);
        EXPECT_EQ(u16(file, 4), 1);
        EXPECT_EQ(file[6], 32);
        EXPECT_EQ(file[7], 32);
        EXPECT_EQ(file[8], 0);
        EXPECT_EQ(file[9], 0);
        EXPECT_EQ(u16(file, 10), 1);
        EXPECT_EQ(u16(file, 12), 32);
        EXPECT_EQ(u32(file, 14), 4264u);
        ASSERT_EQ(u32(file, 18), 22u);

        // The image's header counts the image and the mask in its height.
        EXPECT_EQ(u32(file, 22), 40u);
        EXPECT_EQ(u32(file, 26), 32u);
        EXPECT_EQ(u32(file, 30), 64u);
        EXPECT_EQ(u16(file, 34), 1);
        EXPECT_EQ(u16(file, 36), 32);
        EXPECT_EQ(u32(file, 38), 0u);
        EXPECT_TRUE(u32(file, 42) == 0 || u32(file, 42) == 4096) << u32(file, 42);
        EXPECT_EQ(u32(file, 58), 0u); // no colour table, which would shift the pixels

        constexpr std::size_t kPixels = 62, kMask = kPixels + 4096;
        int opaque = 0, transparent = 0;
        for (int row = 0; row < 32; ++row) {
            for (int x = 0; x < 32; ++x) {
                const std::uint8_t alpha = file[kPixels + std::size_t(row * 32 + x) * 4 + 3];
                const bool masked = file[kMask + std::size_t(row * 4 + x / 8)] & (0x80 >> (x % 8));
                opaque += alpha == 255;
                transparent += alpha == 0;
                // Screens without alpha draw what the mask leaves: never the background,
                // always the solid parts.
                if (alpha == 0) {
                    EXPECT_TRUE(masked) << x << "," << row;
                } else if (alpha == 255) {
                    EXPECT_FALSE(masked) << x << "," << row;
                }
            }
        }
        EXPECT_GT(opaque, 150);
        EXPECT_GT(transparent, 100);
        // The corners stay clear so that the buttons' faces show round the glyph.
        EXPECT_EQ(file[kPixels + 3], 0);
        EXPECT_EQ(file[kPixels + 4095], 0);
    }
    EXPECT_EQ(distinct.size(), std::size(kIcons));
}

TEST(Pngs, Are32By32RgbaPicturesThatDecode) {
    std::set<Bytes> distinct;
    for (Png which : kPngs) {
        SCOPED_TRACE(int(which));
        const Bytes file = png(which);
        distinct.insert(file);
        ASSERT_GT(file.size(), 33u);
        EXPECT_EQ(Bytes(file.begin(), file.begin() + 8),
                  (Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
        EXPECT_EQ(tag(file, 12), "IHDR");
        EXPECT_EQ(big_endian_u32(file, 16), 32u);
        EXPECT_EQ(big_endian_u32(file, 20), 32u);
        EXPECT_EQ(file[24], 8); // bits per channel
        EXPECT_EQ(file[25], 6); // RGBA

        Result<picture::Image> image = picture::decode_picture(file);
        ASSERT_TRUE(image) << image.error().message;
        EXPECT_EQ(image->width, 32);
        EXPECT_EQ(image->height, 32);
        const int drawn = drawn_pixels(*image);
        EXPECT_GT(drawn, 100);
        EXPECT_LT(drawn, 32 * 32 - 100);
        EXPECT_EQ(image->at(0, 31), picture::rgb(255, 255, 255)) << "background should be transparent";
    }
    EXPECT_EQ(distinct.size(), std::size(kPngs));
}

TEST(SmallBitmaps, Are16By16With216ColourTable) {
    std::set<Bytes> distinct;
    for (SmallBitmap which : kSmallBitmaps) {
        SCOPED_TRACE(int(which));
        const Bytes file = small_bitmap(which);
        ASSERT_EQ(file.size(), 1686u);
        distinct.insert(file);
        EXPECT_EQ(file[0], 'B');
        EXPECT_EQ(file[1], 'M');
        EXPECT_EQ(u32(file, 2), 1686u);
        EXPECT_EQ(u32(file, 10), 918u);
        EXPECT_EQ(u32(file, 14), 40u);
        EXPECT_EQ(u32(file, 18), 16u);
        EXPECT_EQ(u32(file, 22), 16u);
        EXPECT_EQ(u16(file, 26), 1);
        EXPECT_EQ(u16(file, 28), 24);
        EXPECT_EQ(u32(file, 30), 0u);
        EXPECT_EQ(u32(file, 46), 216u);

        // The table holds 216 different web-safe colours.
        std::set<std::uint32_t> colours;
        for (std::size_t i = 0; i < 216; ++i) {
            const std::size_t at = 54 + 4 * i;
            for (std::size_t c = 0; c < 3; ++c)
                EXPECT_EQ(file[at + c] % 0x33, 0) << "entry " << i;
            EXPECT_EQ(file[at + 3], 0);
            colours.insert(u32(file, at));
        }
        EXPECT_EQ(colours.size(), 216u);

        Result<picture::Image> image = picture::decode_bmp(file);
        ASSERT_TRUE(image) << image.error().message;
        ASSERT_EQ(image->width, 16);
        ASSERT_EQ(image->height, 16);
        // A light face, so the sign stands out on the dark enlarged view, with a dark sign on it.
        auto luminance = [](picture::Pixel p) {
            return ((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF)) / 3;
        };
        int light = 0, dark = 0;
        for (picture::Pixel p : image->pixels) {
            light += luminance(p) > 200;
            dark += luminance(p) < 128;
        }
        EXPECT_GT(light, 128);
        EXPECT_GE(dark, 20);
    }
    EXPECT_EQ(distinct.size(), std::size(kSmallBitmaps));
}

TEST(CaptureSound, IsAShortUnclippedClickInEightBitMonoPcm) {
    const Bytes file = capture_sound();
    ASSERT_EQ(file.size(), 3419u);
    EXPECT_EQ(tag(file, 0), "RIFF");
    EXPECT_EQ(u32(file, 4), 3411u);
    EXPECT_EQ(tag(file, 8), "WAVE");
    EXPECT_EQ(tag(file, 12), "fmt ");
    EXPECT_EQ(u32(file, 16), 16u);
    EXPECT_EQ(u16(file, 20), 1);
    EXPECT_EQ(u16(file, 22), 1);
    EXPECT_EQ(u32(file, 24), 22050u);
    EXPECT_EQ(u32(file, 28), 22050u);
    EXPECT_EQ(u16(file, 32), 1);
    EXPECT_EQ(u16(file, 34), 8);
    EXPECT_EQ(tag(file, 36), "data");
    ASSERT_EQ(u32(file, 40), 3375u);

    const Bytes samples(file.begin() + 44, file.end());
    int peak = 0;
    for (std::uint8_t s : samples)
        peak = std::max(peak, std::abs(int(s) - 128));
    EXPECT_GE(peak, 40) << "too quiet to hear";
    EXPECT_LE(peak, 110) << "too close to clipping";
    // Starting and stopping away from the midpoint would click in the speaker.
    EXPECT_LE(std::abs(int(samples.front()) - 128), 2);
    EXPECT_LE(std::abs(int(samples.back()) - 128), 2);
}

TEST(Assets, EveryCallGivesTheSameBytes) {
    for (Icon which : kIcons)
        EXPECT_EQ(icon(which), icon(which)) << int(which);
    for (Png which : kPngs)
        EXPECT_EQ(png(which), png(which)) << int(which);
    for (SmallBitmap which : kSmallBitmaps)
        EXPECT_EQ(small_bitmap(which), small_bitmap(which)) << int(which);
    EXPECT_EQ(capture_sound(), capture_sound());
}

TEST(ScaledPictures, AreTheSameDrawingsAtEachScale) {
    for (const int percent : {125, 150, 200}) {
        SCOPED_TRACE(percent);
        const int side = 32 * percent / 100;
        for (Icon which : kIcons) {
            const Bytes file = scaled_picture(which, percent);
            EXPECT_EQ(u16(file, 2), 1); // still an icon, keeping its transparency
            EXPECT_EQ(file.at(6), side);
            EXPECT_EQ(file.at(7), side);
            EXPECT_EQ(u32(file, 14) + u32(file, 18), file.size()) << "one image that ends the file";
        }
        // Seen at 96 dpi, each is the stored picture but for edges that fall
        // elsewhere within a pixel: at most 16 of 255 on average (the small
        // pictures' one-unit frame blurs most), where another of the large
        // drawings, or this one drawn at its 96-dpi size in a corner, is 35
        // or more.
        auto expect_same_drawing = [&](const Bytes& stored_file, const Bytes& scaled_file, int stored_side) {
            Result<picture::Image> scaled = picture::decode_picture(scaled_file);
            ASSERT_TRUE(scaled) << scaled.error().message;
            EXPECT_EQ(scaled->width, stored_side * percent / 100);
            EXPECT_EQ(scaled->height, stored_side * percent / 100);
            const picture::Image stored = *picture::decode_picture(stored_file);
            EXPECT_LT(mean_difference(area_mean(*scaled, stored_side, stored_side), stored), 20);
        };
        for (Png which : kPngs) {
            SCOPED_TRACE(int(which));
            expect_same_drawing(png(which), scaled_picture(which, percent), 32);
        }
        for (SmallBitmap which : kSmallBitmaps) {
            SCOPED_TRACE(int(which));
            expect_same_drawing(small_bitmap(which), scaled_picture(which, percent), 16);
        }
    }
}

TEST(Canvas, AScaledCanvasDrawsTheSameShapesAtMorePixels) {
    Canvas c(8, 8, 1.5);
    EXPECT_EQ(c.width(), 12);
    c.fill(rect(2, 2, 6, 6), Colour{10, 20, 30});
    // Units 2 to 6 are pixels 3 to 9.
    EXPECT_EQ(c.at(3, 3), (Colour{10, 20, 30, 255}));
    EXPECT_EQ(c.at(8, 8), (Colour{10, 20, 30, 255}));
    EXPECT_EQ(c.at(2, 3), (Colour{0, 0, 0, 0}));
    EXPECT_EQ(c.at(9, 9), (Colour{0, 0, 0, 0}));
}

TEST(Canvas, ShapesOnWholePixelsAreSharpAndHalfPixelEdgesHalfCovered) {
    Canvas c(8, 8);
    c.fill(rect(2, 2, 6, 5.5), Colour{10, 20, 30});
    EXPECT_EQ(c.at(2, 2), (Colour{10, 20, 30, 255}));
    EXPECT_EQ(c.at(5, 4), (Colour{10, 20, 30, 255}));
    EXPECT_EQ(c.at(5, 5), (Colour{10, 20, 30, 128}));
    EXPECT_EQ(c.at(1, 2), (Colour{0, 0, 0, 0}));
    EXPECT_EQ(c.at(6, 2), (Colour{0, 0, 0, 0}));
    EXPECT_EQ(c.at(2, 6), (Colour{0, 0, 0, 0}));

    // Half-transparent paint over solid paint mixes; over nothing it stays as it is.
    c.fill(rect(0, 0, 4, 8), Colour{210, 220, 230, 128});
    EXPECT_EQ(c.at(3, 3), (Colour{110, 120, 130, 255}));
    EXPECT_EQ(c.at(0, 0), (Colour{210, 220, 230, 128}));
}

TEST(Canvas, OutlinesInsetsAndTurnsKeepTheirGeometry) {
    Canvas ring(12, 12);
    ring.fill(outline(rect(2, 2, 10, 10), 1), Colour{0, 0, 0});
    EXPECT_EQ(ring.at(2, 5).a, 255);
    EXPECT_EQ(ring.at(9, 9).a, 255);
    EXPECT_EQ(ring.at(3, 3).a, 0);
    EXPECT_EQ(ring.at(1, 5).a, 0);

    // A bar turned a quarter about its centre covers the pixels of the upright bar.
    Canvas turned(12, 12), upright(12, 12);
    turned.fill(rotated(rect(2, 5, 10, 7), {6, 6}, 90), Colour{0, 0, 0});
    upright.fill(rect(5, 2, 7, 10), Colour{0, 0, 0});
    // Polygons may list their corners either way round.
    Canvas clockwise(12, 12), anticlockwise(12, 12);
    clockwise.fill(polygon({{1, 1}, {11, 2}, {6, 11}}), Colour{0, 0, 0});
    anticlockwise.fill(polygon({{6, 11}, {11, 2}, {1, 1}}), Colour{0, 0, 0});
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            EXPECT_NEAR(turned.at(x, y).a, upright.at(x, y).a, 1) << x << "," << y;
            EXPECT_EQ(clockwise.at(x, y), anticlockwise.at(x, y)) << x << "," << y;
        }
    }
    EXPECT_EQ(clockwise.at(6, 4).a, 255);
}

// Pixels far from every edge are filled or skipped without sampling; that
// must give the same picture as sampling every pixel, for shapes built from
// every kind of part and combination.
TEST(Canvas, SkippingPixelsFarFromEdgesChangesNothing) {
    Shape shape = circle({10, 10}, 7) - rect(8, 8, 12, 12, 1);
    shape =
        shape | rotated(bar({2, 18}, {18, 2}, 3), {10, 10}, 20) | polyline({{1, 1}, {19, 4}, {3, 19}}, 1.5);
    shape = inset(shape, -0.4) & polygon({{0, 0}, {20, 0}, {20, 20}, {0, 16}});
    Canvas c(20, 20);
    c.fill(shape, Colour{0, 0, 0});
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            int inside = 0;
            for (int sy = 0; sy < 8; ++sy)
                for (int sx = 0; sx < 8; ++sx)
                    inside += shape.distance({x + (sx + 0.5) / 8, y + (sy + 0.5) / 8}) < 0;
            EXPECT_EQ(c.at(x, y).a, std::lround(inside * 255.0 / 64)) << x << "," << y;
        }
    }
}
