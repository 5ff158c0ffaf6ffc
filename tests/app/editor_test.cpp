// The picture editor, run as the real program on the simulated desktop: its
// layout round the shot, the tools and what they keep in 设置.ini, shapes
// dragged on the canvas, text stamped on Enter, and handing the edit back.
#include "app/numbers.h"
#include "app/program_state.h"
#include "editor/arrow_head.h"
#include "editor/layout.h"
#include "forms/events.h"
#include "forms/layouts/elements.h"
#include "runtime/core/engine/fonts.h"
#include "runtime/core/picture/decode.h"
#include "runtime/sim/user.h"
#include "tests/app/capture_helpers.h"
#include "tests/app/program_fixture.h"
#include "text/gbk.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vorn;
using forms::PropertyId;
using vorn::testing::ProgramFixture;
namespace main = vorn::ui::主窗口;
namespace edit = vorn::ui::编辑窗口;
namespace t = vorn::testing;

namespace {

constexpr std::int32_t kShotWidth = 600;
constexpr std::int32_t kShotHeight = 300;
constexpr std::uint32_t kRed = 0x000000FF; // as the colour picker holds it: 0x00BBGGRR
constexpr std::uint32_t kGreen = 0x0000FF00;
const picture::Pixel kRedPixel = picture::rgb(255, 0, 0);
const picture::Pixel kGreenPixel = picture::rgb(0, 255, 0);

picture::Image shot() {
    return t::test_screen(kShotWidth, kShotHeight, 5);
}

struct EditorFixture : ProgramFixture {
    EditorFixture() { desktop.set_screen(t::test_screen(1024, 768)); }
};

// The main window's picture box shows `picture`, as after a capture.
void show_shot(sim::SimDesktop& d, const picture::Image& picture = shot()) {
    ASSERT_TRUE(d.engine()
                    .write_property(main::kId, main::截图效果图片框.element, PropertyId::picture, -1,
                                    picture::encode_bmp(picture))
                    .ok());
}

void open_editor(sim::SimDesktop& d, sim::SimDesktop::Script while_editing) {
    d.windows().name_window(edit::kId, "editor");
    d.on_modal(edit::kId, std::move(while_editing));
    d.user().click(main::kId, main::按钮_编辑.element);
}

std::int64_t value(sim::SimDesktop& d, forms::ElementRef ref, PropertyId property) {
    return t::element(d, ref).integer(property);
}

std::string text_of(sim::SimDesktop& d, forms::ElementRef ref) {
    return t::element(d, ref).text(PropertyId::text);
}

void pick_tool(sim::SimDesktop& d, forms::ElementRef label) {
    d.user().press(edit::kId, label.element, 5, 5);
}

void drag(sim::SimDesktop& d, runtime::Point from, runtime::Point to) {
    sim::SimUser& user = d.user();
    user.press(edit::kId, edit::画板_前台.element, from.x, from.y);
    user.move(edit::kId, edit::画板_前台.element, (from.x + to.x) / 2, (from.y + to.y) / 2);
    user.move(edit::kId, edit::画板_前台.element, to.x, to.y);
    user.release(edit::kId, edit::画板_前台.element, to.x, to.y);
}

const picture::Image& foreground(sim::SimDesktop& d) {
    return d.find_canvas(edit::kId, edit::画板_前台.element)->image();
}

std::string first_difference(const picture::Image& a, const picture::Image& b) {
    if (a.width != b.width || a.height != b.height)
        return std::to_string(a.width) + "x" + std::to_string(a.height) + " vs " + std::to_string(b.width) +
               "x" + std::to_string(b.height);
    for (std::int32_t y = 0; y < a.height; ++y)
        for (std::int32_t x = 0; x < a.width; ++x)
            if (a.at(x, y) != b.at(x, y))
                return "at " + std::to_string(x) + "," + std::to_string(y) + ": " +
                       std::to_string(a.at(x, y)) + " vs " + std::to_string(b.at(x, y));
    return "same";
}

// 设置.ini's value (UTF-8) under 编辑截图, or "-" when absent.
std::string stored(sim::SimDesktop& d, const std::string& key) {
    return t::read_setting(d, "编辑截图", key).value_or("-");
}

} // namespace

