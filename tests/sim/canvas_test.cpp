#include "runtime/sim/canvas.h"

#include "runtime/core/engine/raster.h"
#include "runtime/core/picture/bitmap.h"
#include "tests/sim/sim_fixtures.h"

#include <gtest/gtest.h>

namespace vorn::sim {
namespace {

using picture::Image;
using picture::rgb;
using runtime::CopyRect;
using runtime::DrawKind;
using runtime::DrawOp;

constexpr std::uint32_t kBlue = 0x00FF0000; // 0x00BBGGRR
constexpr std::uint32_t kRedColour = 0x000000FF;
const picture::Pixel kBluePixel = rgb(0, 0, 255);
const picture::Pixel kWhite = rgb(255, 255, 255);
const picture::Pixel kRed = rgb(255, 0, 0);
const picture::Pixel kGreen = rgb(0, 255, 0);

// A picture whose every pixel tells where it came from.
Image numbered(std::int32_t width, std::int32_t height) {
    Image image(width, height);
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x)
            image.at(x, y) = picture::Pixel(0x010000 * (x + 1) + 0x000100 * (y + 1) + 0x40);
    return image;
}

class SimCanvasTest : public ::testing::Test {
  protected:
    SimCanvas make(std::int32_t width, std::int32_t height, std::string label = "w.c") {
        return SimCanvas(std::move(label), width, height, forms::kDefaultColour, trace, metric);
    }
    void fill(SimCanvas& canvas, const Image& image) {
        canvas.set_background(picture::encode_bmp(image), forms::kDefaultColour);
    }

