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

TEST(Conventions, DrawModesAreRasterOperationsFromZero) {
    EXPECT_EQ(raster_op_for_draw_mode(12), kCopyPen);
    EXPECT_EQ(raster_op_for_draw_mode(5), 6);   // R2_NOT
    EXPECT_EQ(raster_op_for_draw_mode(0), 1);   // R2_BLACK
    EXPECT_EQ(raster_op_for_draw_mode(15), 16); // R2_WHITE
    EXPECT_EQ(raster_op_for_draw_mode(16), kCopyPen);
    EXPECT_EQ(raster_op_for_draw_mode(-1), kCopyPen);
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

} // namespace
} // namespace vorn::win32
