#include "runtime/win32/portable/conventions.h"

#include <gtest/gtest.h>

namespace vorn::win32 {
namespace {

TEST(Conventions, ModifierKeysAddUp) {
    EXPECT_EQ(modifier_keys(false, false, false), 0);
    EXPECT_EQ(modifier_keys(true, false, false), 1);
    EXPECT_EQ(modifier_keys(false, true, true), 6);
    EXPECT_EQ(modifier_keys(true, true, true), 7);
}

TEST(Conventions, PicturesShrinkToFitKeepingTheirShapeAndAreCentred) {
    struct Case {
        std::int32_t pw, ph, bw, bh;
        PlacedRect expected;
    };
    const Case cases[] = {
        {1280, 1024, 656, 413, {70, 0, 516, 413}}, // a screen in the main window's box
        {1280, 1024, 1280, 1024, {0, 0, 1280, 1024}},
        {100, 50, 656, 413, {278, 181, 100, 50}}, // smaller pictures keep their size
        {656, 10, 656, 413, {0, 201, 656, 10}},
        {10000, 1, 100, 100, {0, 49, 100, 1}}, // never thinner than a pixel
        {0, 10, 100, 100, {}},
        {10, 10, 0, 100, {}},
        {10, 10, 100, -3, {}},
        {3, 3, 1, 1, {0, 0, 1, 1}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fit_picture(c.pw, c.ph, c.bw, c.bh), c.expected)
            << c.pw << "x" << c.ph << " in " << c.bw << "x" << c.bh;
}

TEST(Conventions, PrintedDrawingsKeepTheirInchesUnlessTheyOverflowThePage) {
    // A4 at 300 dots per inch: 2480 x 3508 dots.
    EXPECT_EQ(page_scale(300, 300, 2480, 3508, 640, 480), (PageScale{3.125, 3.125}));
    // A 1280 x 1024 screen is 13.3 inches wide: shrunk to the page's width.
    const PageScale screen = page_scale(300, 300, 2480, 3508, 1280, 1024);
    EXPECT_DOUBLE_EQ(screen.x, 2480.0 / 1280);
    EXPECT_DOUBLE_EQ(screen.y, screen.x);
    // Tall drawings are bounded by the height; unequal resolutions stay unequal.
    const PageScale tall = page_scale(600, 300, 4960, 3508, 100, 2000);
    EXPECT_DOUBLE_EQ(tall.y, 3508.0 / 2000);
    EXPECT_DOUBLE_EQ(tall.x, 2 * tall.y);
    // Nothing to fit, or a page that reports nothing: only the resolution counts.
    EXPECT_EQ(page_scale(96, 96, 0, 0, 5000, 5000), (PageScale{1, 1}));
    EXPECT_EQ(page_scale(192, 192, 1000, 1000, 0, 0), (PageScale{2, 2}));
    EXPECT_EQ(page_scale(0, -5, 1000, 1000, 0, 0), (PageScale{1.0 / 96, 1.0 / 96}));
}

} // namespace
} // namespace vorn::win32