    Trace trace;
    TextMetric metric;
};

TEST_F(SimCanvasTest, BackgroundIsDecodedOnceAndEveryClearRepaintsItOnTheBackColour) {
    SimCanvas canvas = make(4, 3);
    EXPECT_EQ(canvas.image(), Image(4, 3, kWhite));                       // the default colour paints white
    canvas.set_background(picture::encode_bmp(Image(2, 5, kRed)), kBlue); // taller than the canvas
    const auto expect_background = [&] {
        const Image& pixels = canvas.image();
        EXPECT_EQ(pixels.at(0, 0), kRed);
        EXPECT_EQ(pixels.at(1, 2), kRed);
        EXPECT_EQ(pixels.at(2, 0), kBluePixel);
        EXPECT_EQ(pixels.at(3, 2), kBluePixel);
    };
    expect_background(); // shown at once
    canvas.draw(DrawOp{DrawKind::rectangle, {}, {0, 0, 4, 3}, ""});
    canvas.clear(kBlue);
    expect_background();
    ASSERT_TRUE(canvas.background().has_value());
    EXPECT_EQ(canvas.background()->width, 2);

    canvas.set_background({}, kBlue); // removed
    EXPECT_EQ(canvas.image(), Image(4, 3, kBluePixel));
    canvas.set_background(Bytes{'B', 'M', 1, 2}, kBlue); // unreadable: no background, no crash
    EXPECT_FALSE(canvas.background().has_value());
    EXPECT_TRUE(trace.in_order(
        {"canvas w.c background 2x5", "canvas w.c clear with background", "canvas w.c background none"}))
        << trace.dump();
}

TEST_F(SimCanvasTest, BlockCopiesMoveExactPixelsBetweenCanvasesWithOffsets) {
    SimCanvas source = make(6, 5, "w.source");
    fill(source, numbered(6, 5));
    SimCanvas target = make(4, 4, "w.target");
    target.copy_from(source, CopyRect{2, 1, 3, 2}, 1, 2, runtime::kSourceCopy);
    const Image& out = target.image();
    for (std::int32_t y = 0; y < 4; ++y)
        for (std::int32_t x = 0; x < 4; ++x) {
            const bool inside = x >= 1 && x < 4 && y >= 2 && y < 4;
            EXPECT_EQ(out.at(x, y), inside ? source.image().at(x + 1, y - 1) : kWhite) << x << "," << y;
        }
    ASSERT_EQ(target.history().back().kind, CanvasEntry::Kind::copy);
    EXPECT_EQ(target.history().back().source, "w.source");
    EXPECT_TRUE(trace.in_order({"canvas w.target copy from w.source 3x2 at 2,1 to 1,2 rop 0xcc0020"}))
        << trace.dump();
}

TEST_F(SimCanvasTest, BlockCopiesClipAtEveryEdgeAndLeaveTheRestAlone) {
    SimCanvas source = make(4, 4, "w.source");
    fill(source, numbered(4, 4));
    struct Case {
        CopyRect area;
        std::int32_t left, top;
        std::vector<std::pair<std::int32_t, std::int32_t>> copied; // target pixels written, in any order
    };
    const Case cases[] = {
        {{-1, -1, 2, 2}, 0, 0, {{1, 1}}},                       // the source's corner only
        {{0, 0, 2, 2}, -1, 0, {{0, 0}, {0, 1}}},                // past the target's left edge
        {{2, 2, 5, 5}, 2, 2, {{2, 2}, {3, 2}, {2, 3}, {3, 3}}}, // past both far edges
        {{0, 0, 0, 3}, 0, 0, {}},                               // an empty block
        {{0, 0, -2, 2}, 0, 0, {}},                              // a negative size
        {{5, 0, 2, 2}, 0, 0, {}},                               // wholly outside the source
    };
    for (const Case& c : cases) {
        SimCanvas target = make(4, 4, "w.target");
        target.copy_from(source, c.area, c.left, c.top, runtime::kSourceCopy);
        Image expected(4, 4, kWhite);
        for (auto [x, y] : c.copied)
            expected.at(x, y) = source.image().at(x - c.left + c.area.left, y - c.top + c.area.top);
        EXPECT_EQ(target.image(), expected) << c.area.left << "," << c.area.top << " " << c.area.width << "x"
                                            << c.area.height << " to " << c.left << "," << c.top;
    }
}

TEST_F(SimCanvasTest, BlockCopiesApplyTheirRasterOperationAndMayOverlapThemselves) {
    SimCanvas source = make(2, 1, "w.source");
    fill(source, Image(2, 1, 0x00336699));
    SimCanvas target = make(2, 1, "w.target");
    fill(target, Image(2, 1, 0x00F0F00F));
    target.copy_from(source, {0, 0, 1, 1}, 0, 0, runtime::kSourceInvert);
    target.copy_from(source, {0, 0, 1, 1}, 1, 0, runtime::kSourceAnd);
    EXPECT_EQ(target.image().at(0, 0), 0x00336699u ^ 0x00F0F00Fu);
    EXPECT_EQ(target.image().at(1, 0), 0x00336699u & 0x00F0F00Fu);

    // A copy within one canvas reads the block before writing it.
    SimCanvas row = make(4, 1);
    fill(row, numbered(4, 1));
    const Image before = row.image();
    row.copy_from(row, {0, 0, 3, 1}, 1, 0, runtime::kSourceCopy);
    EXPECT_EQ(row.image().at(0, 0), before.at(0, 0));
    EXPECT_EQ(row.image().at(1, 0), before.at(0, 0));
    EXPECT_EQ(row.image().at(2, 0), before.at(1, 0));
    EXPECT_EQ(row.image().at(3, 0), before.at(2, 0));
}

TEST_F(SimCanvasTest, PictureIsAWholeBitmapFileOfTheTopLeftOfTheContent) {
    SimCanvas canvas = make(5, 4);
    fill(canvas, numbered(5, 4));
    runtime::ProgramBlock whole = canvas.picture(5, 4);
    Result<Image> decoded = picture::decode_bmp(whole.view());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, canvas.image());

    runtime::ProgramBlock part = canvas.picture(2, 3);
    decoded = picture::decode_bmp(part.view());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, picture::crop(canvas.image(), 0, 0, 2, 3));

    runtime::ProgramBlock empty = canvas.picture(0, 0); // a valid file of no pixels
    EXPECT_EQ(empty.view().size(), picture::bmp_file_size_24(0, 0));
    EXPECT_EQ(canvas.picture(50, 50).view().size(), whole.view().size()); // clipped to the canvas
}

