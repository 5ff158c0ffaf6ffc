#include "runtime/core/engine/raster.h"

#include <gtest/gtest.h>

namespace vorn::runtime {
namespace {

TEST(Raster, DrawModesAreBinaryRasterOperationsCountedFromZero) {
    EXPECT_EQ(rop2_for_draw_mode(12), kCopyPen);
    EXPECT_EQ(rop2_for_draw_mode(5), kInvertDestination);
    EXPECT_EQ(rop2_for_draw_mode(0), 1);   // R2_BLACK
    EXPECT_EQ(rop2_for_draw_mode(15), 16); // R2_WHITE
    EXPECT_EQ(rop2_for_draw_mode(16), kCopyPen);
    EXPECT_EQ(rop2_for_draw_mode(-1), kCopyPen);
}

TEST(Raster, BinaryOperationsFollowGdisTruthTables) {
    const picture::Pixel pen = 0x00FF0000, under = 0x0012F0F0;
    struct Case {
        std::int32_t rop2;
        picture::Pixel expected;
    };
    const Case cases[] = {
        {1, 0},                         // R2_BLACK
        {6, ~under & 0xFFFFFF},         // R2_NOT
        {7, pen ^ under},               // R2_XORPEN
        {9, pen & under},               // R2_MASKPEN
        {11, under},                    // R2_NOP
        {13, pen},                      // R2_COPYPEN
        {15, pen | under},              // R2_MERGEPEN
        {16, 0x00FFFFFF},               // R2_WHITE
        {4, ~pen & 0xFFFFFF},           // R2_NOTCOPYPEN
        {2, ~(pen | under) & 0xFFFFFF}, // R2_NOTMERGEPEN
    };
    for (const Case& c : cases)
        EXPECT_EQ(apply_rop2(c.rop2, pen, under), c.expected) << "R2 code " << c.rop2;
    // Inverting twice gives back what was there: the rubber band's promise.
    EXPECT_EQ(apply_rop2(kInvertDestination, pen, apply_rop2(kInvertDestination, pen, under)), under);
    // The alpha byte never leaks into the colour.
    EXPECT_EQ(apply_rop2(kInvertDestination, 0, 0xFF000000) >> 24, 0u);
}

TEST(Raster, BlockOperationsReadTheTernaryTable) {
    const picture::Pixel source = 0x00336699, under = 0x00F0F00F;
    EXPECT_EQ(apply_rop3(kSourceCopy, source, under), source);
    EXPECT_EQ(apply_rop3(kSourceInvert, source, under), source ^ under);
    EXPECT_EQ(apply_rop3(kSourceAnd, source, under), source & under);
    EXPECT_EQ(apply_rop3(kSourcePaint, source, under), source | under);
    EXPECT_EQ(apply_rop3(kBlackness, source, under), 0u);
    EXPECT_EQ(apply_rop3(kDestinationInvert, source, under), ~under & 0xFFFFFF);
    EXPECT_EQ(apply_rop3(0x00330008, source, under), ~source & 0xFFFFFF); // NOTSRCCOPY
    // PATCOPY paints the pattern, white by default.
    EXPECT_EQ(apply_rop3(0x00F00021, source, under), 0x00FFFFFFu);
    EXPECT_EQ(apply_rop3(0x00F00021, source, under, 0x00123456), 0x00123456u);
}

} // namespace
} // namespace vorn::runtime
