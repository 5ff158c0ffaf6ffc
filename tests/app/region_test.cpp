// Region capture, run as the real program on the simulated desktop: the
// overlay's frozen picture, the rubber band, the cut and the cancel.
#include "app/program_state.h"
#include "capture/region_selection.h"
#include "forms/layouts/elements.h"
#include "runtime/core/engine/raster.h"
#include "runtime/core/picture/decode.h"
#include "runtime/sim/user.h"
#include "tests/app/capture_helpers.h"
#include "tests/app/program_fixture.h"

#include <gtest/gtest.h>

using namespace vorn;
using forms::PropertyId;
using vorn::testing::ProgramFixture;
namespace main = vorn::ui::主窗口;
namespace overlay = vorn::ui::区域窗口;
namespace t = vorn::testing;

namespace {

constexpr std::int32_t kScreenWidth = 200;
constexpr std::int32_t kScreenHeight = 150;

picture::Image screen() {
    return t::test_screen(kScreenWidth, kScreenHeight);
}

void start_region(sim::SimDesktop& d) {
    d.windows().name_window(overlay::kId, "overlay");
    d.user().click(main::kId, main::按钮_截取区域.element);
}

void drag(sim::SimDesktop& d, runtime::Point from, runtime::Point to) {
    sim::SimUser& user = d.user();
    user.press(overlay::kId, overlay::画板.element, from.x, from.y);
    user.move(overlay::kId, overlay::画板.element, (from.x + to.x) / 2, (from.y + to.y) / 2);
    user.move(overlay::kId, overlay::画板.element, to.x, to.y);
    user.release(overlay::kId, overlay::画板.element, to.x, to.y);
}

sim::SimCanvas& overlay_canvas(sim::SimDesktop& d) {
    return *d.find_canvas(overlay::kId, overlay::画板.element);
}

} // namespace

TEST(RegionSelection, TheRectangleDrawnWhicheverWayTheDragWent) {
    using capture::Selection;
    EXPECT_EQ(capture::select_region(20, 30, 80, 90), (Selection{20, 30, 60, 60}));
    EXPECT_EQ(capture::select_region(80, 90, 20, 30), (Selection{20, 30, 60, 60})); // up and left
    EXPECT_EQ(capture::select_region(80, 30, 20, 90), (Selection{20, 30, 60, 60})); // down and left
    EXPECT_EQ(capture::select_region(5, 5, 5, 5), (Selection{5, 5, 0, 0}));
    EXPECT_TRUE(capture::select_region(5, 5, 5, 9).empty());
    EXPECT_EQ(capture::select_region(INT32_MIN, 0, INT32_MAX, 1).width, INT32_MAX); // no overflow
}

TEST(RegionCapture, TheOverlayPhotographsTheScreenBeforeItIsShownAndCoversIt) {
    ProgramFixture f;
    f.desktop.set_screen(screen());
    f.run([](sim::SimDesktop& d) {
        d.trace().clear();
        start_region(d);
        ASSERT_TRUE(d.engine().is_loaded(overlay::kId));
        EXPECT_EQ(t::element(d, overlay::窗口).integer(PropertyId::width), kScreenWidth);
        EXPECT_EQ(t::element(d, overlay::窗口).integer(PropertyId::height), kScreenHeight);
        EXPECT_EQ(t::element(d, overlay::画板).integer(PropertyId::left), 0);
        EXPECT_EQ(t::element(d, overlay::画板).integer(PropertyId::width), kScreenWidth);
        EXPECT_EQ(t::element(d, overlay::画板).integer(PropertyId::height), kScreenHeight);
        EXPECT_EQ(overlay_canvas(d).image(), screen()); // the frozen picture is on show
        // The main window was not hidden: no setting says so, and nothing waited before the overlay.
        EXPECT_TRUE(d.trace().starting_with("property main visible=0").empty()) << d.trace().dump();
        d.user().right_press(overlay::kId, overlay::画板.element, 1, 1);
    });
    EXPECT_TRUE(f.desktop.trace().in_order(
        {"user click main.按钮_截取区域", "create window overlay", "wait 200", "property overlay width=200",
         "snapshot screen", "property overlay.画板 background picture=<",
         "canvas overlay.画板 background 200x150", "focus overlay.画板", "show window overlay"}))
        << f.desktop.trace().dump();
}