TEST(EditorLayout, TheWindowFitsTheShotAndTheScreen) {
    using editor::EditorLayout;
    // A small shot: the frame is as wide as the tool row, the canvas centred in it.
    EXPECT_EQ(editor::lay_out_editor(500, 200, 1024, 768),
              (EditorLayout{500, 200, 25, 4, 550, 208, 223, 223, 578, 292}));
    // Wide enough, but low: the frame is as high as the tool row wants.
    EXPECT_EQ(editor::lay_out_editor(800, 200, 1024, 768),
              (EditorLayout{800, 200, 4, 48, 808, 296, 94, 179, 836, 380}));
    // The whole screen: shrunk once by a tenth, the window reaching above the screen's top.
    EXPECT_EQ(editor::lay_out_editor(1024, 768, 1024, 768),
              (EditorLayout{921, 691, 4, 4, 929, 699, 33, -22, 957, 783}));
    // Shrunk from 40 pixels short of the screen's width, not from 41; 90 for the height.
    EXPECT_EQ(editor::lay_out_editor(984, 300, 1024, 768).canvas_width, 885);
    EXPECT_EQ(editor::lay_out_editor(983, 300, 1024, 768).canvas_width, 983);
    EXPECT_EQ(editor::lay_out_editor(600, 678, 1024, 768).canvas_height, 610);
    EXPECT_EQ(editor::lay_out_editor(600, 677, 1024, 768).canvas_height, 677);
}