DrawOp shape(DrawKind kind, std::vector<std::int32_t> coords, std::int32_t pen_width = 1,
             std::uint32_t pen = kRedColour) {
    DrawOp op{kind, {}, std::move(coords), ""};
    op.state.pen_width = pen_width;
    op.state.pen_colour = pen;
    return op;
}

TEST_F(SimCanvasTest, RectanglesOutlineTheirBoxWithTheRightAndBottomEdgesInside) {
    for (std::int32_t width : {1, 2, 5}) {
        SimCanvas canvas = make(30, 20);
        canvas.draw(shape(DrawKind::rectangle, {20, 15, 5, 3}, width)); // corners in any order
        const Image& p = canvas.image();
        // Corners and the midpoint of every edge, as GDI draws them.
        for (auto [x, y] : {std::pair{5, 3}, {19, 3}, {5, 14}, {19, 14}, {12, 3}, {12, 14}, {5, 8}, {19, 8}})
            EXPECT_EQ(p.at(x, y), kRed) << "pen " << width << " at " << x << "," << y;
        EXPECT_EQ(p.at(12, 8), kWhite) << "pen " << width; // no brush: the inside shows through
        EXPECT_EQ(p.at(25, 8), kWhite);
    }
    SimCanvas canvas = make(30, 20);
    DrawOp filled = shape(DrawKind::rectangle, {5, 3, 20, 15});
    filled.state.brush_type = 1;
    filled.state.brush_colour = 0x0000FF00;
    canvas.draw(filled);
    EXPECT_EQ(canvas.image().at(12, 8), kGreen);
    EXPECT_EQ(canvas.image().at(5, 8), kRed);
}

TEST_F(SimCanvasTest, EllipsesTouchTheMiddleOfEachSideOfTheirBox) {
    SimCanvas canvas = make(40, 30);
    DrawOp op = shape(DrawKind::ellipse, {5, 5, 36, 26}, 3);
    op.state.brush_type = 1;
    op.state.brush_colour = 0x0000FF00;
    canvas.draw(op);
    const Image& p = canvas.image();
    for (auto [x, y] : {std::pair{20, 5}, {20, 25}, {5, 15}, {35, 15}})
        EXPECT_EQ(p.at(x, y), kRed) << x << "," << y;
    EXPECT_EQ(p.at(20, 15), kGreen); // filled inside
    EXPECT_EQ(p.at(6, 6), kWhite);   // the box's corner lies outside the ellipse
}

TEST_F(SimCanvasTest, LinesRunFromTheirStartToJustBeforeTheirEndAndWidePensCoverBoth) {
    SimCanvas canvas = make(20, 20);
    canvas.draw(shape(DrawKind::line, {2, 3, 12, 3}));
    EXPECT_EQ(canvas.image().at(2, 3), kRed);
    EXPECT_EQ(canvas.image().at(7, 3), kRed);
    EXPECT_EQ(canvas.image().at(11, 3), kRed);
    EXPECT_EQ(canvas.image().at(12, 3), kWhite);
    canvas.draw(shape(DrawKind::line, {2, 10, 14, 16}, 4, kBlue));
    EXPECT_EQ(canvas.image().at(2, 10), kBluePixel);
    EXPECT_EQ(canvas.image().at(8, 13), kBluePixel);
    EXPECT_EQ(canvas.image().at(8, 14), kBluePixel); // 4 pixels wide
    EXPECT_EQ(canvas.image().at(14, 16), kBluePixel);
    // Absurd coordinates are cut to the canvas, not walked.
    canvas.draw(shape(DrawKind::line, {-2000000000, 0, 2000000000, 0}));
    EXPECT_EQ(canvas.image().at(10, 0), kRed);
}