// The screen's size is asked afresh for every overlay: after the display
// changes, the overlay covers the new screen and a drag reaches its far side.
TEST(RegionCapture, TheNextOverlayCoversAScreenThatChangedSize) {
    ProgramFixture f;
    f.desktop.set_screen(screen());
    f.run([](sim::SimDesktop& d) {
        start_region(d);
        drag(d, {10, 10}, {50, 40});
        const picture::Image larger = t::test_screen(kScreenWidth * 2, kScreenHeight * 2, 9);
        d.set_screen(larger);
        start_region(d);
        EXPECT_EQ(t::element(d, overlay::窗口).integer(PropertyId::width), kScreenWidth * 2);
        EXPECT_EQ(t::element(d, overlay::画板).integer(PropertyId::height), kScreenHeight * 2);
        EXPECT_EQ(overlay_canvas(d).image(), larger);
        drag(d, {kScreenWidth * 2 - 1, kScreenHeight * 2 - 1}, {kScreenWidth, kScreenHeight});
        EXPECT_EQ(t::shown_picture(d),
                  picture::crop(larger, kScreenWidth, kScreenHeight, kScreenWidth - 1, kScreenHeight - 1));
    });
}

TEST(RegionCapture, ADragCutsTheRectangleOutOfTheFrozenPictureInEitherDirection) {
    for (bool up_left : {false, true}) {
        SCOPED_TRACE(up_left ? "dragged up and left" : "dragged down and right");
        ProgramFixture f;
        f.desktop.set_screen(screen());
        const std::int64_t blocks_before = runtime::Engine::live_blocks();
        f.run([&](sim::SimDesktop& d) {
            start_region(d);
            // The live screen changes after the overlay took its picture:
            // the shot must come from the picture, not from the screen.
            d.set_screen(picture::Image(kScreenWidth, kScreenHeight, picture::rgb(1, 2, 3)));
            d.trace().clear();
            if (up_left)
                drag(d, {80, 90}, {20, 30});
            else
                drag(d, {20, 30}, {80, 90});
            const picture::Image expected = picture::crop(screen(), 20, 30, 60, 60);
            EXPECT_EQ(t::shown_picture(d), expected);
            EXPECT_EQ(d.clipboard().bitmap(), expected);
            EXPECT_FALSE(d.engine().is_loaded(overlay::kId));
            EXPECT_EQ(t::element(d, main::窗口).integer(PropertyId::visible), 1);
            EXPECT_EQ(t::element(d, main::窗口).integer(PropertyId::stay_on_top), 1);
            // A region shot lives in the picture box only, not as the current shot.
            EXPECT_TRUE(app::program_state().current_shot.empty());
            EXPECT_EQ(d.sounds().size(), 1u);
        });
        EXPECT_TRUE(f.desktop.trace().in_order(
            {"user release overlay.画板", "sound", "property overlay.后台画板 width=60",
             "property overlay.后台画板 height=60", "canvas overlay.画板 clear",
             "canvas overlay.后台画板 copy from overlay.画板 60x60 at 20,30 to 0,0",
             "canvas overlay.后台画板 picture 60x60", "property main.截图效果图片框 picture=<",
             "dll SetClipboardData", "property overlay visible=0", "destroy window overlay",
             "property main visible=1", "property main stay on top=1"}))
            << f.desktop.trace().dump();
        EXPECT_EQ(runtime::Engine::live_blocks(), blocks_before) << "every block handed over came back";
    }
}

TEST(RegionCapture, TheRubberBandFollowsOnlyADragAndInvertsWhatLiesUnderIt) {
    ProgramFixture f;
    f.desktop.set_screen(screen());
    f.run([](sim::SimDesktop& d) {
        start_region(d);
        sim::SimCanvas& canvas = overlay_canvas(d);
        const std::size_t untouched = canvas.history().size();
        d.user().move(overlay::kId, overlay::画板.element, 50, 50); // button up: nothing drawn
        EXPECT_EQ(canvas.history().size(), untouched);

        d.user().press(overlay::kId, overlay::画板.element, 10, 20);
        EXPECT_EQ(canvas.history().size(), untouched) << "a press draws nothing";
        d.user().move(overlay::kId, overlay::画板.element, 70, 60);
        d.user().move(overlay::kId, overlay::画板.element, 90, 80);
        ASSERT_EQ(canvas.since_clear().size(), 1u) << "each movement clears the previous band";
        const runtime::DrawOp band = canvas.since_clear()[0];
        EXPECT_EQ(band.kind, runtime::DrawKind::rectangle);
        EXPECT_EQ(band.coords, (std::vector<std::int32_t>{10, 20, 90, 80}));
        EXPECT_EQ(band.state.pen_width, 2);
        EXPECT_EQ(band.state.pen_colour, 0x000000FFu);
        EXPECT_EQ(runtime::rop2_for_draw_mode(band.state.draw_mode), runtime::kInvertDestination);
        EXPECT_EQ(band.state.brush_type, 0);
        // On the picture: the band's corners are inverted, its inside is the screen.
        EXPECT_EQ(canvas.image().at(10, 20), ~screen().at(10, 20) & 0x00FFFFFF);
        EXPECT_EQ(canvas.image().at(50, 50), screen().at(50, 50));
        EXPECT_EQ(canvas.image().at(70, 60), screen().at(70, 60)) << "the previous band is gone";
        d.user().right_press(overlay::kId, overlay::画板.element, 1, 1);
    });
}