TEST(ArrowHead, TheWorkedCases) {
    using editor::HeadPoints;
    const struct {
        std::int32_t x0, y0, x1, y1;
        HeadPoints head;
    } cases[] = {
        {100, 100, 200, 100, {200, 100, 191, 105, 191, 95}},
        {200, 100, 100, 100, {100, 100, 109, 95, 109, 105}},
        {100, 100, 100, 200, {100, 200, 95, 191, 105, 191}},
        {100, 100, 200, 200, {200, 200, 190, 197, 197, 190}},
        {100, 100, 100, 100, {100, 100, 105, 95, 95, 105}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(editor::arrow_head(c.x0, c.y0, c.x1 - c.x0, c.y1 - c.y0, 3), c.head)
            << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1;
    // The side follows the line width (w * 10 / 3, truncated); no width, no head.
    EXPECT_EQ(editor::arrow_head(0, 0, 100, 0, 1)[2], 100 - 3);
    EXPECT_EQ(editor::arrow_head(0, 0, 100, 0, 6)[2], 100 - 17); // a side of 20 at 30 degrees
    EXPECT_EQ(editor::arrow_head(0, 0, 100, 0, 0), (HeadPoints{100, 0, 100, 0, 100, 0}));
}

TEST(TextToInteger, TheNumberTheTextStartsWith) {
    EXPECT_EQ(app::to_integer("16"), 16);
    EXPECT_EQ(app::to_integer(" -3"), -3);
    EXPECT_EQ(app::to_integer("12px"), 12);
    EXPECT_EQ(app::to_integer("abc"), 0);
    EXPECT_EQ(app::to_integer(""), 0);
    EXPECT_EQ(app::to_integer("99999999999"), INT32_MAX);
    EXPECT_EQ(app::to_integer("-99999999999"), INT32_MIN);
}

TEST(Editor, NothingToEditSaysSoAndStaysInTheMainWindow) {
    EditorFixture f;
    f.run([](sim::SimDesktop& d) {
        d.user().click(main::kId, main::按钮_编辑.element);
        EXPECT_FALSE(d.engine().is_loaded(edit::kId));
        EXPECT_EQ(value(d, main::窗口, PropertyId::visible), 1);
    });
    ASSERT_EQ(f.desktop.message_boxes().size(), 1u);
    EXPECT_EQ(f.desktop.message_boxes()[0].text, "没有截图,不能编辑!");
    EXPECT_EQ(f.desktop.message_boxes()[0].style, 0);
}

TEST(Editor, OpensRoundTheShotWithTheMainWindowHidden) {
    EditorFixture f;
    f.run([](sim::SimDesktop& d) {
        show_shot(d);
        open_editor(d, [](sim::SimDesktop& d) {
            EXPECT_EQ(value(d, main::窗口, PropertyId::visible), 0);
            const editor::EditorLayout layout = editor::lay_out_editor(kShotWidth, kShotHeight, 1024, 768);
            EXPECT_EQ(value(d, edit::窗口, PropertyId::width), layout.window_width);
            EXPECT_EQ(value(d, edit::窗口, PropertyId::height), layout.window_height);
            EXPECT_EQ(value(d, edit::窗口, PropertyId::left), layout.window_left);
            EXPECT_EQ(value(d, edit::窗口, PropertyId::top), layout.window_top);
            EXPECT_EQ(value(d, edit::外形框1, PropertyId::width), layout.frame_width);
            for (auto canvas : {edit::画板_前台, edit::画板_中转, edit::画板_缓存}) {
                EXPECT_EQ(value(d, canvas, PropertyId::left), layout.canvas_left);
                EXPECT_EQ(value(d, canvas, PropertyId::width), kShotWidth);
                EXPECT_EQ(value(d, canvas, PropertyId::height), kShotHeight);
            }
            EXPECT_EQ(first_difference(foreground(d), shot()), "same");
            EXPECT_EQ(value(d, edit::窗口, PropertyId::taskbar_button), 1);
            EXPECT_EQ(text_of(d, edit::编辑框1), "3") << "as stored";
            EXPECT_EQ(text_of(d, edit::编辑框2), "16");
            d.user().close(edit::kId);
        });
        EXPECT_EQ(value(d, main::窗口, PropertyId::visible), 1);
    });
    std::vector<std::string> tips;
    for (const auto& tip : f.desktop.tips())
        if (tip.window == edit::kId)
            tips.push_back(tip.control_name + " " + tip.text);
    EXPECT_EQ(tips, (std::vector<std::string>{"标签1 给截图添加文字", "标签2 在截图上画圆圈",
                                              "标签4 在截图上画方框", "标签3 在截图上画箭头"}));
    // The temporary file beside the program holds the shot.
    EXPECT_EQ(picture::decode_picture(t::read_host_file(f.desktop.files().run_folder() / "temp.jpg")).value(),
              shot());
}

// A read-only install directory (here: a directory where the file would go)
// must not leave the editor without the shot.
TEST(Editor, TheShotComesFromMemoryWhenTheTemporaryFileCannotBeWritten) {
    EditorFixture f;
    std::filesystem::create_directories(f.desktop.files().run_folder() / "temp.jpg");
    f.run([](sim::SimDesktop& d) {
        show_shot(d);
        open_editor(d, [](sim::SimDesktop& d) {
            EXPECT_EQ(value(d, edit::画板_前台, PropertyId::width), kShotWidth);
            EXPECT_EQ(foreground(d), shot());
            d.user().close(edit::kId);
        });
    });
}

TEST(Editor, ShapesFollowTheDragAndTheEditGoesBackToTheMainWindow) {
    EditorFixture f;
    f.run([](sim::SimDesktop& d) {
        show_shot(d);
        open_editor(d, [](sim::SimDesktop& d) {
            pick_tool(d, edit::标签4); // rectangle
            d.user().choose_colour(edit::kId, edit::颜色选择钮1.element, kRed);
            // A press and release without moving draws nothing.
            d.user().press(edit::kId, edit::画板_前台.element, 50, 50);
            d.user().release(edit::kId, edit::画板_前台.element, 50, 50);
            EXPECT_EQ(foreground(d), shot());
            drag(d, {120, 100}, {20, 30}); // up and left
            EXPECT_EQ(foreground(d).at(20, 30), kRedPixel);
            EXPECT_EQ(foreground(d).at(119, 99), kRedPixel);
            EXPECT_EQ(foreground(d).at(70, 30), kRedPixel) << "the top edge";
            EXPECT_EQ(foreground(d).at(70, 65), shot().at(70, 65)) << "an outline only";
            EXPECT_EQ(foreground(d).at(65, 50), shot().at(65, 50))
                << "the band at the middle movement is gone";
            // Moving without the button draws nothing more.
            d.user().move(edit::kId, edit::画板_前台.element, 300, 200);
            EXPECT_EQ(foreground(d).at(300, 200), shot().at(300, 200));

            pick_tool(d, edit::标签3); // arrow
            d.user().choose_colour(edit::kId, edit::颜色选择钮1.element, kGreen);
            drag(d, {200, 150}, {400, 150});
            EXPECT_EQ(foreground(d).at(300, 150), kGreenPixel) << "the line";
            EXPECT_EQ(foreground(d).at(400, 150), kGreenPixel) << "the tip";
            EXPECT_EQ(foreground(d).at(394, 150), kGreenPixel) << "inside the head";
            EXPECT_EQ(foreground(d).at(20, 30), kRedPixel) << "earlier shapes stay";
            d.user().click(edit::kId, edit::超级按钮3.element);
            EXPECT_FALSE(d.engine().is_loaded(edit::kId));
        });
        const std::optional<picture::Image> shown = t::shown_picture(d);
        ASSERT_TRUE(shown.has_value());
        EXPECT_EQ(shown->at(20, 30), kRedPixel);
        EXPECT_EQ(shown->at(400, 150), kGreenPixel);
        EXPECT_EQ(shown->at(500, 250), shot().at(500, 250));
        EXPECT_EQ(d.clipboard().bitmap(), *shown);
        EXPECT_EQ(value(d, main::窗口, PropertyId::visible), 1);
        EXPECT_TRUE(app::program_state().current_shot.empty()) << "the current shot is not the edit";
    });
}

// The canvas takes the very shot the main window shows: one copy in memory
// for both, until either is given another picture; a block the program
// changed before writing it back is a picture of its own.
TEST(Editor, TheCanvasSharesTheShotUntilEitherChanges) {
    EditorFixture f;
    f.run([](sim::SimDesktop& d) {
        show_shot(d);
        const auto bytes_of = [&d](forms::ElementRef ref, PropertyId property) {
            return runtime::bytes_view(t::element(d, ref).get(property));
        };
        const Bytes shot_file = picture::encode_bmp(shot());
        open_editor(d, [&](sim::SimDesktop& d) {
            ASSERT_EQ(bytes_of(edit::画板_前台, PropertyId::background_picture).data(),
                      bytes_of(main::截图效果图片框, PropertyId::picture).data());

            const facade::Runtime rt(d.engine().services());
            facade::Block read = rt.block(main::截图效果图片框, PropertyId::picture);
            const_cast<std::uint8_t*>(read.view().data())[picture::kBmpPixelOffset] ^= 0xFF;
            rt.set_block(edit::画板_前台, PropertyId::background_picture, read);
            const ByteView changed = bytes_of(edit::画板_前台, PropertyId::background_picture);
            EXPECT_NE(changed.data(), bytes_of(main::截图效果图片框, PropertyId::picture).data());
            EXPECT_EQ(Bytes(changed.begin(), changed.end()), Bytes(read.view().begin(), read.view().end()));
            EXPECT_EQ(Bytes(bytes_of(main::截图效果图片框, PropertyId::picture).begin(),
                            bytes_of(main::截图效果图片框, PropertyId::picture).end()),
                      shot_file);

            rt.set_block(edit::画板_前台, PropertyId::background_picture,
                         rt.block(main::截图效果图片框, PropertyId::picture));
            ASSERT_EQ(bytes_of(edit::画板_前台, PropertyId::background_picture).data(),
                      bytes_of(main::截图效果图片框, PropertyId::picture).data());
            const Bytes other = picture::encode_bmp(t::test_screen(30, 20, 9));
            rt.set_bytes(main::截图效果图片框, PropertyId::picture, other);
            const ByteView kept = bytes_of(edit::画板_前台, PropertyId::background_picture);
            EXPECT_EQ(Bytes(kept.begin(), kept.end()), shot_file) << "the canvas keeps the shot";
            const ByteView now = bytes_of(main::截图效果图片框, PropertyId::picture);
            EXPECT_EQ(Bytes(now.begin(), now.end()), other);

            pick_tool(d, edit::标签4);
            drag(d, {10, 10}, {100, 100});
            d.user().click(edit::kId, edit::超级按钮3.element);
        });
        const ByteView shown = bytes_of(main::截图效果图片框, PropertyId::picture);
        EXPECT_NE(Bytes(shown.begin(), shown.end()), shot_file) << "the edit is shown";
        EXPECT_EQ(t::shown_picture(d)->at(10, 10), picture::rgb(0, 0, 0));
    });
}

TEST(Editor, ClosingWithoutFinishingKeepsThePictureAndTheClipboard) {
    EditorFixture f;
    f.run([](sim::SimDesktop& d) {
        show_shot(d);
        d.clipboard().put_text("earlier");
        open_editor(d, [](sim::SimDesktop& d) {
            pick_tool(d, edit::标签2); // ellipse
            drag(d, {10, 10}, {200, 100});
            EXPECT_NE(foreground(d), shot());
            d.user().close(edit::kId);
        });
        EXPECT_EQ(t::shown_picture(d), shot());
        EXPECT_EQ(d.clipboard().entries()[0].text, "earlier");
        EXPECT_EQ(value(d, main::窗口, PropertyId::visible), 1);
    });
}

TEST(Editor, TextFloatsAtThePressAndIsStampedOnEnter) {
    EditorFixture f;
    f.run([](sim::SimDesktop& d) {
        show_shot(d);
        open_editor(d, [](sim::SimDesktop& d) {
            // No tool yet: a press does nothing.
            d.user().press(edit::kId, edit::画板_前台.element, 40, 40);
            EXPECT_EQ(value(d, edit::文字框, PropertyId::visible), 0);
            pick_tool(d, edit::标签1);
            EXPECT_EQ(text_of(d, edit::编辑框2), "12") << "the stored font size, or 12";
            EXPECT_EQ(value(d, edit::标签1, PropertyId::back_colour), 0x0000FFFF);
            d.user().choose_colour(edit::kId, edit::颜色选择钮1.element, kRed);
            d.user().press(edit::kId, edit::画板_前台.element, 40, 60);
            EXPECT_EQ(value(d, edit::文字框, PropertyId::visible), 1);
            const std::int64_t offset_x =
                value(d, edit::外形框1, PropertyId::left) + value(d, edit::画板_前台, PropertyId::left);
            EXPECT_EQ(value(d, edit::文字框, PropertyId::left), offset_x + 40);
            const std::int64_t narrow = value(d, edit::文字框, PropertyId::width);
            d.user().type(edit::kId, edit::文字框.element, "你好 world");
            EXPECT_GT(value(d, edit::文字框, PropertyId::width), narrow) << "widened with its text";
            d.user().key(edit::kId, edit::文字框.element, 65); // a letter: nothing is stamped
            EXPECT_EQ(value(d, edit::文字框, PropertyId::visible), 1);
            d.user().key(edit::kId, edit::文字框.element, 13);
            EXPECT_EQ(value(d, edit::文字框, PropertyId::visible), 0);
            EXPECT_EQ(value(d, edit::文字框, PropertyId::width), 32);
            EXPECT_EQ(text_of(d, edit::文字框), "");
            const auto& history = d.find_canvas(edit::kId, edit::画板_前台.element)->history();
            ASSERT_FALSE(history.empty());
            const runtime::DrawOp& stamped = history.back().op;
            EXPECT_EQ(stamped.kind, runtime::DrawKind::text);
            EXPECT_EQ(stamped.coords, (std::vector<std::int32_t>{40, 60}));
            EXPECT_EQ(stamped.text, text::utf8_to_gbk("你好 world"));
            EXPECT_EQ(stamped.state.text_colour, kRed);

            // Choosing the text tool again keeps a pending text where it is,
            // in the stored size and the colour now chosen.
            d.user().press(edit::kId, edit::画板_前台.element, 10, 10);
            d.user().type(edit::kId, edit::文字框.element, "等着");
            const std::int64_t pending_left = value(d, edit::文字框, PropertyId::left);
            d.user().type(edit::kId, edit::编辑框2.element, "30");
            d.user().choose_colour(edit::kId, edit::颜色选择钮1.element, kGreen);
            pick_tool(d, edit::标签1);
            EXPECT_EQ(value(d, edit::文字框, PropertyId::visible), 1);
            EXPECT_EQ(value(d, edit::文字框, PropertyId::left), pending_left);
            EXPECT_EQ(text_of(d, edit::文字框), text::utf8_to_gbk("等着"));
            const auto* font = std::get_if<forms::Font>(&t::element(d, edit::文字框).get(PropertyId::font));
            ASSERT_NE(font, nullptr);
            EXPECT_EQ(font->height, runtime::font_height_of_points(30)) << "the size stored as typed";
            EXPECT_EQ(value(d, edit::文字框, PropertyId::text_colour), kGreen);

            // A pending text is dropped by a shape tool.
            pick_tool(d, edit::标签4);
            EXPECT_EQ(value(d, edit::文字框, PropertyId::visible), 0);
            EXPECT_EQ(text_of(d, edit::文字框), "");

            // Enter on an empty box stamps an empty text and puts the box away.
            pick_tool(d, edit::标签1);
            d.user().press(edit::kId, edit::画板_前台.element, 30, 30);
            const std::size_t drawn = history.size();
            d.user().key(edit::kId, edit::文字框.element, 13);
            ASSERT_EQ(history.size(), drawn + 1);
            EXPECT_EQ(history.back().op.text, "");
            EXPECT_EQ(value(d, edit::文字框, PropertyId::visible), 0);
            EXPECT_EQ(value(d, edit::文字框, PropertyId::width), 32);
            d.user().close(edit::kId);
        });
    });
}

TEST(Editor, EachToolKeepsItsLineWidthAndColourInTheSettingsFile) {
    EditorFixture f;
    f.run([](sim::SimDesktop& d) {
        show_shot(d);
        open_editor(d, [](sim::SimDesktop& d) {
            pick_tool(d, edit::标签4);
            EXPECT_EQ(text_of(d, edit::编辑框1), "1") << "nothing stored yet";
            d.user().type(edit::kId, edit::编辑框1.element, "5");
            d.user().choose_colour(edit::kId, edit::颜色选择钮1.element, kRed);
            pick_tool(d, edit::标签3);
            EXPECT_EQ(text_of(d, edit::编辑框1), "1");
            EXPECT_EQ(value(d, edit::颜色选择钮1, PropertyId::colour), 0);
            d.user().type(edit::kId, edit::编辑框1.element, "0"); // below 1
            EXPECT_EQ(text_of(d, edit::编辑框1), "1");
            pick_tool(d, edit::标签4);
            EXPECT_EQ(text_of(d, edit::编辑框1), "5");
            EXPECT_EQ(value(d, edit::颜色选择钮1, PropertyId::colour), kRed);
            // The text tool stores no line width; its font size and font are stored as chosen.
            pick_tool(d, edit::标签1);
            d.user().type(edit::kId, edit::编辑框1.element, "7");
            d.user().type(edit::kId, edit::编辑框2.element, "abc");
            forms::Font font;
            font.set_face_name(text::utf8_to_gbk("黑体"));
            d.user().choose_font(edit::kId, edit::高级字体选择框1.element, font);
            d.user().close(edit::kId); // stored already, though nothing is finished
        });
        EXPECT_EQ(stored(d, "方框线条粗细"), "5");
        EXPECT_EQ(stored(d, "方框颜色"), "255");
        EXPECT_EQ(stored(d, "箭头线条粗细"), "1");
        EXPECT_EQ(stored(d, "文字线条粗细"), "-");
        EXPECT_EQ(stored(d, "字体大小"), "abc");
        EXPECT_EQ(stored(d, "字体"), "黑体");
    });
}