TEST_F(SimCanvasTest, PolygonsFillTheirInsideAndOutlineEveryEdge) {
    SimCanvas canvas = make(40, 40);
    DrawOp head = shape(DrawKind::polygon, {30, 20, 10, 8, 10, 32}); // an arrow head pointing right
    head.state.brush_type = 1;
    head.state.brush_colour = kRedColour;
    canvas.draw(head);
    const Image& p = canvas.image();
    EXPECT_EQ(p.at(18, 20), kRed); // inside the head
    EXPECT_EQ(p.at(30, 20), kRed); // its tip
    EXPECT_EQ(p.at(10, 20), kRed); // the back edge
    EXPECT_EQ(p.at(35, 20), kWhite);
    EXPECT_EQ(p.at(12, 5), kWhite);
}

TEST_F(SimCanvasTest, AnInvertingPenDrawnTwiceLeavesThePictureAsItWas) {
    SimCanvas canvas = make(30, 20);
    fill(canvas, numbered(30, 20));
    const Image before = canvas.image();
    DrawOp band = shape(DrawKind::rectangle, {3, 4, 25, 17}, 2);
    band.state.draw_mode = 5;
    canvas.draw(band);
    EXPECT_EQ(canvas.image().at(3, 4), ~before.at(3, 4) & 0x00FFFFFF);
    EXPECT_EQ(canvas.image().at(10, 10), before.at(10, 10));
    canvas.draw(band);
    EXPECT_EQ(canvas.image(), before);
}

TEST_F(SimCanvasTest, TextAndShapesAreKeptInTheDisplayListSinceTheLastClear) {
    SimCanvas canvas = make(4, 3);
    const DrawOp box = shape(DrawKind::rectangle, {0, 0, 3, 2}, 2);
    DrawOp text{DrawKind::text, {}, {1, 1}, "ab"};
    canvas.draw(box);
    canvas.clear(forms::kDefaultColour);
    canvas.draw(text);
    EXPECT_EQ(canvas.image(), Image(4, 3, kWhite)); // text is not rasterised
    EXPECT_EQ(canvas.display_list(), (std::vector<DrawOp>{box, text}));
    EXPECT_EQ(canvas.since_clear(), std::vector<DrawOp>{text});
    EXPECT_TRUE(
        trace.in_order({"canvas w.c rectangle 0,0,3,2", "canvas w.c clear", "canvas w.c text 1,1 \"ab\""}))
        << trace.dump();
}

TEST_F(SimCanvasTest, ResizeKeepsWhatFitsAndFillsNewAreaWithTheLastBackColour) {
    SimCanvas canvas = make(4, 3);
    canvas.clear(kBlue);
    canvas.draw(shape(DrawKind::line, {0, 0, 1, 0}));
    canvas.draw(shape(DrawKind::line, {3, 2, 4, 2}));
    canvas.resize(2, 5);
    Image expected(2, 5, kBluePixel);
    expected.at(0, 0) = kRed;
    EXPECT_EQ(canvas.image(), expected);

    const std::size_t entries = canvas.history().size();
    canvas.resize(2, 5);
    EXPECT_EQ(canvas.history().size(), entries); // nothing changed, nothing recorded
    canvas.resize(-4, 7);
    EXPECT_EQ(canvas.width(), 0);
    EXPECT_EQ(canvas.height(), 7);
}

TEST_F(SimCanvasTest, TextWidthComesFromTheInjectedMetricOrHalfTheCharacterHeightPerByte) {
    SimCanvas canvas = make(4, 3);
    EXPECT_EQ(canvas.text_width("ab", std::nullopt), 12); // the default font is 12 pixels high
    forms::Font large;
    large.height = -20;
    EXPECT_EQ(canvas.text_width(testing::gbk("截图"), large), 40); // two double-byte characters
    metric = [](const std::string& text, const std::optional<forms::Font>&) {
        return std::int32_t(text.size()) * 7;
    };
    EXPECT_EQ(canvas.text_width("abc", large), 21);
}

} // namespace
} // namespace vorn::sim
