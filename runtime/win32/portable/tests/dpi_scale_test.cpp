#include "runtime/win32/portable/dpi_scale.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace vorn::win32 {
namespace {

constexpr std::uint32_t k125 = 120, k150 = 144, k200 = 192;

TEST(DpiScale, UnitsBecomePixelsRoundedToTheNearestHalvesAwayFromZero) {
    struct Case {
        std::int64_t units;
        std::uint32_t dpi;
        std::int32_t pixels;
    };
    const Case cases[] = {
        {678, kUnitDpi, 678},
        {-5, kUnitDpi, -5},
        {1, k125, 1},   // 1.25
        {2, k125, 3},   // 2.5: half up
        {-2, k125, -3}, // mirrored
        {3, k125, 4},   // 3.75
        {656, k125, 820},
        {1, k150, 2},
        {3, k150, 5},
        {-3, k150, -5},
        {853, k150, 1280},
        {683, k150, 1025},
        {40, k200, 80},
        {0, k150, 0},
        {5, 0, 5}, // no DPI is read as 96
        {std::int64_t(1) << 40, k200, std::numeric_limits<std::int32_t>::max()},
        {-(std::int64_t(1) << 40), k200, std::numeric_limits<std::int32_t>::min()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(to_pixels(c.units, c.dpi), c.pixels) << c.units << " units at " << c.dpi;
}

TEST(DpiScale, PixelsBecomeUnitsAndUnitsSurviveTheRoundTrip) {
    EXPECT_EQ(to_units(1280, k125), 1024);
    EXPECT_EQ(to_units(1280, k150), 853); // 853.3
    EXPECT_EQ(to_units(1024, k150), 683); // 682.7
    EXPECT_EQ(to_units(2, k125), 2);      // 1.6
    EXPECT_EQ(to_units(-2, k125), -2);
    EXPECT_EQ(to_units(3, k150), 2); // 2: half up
    for (const std::uint32_t dpi : {kUnitDpi, k125, k150, k200, 168u, 240u})
        for (std::int32_t units = -300; units <= 3000; ++units)
            ASSERT_EQ(to_units(to_pixels(units, dpi), dpi), units) << units << " at " << dpi;
    // The other way a pixel can be lost, never more.
    for (const std::uint32_t dpi : {k125, k150, k200})
        for (std::int32_t pixels = 0; pixels <= 3000; ++pixels) {
            const std::int32_t back = to_pixels(to_units(pixels, dpi), dpi);
            ASSERT_LE(std::abs(back - pixels), 1) << pixels << " at " << dpi;
        }
}

TEST(DpiScale, RectanglesConvertPlaceAndSizeApart) {
    // A window 3 units wide is 4 pixels wide wherever it lies at 125 %.
    EXPECT_EQ(rect_to_pixels({2, 3, 3, 3}, k125), (GeometryRect{3, 4, 4, 4}));
    EXPECT_EQ(rect_to_pixels({1, 1, 3, 3}, k125), (GeometryRect{1, 1, 4, 4}));
    EXPECT_EQ(rect_to_units({-1920, 0, 1920, 1080}, k150), (GeometryRect{-1280, 0, 1280, 720}));
    EXPECT_EQ(rect_to_units(rect_to_pixels({8, 8, 40, 48}, k150), k150), (GeometryRect{8, 8, 40, 48}));
}

TEST(DpiScale, AStretchToTheFarEdgeReachesItInPixels) {
    // A canvas 853 units wide showing a 1279-pixel picture.
    EXPECT_EQ(span_to_pixels(0, 853, 853, 1279, k150), (Span{0, 1279}));
    EXPECT_EQ(span_to_pixels(400, 453, 853, 1279, k150), (Span{600, 679}));
    // Inside, the length is converted on its own.
    EXPECT_EQ(span_to_pixels(400, 100, 853, 1279, k150), (Span{600, 150}));
    EXPECT_EQ(span_to_pixels(3, 3, 10, 12, k125), (Span{4, 4}));
    // Nothing, or a stretch past the edge, stays what it says.
    EXPECT_EQ(span_to_pixels(0, 0, 0, 0, k150), (Span{0, 0}));
    EXPECT_EQ(span_to_pixels(10, 900, 853, 1279, k150), (Span{15, 1350}));
}

TEST(DpiScale, ASideMatchingAPictureTakesThePicturesExactSize) {
    // The overlay: the screen's size in units against its 1279-pixel shot.
    EXPECT_EQ(side_matching_picture(to_units(1279, k150), 1279, k150, false), 1279);
    EXPECT_EQ(to_pixels(to_units(1279, k150), k150), 1280); // what it would be otherwise
    // The editor: a canvas given the shot's size in pixels.
    EXPECT_EQ(side_matching_picture(1920, 1920, k150, true), 1920);
    EXPECT_EQ(side_matching_picture(1920, 1920, k150, false), 2880);
    // Any other size, or no picture, is converted.
    EXPECT_EQ(side_matching_picture(852, 1279, k150, true), 1278);
    EXPECT_EQ(side_matching_picture(100, 0, k150, true), 150);
    EXPECT_EQ(side_matching_picture(100, 100, kUnitDpi, false), 100);
}

TEST(DpiScale, OuterSizesKeepTheClientScaledAndTakeTheFrameOfTheirDpi) {
    // The main window: 678 x 514 outer at 96 dpi with a 6 x 29 frame (Wine's).
    const OuterSize stored{678, 514};
    const FrameSize at_96{6, 29}, at_144{8, 37};
    EXPECT_EQ(outer_to_pixels(stored, at_96, at_96, kUnitDpi), stored);
    const OuterSize shown = outer_to_pixels(stored, at_96, at_144, k150);
    EXPECT_EQ(shown, (OuterSize{1008 + 8, 728 + 37})); // 485 x 1.5 = 727.5
    EXPECT_EQ(outer_to_units(shown, at_96, at_144, k150), stored);
    EXPECT_EQ(outer_to_pixels({678, 514}, at_96, {7, 32}, k125), (OuterSize{840 + 7, 606 + 32}));
    // A frameless window is all client.
    EXPECT_EQ(outer_to_pixels({853, 683}, {}, {}, k150), (OuterSize{1280, 1025}));
    // A size smaller than its frame has no client left, at any DPI.
    EXPECT_EQ(outer_to_pixels({4, 10}, at_96, at_144, k150), (OuterSize{8, 37}));
    EXPECT_EQ(outer_to_units({2, 2}, at_96, at_144, k150), (OuterSize{6, 29}));
}

TEST(DpiScale, PicturesDrawnForTheScaleAtOrJustAboveTheDpi) {
    EXPECT_EQ(picture_scale_for(kUnitDpi), 0u);
    EXPECT_EQ(picture_scale_for(72), 0u);
    EXPECT_EQ(picture_scale_for(97), 125u);
    EXPECT_EQ(picture_scale_for(k125), 125u);
    EXPECT_EQ(picture_scale_for(121), 150u);
    EXPECT_EQ(picture_scale_for(k150), 150u);
    EXPECT_EQ(picture_scale_for(168), 200u); // 175 %
    EXPECT_EQ(picture_scale_for(k200), 200u);
    EXPECT_EQ(picture_scale_for(288), 200u); // nothing larger: the largest
}

TEST(DpiScale, AWindowMovedBetweenMonitorsKeepsItsStoredSize) {
    // Windows asks for the size at the new DPI (WM_GETDPISCALEDSIZE), and
    // the size read back there is the stored one, from any DPI to any other.
    const FrameSize at_96{6, 25};
    const std::uint32_t dpis[] = {kUnitDpi, k125, k150, k200};
    const FrameSize frames[] = {at_96, {8, 30}, {8, 37}, {10, 48}};
    for (const OuterSize stored : {OuterSize{678, 514}, OuterSize{420, 330}, OuterSize{853, 683}})
        for (std::size_t from = 0; from < 4; ++from)
            for (std::size_t to = 0; to < 4; ++to) {
                const OuterSize here = outer_to_pixels(stored, at_96, frames[from], dpis[from]);
                const OuterSize read = outer_to_units(here, at_96, frames[from], dpis[from]);
                const OuterSize there = outer_to_pixels(read, at_96, frames[to], dpis[to]);
                EXPECT_EQ(outer_to_units(there, at_96, frames[to], dpis[to]), stored)
                    << stored.width << "x" << stored.height << " from " << dpis[from] << " to " << dpis[to];
            }
}

} // namespace
} // namespace vorn::win32
