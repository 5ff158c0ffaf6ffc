#include "runtime/sim/canvas.h"

#include "tests/sim/sim_fixtures.h"

#include <gtest/gtest.h>

namespace vorn::sim {
namespace {

using picture::Image;
using picture::rgb;
using runtime::DrawKind;
using runtime::DrawOp;

constexpr std::uint32_t kBlue = 0x00FF0000; // 0x00BBGGRR
const picture::Pixel kBluePixel = rgb(0, 0, 255);
const picture::Pixel kWhite = rgb(255, 255, 255);
const picture::Pixel kRed = rgb(255, 0, 0);

class SimCanvasTest : public ::testing::Test {
  protected:
    Trace trace;
    TextMetric metric;
    SimCanvas canvas{"w.c", 4, 3, forms::kDefaultColour, trace, metric};
};

TEST_F(SimCanvasTest, ClearPaintsTheBackColourThenTheBackgroundPictureClippedAtTheOrigin) {
    EXPECT_EQ(canvas.image(), Image(4, 3, kWhite)); // the default colour paints white
    const Image background(2, 5, kRed);             // taller than the canvas
    canvas.clear(kBlue, &background);
    const Image& pixels = canvas.image();
    EXPECT_EQ(pixels.at(0, 0), kRed);
    EXPECT_EQ(pixels.at(1, 2), kRed);
    EXPECT_EQ(pixels.at(2, 0), kBluePixel);
    EXPECT_EQ(pixels.at(3, 2), kBluePixel);
    ASSERT_EQ(canvas.history().size(), 1u);
    EXPECT_EQ(canvas.history()[0].kind, CanvasEntry::Kind::clear);
    EXPECT_TRUE(canvas.history()[0].background);
    canvas.clear(kBlue, nullptr);
    EXPECT_EQ(canvas.image(), Image(4, 3, kBluePixel));
}

TEST_F(SimCanvasTest, PasteCopiesTheClippedBlockAndKeepsItsRasterOperation) {
    canvas.paste(Image(3, 3, kRed), 2, 1, runtime::kSourceCopy);
    canvas.paste(Image(2, 2, kBluePixel), -1, -1, 0x00660046);
    const Image& pixels = canvas.image();
    EXPECT_EQ(pixels.at(0, 0), kBluePixel);
    EXPECT_EQ(pixels.at(1, 0), kWhite);
    EXPECT_EQ(pixels.at(2, 1), kRed);
    EXPECT_EQ(pixels.at(3, 2), kRed);
    EXPECT_EQ(pixels.at(1, 2), kWhite);
    ASSERT_EQ(canvas.history().size(), 2u);
    EXPECT_EQ(canvas.history()[1].rop, 0x00660046u);
    EXPECT_EQ(canvas.history()[1].area.left, -1);
    EXPECT_EQ(canvas.history()[1].area.width, 2);
}

TEST_F(SimCanvasTest, ShapesGoToTheDisplayListAndLeaveThePixelsAlone) {
    DrawOp box{DrawKind::rectangle, {}, {0, 0, 3, 2}, ""};
    box.state.pen_colour = 0x0000FF;
    box.state.pen_width = 2;
    const DrawOp line{DrawKind::line, {}, {1, 1, 2, 2}, ""};
    const Image before = canvas.image();
    canvas.draw(box);
    EXPECT_EQ(canvas.image(), before);
    canvas.clear(forms::kDefaultColour, nullptr);
    canvas.draw(line);
    EXPECT_EQ(canvas.display_list(), (std::vector<DrawOp>{box, line}));
    EXPECT_EQ(canvas.since_clear(), std::vector<DrawOp>{line});
    EXPECT_TRUE(
        trace.in_order({"canvas w.c rectangle 0,0,3,2", "canvas w.c clear", "canvas w.c line 1,1,2,2"}));
}

TEST_F(SimCanvasTest, ResizeKeepsWhatFitsAndFillsNewAreaWithTheLastBackColour) {
    canvas.clear(kBlue, nullptr);
    canvas.paste(Image(1, 1, kRed), 0, 0, runtime::kSourceCopy);
    canvas.paste(Image(1, 1, kRed), 3, 2, runtime::kSourceCopy);
    canvas.resize(2, 5);
    Image expected(2, 5, kBluePixel);
    expected.at(0, 0) = kRed;
    EXPECT_EQ(canvas.image(), expected);

    const std::size_t entries = canvas.history().size();
    canvas.resize(2, 5);
    EXPECT_EQ(canvas.history().size(), entries); // nothing changed, nothing recorded
    canvas.resize(-4, 7);
    EXPECT_EQ(canvas.pixels().width, 0);
    EXPECT_EQ(canvas.pixels().height, 7);
}

TEST_F(SimCanvasTest, TextWidthComesFromTheInjectedMetricOrHalfTheCharacterHeightPerByte) {
    EXPECT_EQ(canvas.text_width("ab", std::nullopt), 12);
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