TEST(RegionCapture, ARightPressCancelsKeepsTheLastShotAndEndsTheDrag) {
    ProgramFixture f;
    f.desktop.set_screen(screen());
    f.run([](sim::SimDesktop& d) {
        d.user().click(main::kId, main::按钮_截取全屏.element);
        start_region(d);
        d.user().press(overlay::kId, overlay::画板.element, 10, 10);
        d.user().move(overlay::kId, overlay::画板.element, 30, 30);
        d.user().right_press(overlay::kId, overlay::画板.element, 30, 30);
        EXPECT_FALSE(d.engine().is_loaded(overlay::kId));
        EXPECT_EQ(t::shown_picture(d), screen());
        EXPECT_EQ(d.clipboard().bitmap(), screen());
        EXPECT_EQ(d.sounds().size(), 1u) << "only the full-screen capture's";
        EXPECT_EQ(t::element(d, main::窗口).integer(PropertyId::visible), 1);
        EXPECT_EQ(t::element(d, main::窗口).integer(PropertyId::stay_on_top), 1);

        // The next overlay draws nothing until a new press.
        start_region(d);
        sim::SimCanvas& canvas = overlay_canvas(d);
        const std::size_t untouched = canvas.history().size();
        d.user().move(overlay::kId, overlay::画板.element, 60, 60);
        EXPECT_EQ(canvas.history().size(), untouched);
        d.user().right_press(overlay::kId, overlay::画板.element, 1, 1);
    });
}

TEST(RegionCapture, AReleaseWithoutAPressUsesTheLastPressPointZeroInAFreshRun) {
    ProgramFixture f;
    f.desktop.set_screen(screen());
    f.run([](sim::SimDesktop& d) {
        start_region(d);
        d.user().release(overlay::kId, overlay::画板.element, 12, 7);
        EXPECT_EQ(t::shown_picture(d), picture::crop(screen(), 0, 0, 12, 7));
    });
}

TEST(RegionCapture, AClickWithoutADragEndsTheOverlayAndKeepsTheLastShot) {
    ProgramFixture f;
    f.desktop.set_screen(screen());
    f.run([](sim::SimDesktop& d) {
        d.clipboard().put_text("earlier");
        for (runtime::Point end : {runtime::Point{40, 40}, runtime::Point{40, 90}}) {
            start_region(d);
            drag(d, {40, 40}, end); // a point, then a line: nothing to cut
            EXPECT_FALSE(d.engine().is_loaded(overlay::kId));
            EXPECT_EQ(t::shown_picture(d), std::nullopt);
            ASSERT_EQ(d.clipboard().entries().size(), 1u);
            EXPECT_EQ(d.clipboard().entries()[0].text, "earlier");
            EXPECT_EQ(t::element(d, main::窗口).integer(PropertyId::visible), 1);
        }
        EXPECT_TRUE(d.sounds().empty());
    });
}

TEST(RegionCapture, TheMainWindowHidesOnlyOnTheExactWordAndComesBackOnTop) {
    for (const char* value : {"真", "真的"}) {
        SCOPED_TRACE(value);
        const bool hides = std::string(value) == "真";
        ProgramFixture f;
        f.desktop.set_screen(screen());
        f.run([&](sim::SimDesktop& d) {
            t::write_settings(d, {t::hide(value)});
            d.trace().clear();
            start_region(d);
            EXPECT_EQ(t::element(d, main::窗口).integer(PropertyId::visible), hides ? 0 : 1);
            drag(d, {0, 0}, {10, 10});
            EXPECT_EQ(t::element(d, main::窗口).integer(PropertyId::visible), 1);
        });
        if (hides) {
            EXPECT_TRUE(f.desktop.trace().in_order({"property main visible=0", "create window overlay",
                                                    "snapshot screen", "property main visible=1"}))
                << f.desktop.trace().dump();
        }
    }
}
