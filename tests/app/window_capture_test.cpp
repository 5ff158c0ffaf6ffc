// Window capture, run as the real program on the simulated desktop: the
// frame that follows the pointer, the pick on the third button report, the
// cancel, and what survives a window that goes away.
#include "app/program_state.h"
#include "capture/window_frame.h"
#include "forms/events.h"
#include "forms/layouts/elements.h"
#include "runtime/core/picture/decode.h"
#include "runtime/sim/user.h"
#include "tests/app/capture_helpers.h"
#include "tests/app/program_fixture.h"

#include <gtest/gtest.h>

using namespace vorn;
using forms::PropertyId;
using vorn::testing::ProgramFixture;
namespace main = vorn::ui::主窗口;
namespace frame = vorn::ui::边框窗口;
namespace t = vorn::testing;
namespace event = vorn::forms::event;

namespace {

constexpr std::int32_t kScreenWidth = 1024;
constexpr std::int32_t kScreenHeight = 768;
// Right of the main window (50, 50, 678 x 554), so that nothing of ours covers them.
constexpr std::uint64_t kNotepad = 0x4242;
const sim::Rect kNotepadRect{760, 100, 960, 300};
constexpr std::uint64_t kPaint = 0x4343;
const sim::Rect kPaintRect{770, 420, 1000, 700};

picture::Image screen() {
    return t::test_screen(kScreenWidth, kScreenHeight);
}

picture::Image screen_at(const sim::Rect& r) {
    return picture::crop(screen(), r.left, r.top, r.width(), r.height());
}

void lay_out(sim::SimDesktop& d) {
    d.set_screen(screen());
    d.windows().add_foreign({.handle = kNotepad, .title = "记事本", .rect = kNotepadRect});
    d.windows().add_foreign({.handle = kPaint, .title = "画图", .rect = kPaintRect});
}

runtime::Point centre(const sim::Rect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void point_at(sim::SimDesktop& d, runtime::Point at) {
    d.user().device_move(main::kId, main::输入设备1.element, at);
}

// A click where no window of ours is: only the input device sees it.
void click_elsewhere(sim::SimDesktop& d, std::int64_t button = event::kLeftButtonCode) {
    d.user().device_button(main::kId, main::输入设备1.element, button);
    d.user().device_button(main::kId, main::输入设备1.element, button);
}

// Clicks on the snapshot canvas the frame lays over the hovered window.
void click_frame_canvas(sim::SimDesktop& d) {
    d.user().press(frame::kId, frame::画板1.element, 10, 10);
    d.user().release(frame::kId, frame::画板1.element, 10, 10);
}

std::int64_t value(sim::SimDesktop& d, forms::ElementRef ref, PropertyId property) {
    return t::element(d, ref).integer(property);
}

sim::Rect geometry(sim::SimDesktop& d, forms::ElementRef ref) {
    return sim::Rect::sized(
        std::int32_t(value(d, ref, PropertyId::left)), std::int32_t(value(d, ref, PropertyId::top)),
        std::int32_t(value(d, ref, PropertyId::width)), std::int32_t(value(d, ref, PropertyId::height)));
}

void start_window_pick(sim::SimDesktop& d, sim::SimDesktop::Script while_picking) {
    d.windows().name_window(frame::kId, "frame");
    d.on_modal(frame::kId, std::move(while_picking));
    d.user().click(main::kId, main::按钮_截取窗口.element);
}

bool picking(sim::SimDesktop& d) {
    return app::program_state().window_pick_mode == 1 && d.engine().is_loaded(frame::kId);
}

} // namespace

TEST(WindowFrame, OutlinesTheRestoredRectangleOrTheWholeScreen) {
    using capture::FramePlace;
    using capture::WindowRect;
    EXPECT_EQ(capture::place_frame({100, 50, 300, 250}, 1024, 768), (FramePlace{96, 46, 208, 208, false}));
    // The size of the screen, wherever it is (a second monitor): the screen.
    EXPECT_EQ(capture::place_frame({1024, 0, 2048, 768}, 1024, 768), (FramePlace{0, 0, 1024, 768, true}));
    // One dimension is not enough to be the screen.
    EXPECT_FALSE(capture::place_frame({0, 0, 1024, 700}, 1024, 768).full_screen);

    const WindowRect child{10, 10, 110, 60};
    EXPECT_TRUE(capture::worth_framing(child, 0, 1024, 768));
    EXPECT_FALSE(capture::worth_framing(child, 0x99, 1024, 768));
    EXPECT_TRUE(capture::worth_framing({0, 10, 100, 778}, 0x99, 1024, 768)); // screen high
    EXPECT_TRUE(capture::worth_framing({5, 0, 1029, 20}, 0x99, 1024, 768));  // screen wide
}

TEST(WindowCapture, TheFrameIsCollapsedAndSeeThroughBeforeItIsShown) {
    ProgramFixture f;
    lay_out(f.desktop);
    f.run([](sim::SimDesktop& d) {
        d.trace().clear();
        start_window_pick(d, [](sim::SimDesktop& d) {
            for (auto bar : {frame::标签1, frame::标签2, frame::标签3, frame::标签4})
                EXPECT_EQ(value(d, bar, PropertyId::width), 0);
            for (auto inner : {frame::画板1, frame::透明标签1})
                EXPECT_EQ(geometry(d, inner).width() + geometry(d, inner).height(), 0);
            EXPECT_EQ(value(d, main::窗口, PropertyId::back_colour), 0x00FF00FF);
            const std::uint64_t handle = d.engine().window(frame::kId)->native;
            EXPECT_EQ(d.windows().ex_style(handle).value_or(0) & sim::kExLayered, sim::kExLayered);
            EXPECT_EQ(d.windows().layered(handle), (sim::LayeredAttributes{0x00FF00FF, 200, 1}));
            EXPECT_EQ(value(d, main::窗口, PropertyId::stay_on_top), 0);
            click_elsewhere(d, event::kRightButtonCode);
        });
    });
    EXPECT_TRUE(f.desktop.trace().in_order({"user click main.按钮_截取窗口", "window command main 2",
                                            "create window frame", "property frame.标签1 width=0",
                                            "dll SetLayeredWindowAttributes", "show window frame",
                                            "modal loop frame"}))
        << f.desktop.trace().dump();
}

// Click "窗口", point at a window, click it once: that click takes it.
TEST(WindowCapture, TheNaturalGesturePicksTheWindowOnTheUsersClick) {
    for (bool on_frame : {true, false}) {
        SCOPED_TRACE(on_frame ? "clicked on the frame's canvas over the window"
                              : "clicked where only the device sees");
        ProgramFixture f;
        lay_out(f.desktop);
        f.run([&](sim::SimDesktop& d) {
            start_window_pick(d, [&](sim::SimDesktop& d) {
                EXPECT_EQ(app::program_state().press_counter, 1) << "the release on the button";
                point_at(d, centre(kNotepadRect));
                EXPECT_EQ(geometry(d, frame::窗口), sim::Rect::sized(756, 96, 208, 208));
                EXPECT_EQ(geometry(d, frame::标签1), sim::Rect::sized(0, 0, 208, 4));
                EXPECT_EQ(geometry(d, frame::标签2), sim::Rect::sized(0, 0, 4, 208));
                EXPECT_EQ(geometry(d, frame::标签3), sim::Rect::sized(204, 0, 4, 208));
                EXPECT_EQ(geometry(d, frame::标签4), sim::Rect::sized(0, 204, 208, 4));
                EXPECT_EQ(geometry(d, frame::画板1), sim::Rect::sized(4, 4, 200, 200));
                EXPECT_EQ(value(d, frame::画板1, PropertyId::visible), 1);
                EXPECT_EQ(d.find_canvas(frame::kId, frame::画板1.element)->image(), screen_at(kNotepadRect));
                if (on_frame) {
                    click_frame_canvas(d);
                } else {
                    d.user().device_button(main::kId, main::输入设备1.element, event::kLeftButtonCode);
                    EXPECT_TRUE(picking(d)) << "the press is only the second report";
                    d.user().device_button(main::kId, main::输入设备1.element, event::kLeftButtonCode);
                }
                EXPECT_FALSE(d.engine().is_loaded(frame::kId));
            });
            EXPECT_EQ(t::shown_picture(d), screen_at(kNotepadRect));
            EXPECT_EQ(d.clipboard().bitmap(), screen_at(kNotepadRect));
            EXPECT_EQ(d.sounds().size(), 1u);
            const app::ProgramState& state = app::program_state();
            EXPECT_EQ(state.window_pick_mode, 0);
            EXPECT_EQ(state.press_counter, 0);
            EXPECT_EQ(value(d, main::窗口, PropertyId::visible), 1);
            EXPECT_EQ(value(d, main::窗口, PropertyId::stay_on_top), 1);
            EXPECT_EQ(value(d, main::窗口, PropertyId::back_colour), std::int64_t(0xFF000000));
            EXPECT_EQ(t::element(d, main::编辑框1).text(PropertyId::text),
                      std::to_string(state.target_window));
            // Further reports change nothing until the next pick starts.
            click_elsewhere(d);
            EXPECT_EQ(d.sounds().size(), 1u);
        });
    }
}

TEST(WindowCapture, OnlyAChangeOfWindowMovesTheFrameAndChildrenAreSkipped) {
    ProgramFixture f;
    lay_out(f.desktop);
    // A button inside the paint window, and a child as high as the screen.
    f.desktop.windows().add_foreign(
        {.handle = 0x5151, .title = "按钮", .rect = {800, 450, 880, 480}, .parent = kPaint, .child = true});
    f.desktop.windows().add_foreign({.handle = 0x5252,
                                     .title = "侧栏",
                                     .rect = {900, 430, 990, 690},
                                     .normal = sim::Rect{900, 0, 990, kScreenHeight},
                                     .parent = kPaint,
                                     .child = true});
    f.run([](sim::SimDesktop& d) {
        start_window_pick(d, [](sim::SimDesktop& d) {
            const sim::Rect stored = geometry(d, frame::窗口);
            point_at(d, {810, 460}); // the child button
            EXPECT_EQ(geometry(d, frame::窗口), stored) << "not framed";
            point_at(d, {950, 600}); // the screen-high side bar is framed at its restored place
            EXPECT_EQ(geometry(d, frame::窗口), sim::Rect::sized(896, -4, 98, kScreenHeight + 8));
            point_at(d, {780, 440}); // the paint window, beside the side bar's frame
            const sim::Rect framed = geometry(d, frame::窗口);
            EXPECT_EQ(framed, sim::Rect::sized(766, 416, 238, 288));
            // Inside it the pointer is over the frame's own canvas, a child:
            // nothing moves however it moves there.
            d.trace().clear();
            point_at(d, {790, 450});
            point_at(d, {800, 650});
            EXPECT_TRUE(d.trace().starting_with("property frame").empty()) << d.trace().dump();
            EXPECT_EQ(geometry(d, frame::窗口), framed);
            click_elsewhere(d, event::kRightButtonCode);
        });
    });
}

TEST(WindowCapture, AMaximisedWindowIsOutlinedRestoredButTakenAsItIs) {
    ProgramFixture f;
    lay_out(f.desktop);
    const sim::Rect current{740, 0, kScreenWidth, 720};
    f.desktop.windows().add_foreign({.handle = 0x6161,
                                     .title = "浏览器",
                                     .rect = current,
                                     .normal = sim::Rect{800, 300, 900, 400},
                                     .show_command = sim::kShowMaximised});
    f.run([&](sim::SimDesktop& d) {
        start_window_pick(d, [&](sim::SimDesktop& d) {
            point_at(d, {1000, 10});
            EXPECT_EQ(geometry(d, frame::窗口), sim::Rect::sized(796, 296, 108, 108));
            d.user().device_move(main::kId, main::输入设备1.element, {1010, 700});
            click_elsewhere(d);
        });
        EXPECT_EQ(d.clipboard().bitmap(), screen_at(current));
    });
}

TEST(WindowCapture, AWindowTheSizeOfTheScreenIsFramedInsideItsEdge) {
    ProgramFixture f;
    f.desktop.set_screen(screen());
    // Restored on a second monitor, at the screen's size.
    f.desktop.windows().add_foreign({.handle = 0x7171,
                                     .title = "全屏",
                                     .rect = {0, 0, kScreenWidth, kScreenHeight},
                                     .normal = sim::Rect{kScreenWidth, 0, 2 * kScreenWidth, kScreenHeight}});
    f.run([](sim::SimDesktop& d) {
        d.windows().bring_to_front(0x7171);
        start_window_pick(d, [](sim::SimDesktop& d) {
            point_at(d, {900, 700});
            EXPECT_EQ(geometry(d, frame::窗口), sim::Rect::sized(0, 0, kScreenWidth, kScreenHeight));
            EXPECT_EQ(geometry(d, frame::标签3), sim::Rect::sized(kScreenWidth - 4, 0, 4, kScreenHeight));
            EXPECT_EQ(geometry(d, frame::标签4), sim::Rect::sized(0, kScreenHeight - 4, kScreenWidth, 4));
            EXPECT_EQ(value(d, frame::画板1, PropertyId::visible), 0);
            click_elsewhere(d, event::kRightButtonCode);
        });
    });
}

TEST(WindowCapture, ACancelShowsTheMainWindowAndTheCountCarriesOver) {
    ProgramFixture f;
    lay_out(f.desktop);
    f.run([](sim::SimDesktop& d) {
        t::write_settings(d, {t::hide("真")});
        d.clipboard().put_text("earlier");
        start_window_pick(d, [](sim::SimDesktop& d) {
            EXPECT_EQ(value(d, main::窗口, PropertyId::visible), 0) << "hidden while picking";
            point_at(d, centre(kNotepadRect));
            click_elsewhere(d, event::kRightButtonCode);
            EXPECT_FALSE(d.engine().is_loaded(frame::kId));
        });
        EXPECT_EQ(value(d, main::窗口, PropertyId::visible), 1);
        EXPECT_EQ(value(d, main::窗口, PropertyId::back_colour), std::int64_t(0xFF000000));
        EXPECT_EQ(app::program_state().window_pick_mode, 0);
        EXPECT_EQ(app::program_state().press_counter, 1) << "not reset by the cancel";
        EXPECT_EQ(d.clipboard().entries()[0].text, "earlier");
        EXPECT_TRUE(d.sounds().empty());

        // The next pick starts at 2: the user's press is the third report.
        start_window_pick(d, [](sim::SimDesktop& d) {
            point_at(d, centre(kPaintRect));
            d.user().device_button(main::kId, main::输入设备1.element, event::kLeftButtonCode);
            EXPECT_FALSE(d.engine().is_loaded(frame::kId));
        });
        EXPECT_EQ(d.clipboard().bitmap(), screen_at(kPaintRect));
        EXPECT_EQ(value(d, main::窗口, PropertyId::visible), 1);
    });
}

TEST(WindowCapture, APickOnTheCaptureButtonOnlyShowsTheMainWindow) {
    ProgramFixture f;
    lay_out(f.desktop);
    f.run([](sim::SimDesktop& d) {
        start_window_pick(d, [](sim::SimDesktop& d) {
            const std::uint64_t button =
                d.engine().window(main::kId)->resolve(main::按钮_截取窗口.element)->native;
            const sim::Rect main_rect = geometry(d, main::窗口);
            const sim::Rect place = geometry(d, main::按钮_截取窗口);
            d.windows().set_pointer({main_rect.left + place.left + 8, main_rect.top + place.top + 30});
            ASSERT_EQ(d.windows().under_pointer(), button);
            click_elsewhere(d); // reports 2 and 3
            EXPECT_TRUE(picking(d)) << "the pick goes on";
            EXPECT_EQ(value(d, main::窗口, PropertyId::visible), 1);
            EXPECT_TRUE(d.clipboard().entries().empty());
            point_at(d, centre(kNotepadRect));
            click_elsewhere(d);
            d.user().device_button(main::kId, main::输入设备1.element, event::kLeftButtonCode);
            EXPECT_FALSE(d.engine().is_loaded(frame::kId));
        });
        EXPECT_EQ(d.clipboard().bitmap(), screen_at(kNotepadRect));
    });
}

// The framed window closes, or the pointer is over no window at all: a pick
// puts nothing stale on the clipboard and ends as a cancel does.
TEST(WindowCapture, AWindowThatGoesAwayLeavesNoStalePicture) {
    ProgramFixture f;
    lay_out(f.desktop);
    f.run([](sim::SimDesktop& d) {
        d.clipboard().put_text("earlier");
        start_window_pick(d, [](sim::SimDesktop& d) {
            point_at(d, centre(kPaintRect));
            const sim::Rect framed = geometry(d, frame::窗口);
            d.windows().remove_foreign(kPaint);
            // Over the frame's snapshot of the paint window, which is gone.
            point_at(d, {kPaintRect.left + 5, kPaintRect.bottom - 5});
            EXPECT_EQ(geometry(d, frame::窗口), framed) << "the frame stays";
            click_elsewhere(d);
            EXPECT_FALSE(d.engine().is_loaded(frame::kId));
        });
        start_window_pick(d, [](sim::SimDesktop& d) {
            point_at(d, centre(kNotepadRect));
            point_at(d, {740, 740}); // the bare desktop
            ASSERT_EQ(d.windows().under_pointer(), 0u);
            click_elsewhere(d); // reports 2 and 3, over nothing
            EXPECT_FALSE(d.engine().is_loaded(frame::kId));
        });
        EXPECT_EQ(d.clipboard().entries()[0].text, "earlier");
        EXPECT_TRUE(d.sounds().empty());
        EXPECT_EQ(t::shown_picture(d), std::nullopt);
        EXPECT_EQ(app::program_state().window_pick_mode, 0);
        EXPECT_EQ(value(d, main::窗口, PropertyId::visible), 1);
        EXPECT_EQ(t::element(d, main::编辑框1).text(PropertyId::text), "");
    });
}

// Outside a pick the device only keeps track of the window under the pointer.
TEST(WindowCapture, OutsideAPickReportsOnlyFollowThePointer) {
    ProgramFixture f;
    lay_out(f.desktop);
    f.run([](sim::SimDesktop& d) {
        d.trace().clear();
        point_at(d, centre(kNotepadRect));
        EXPECT_EQ(app::program_state().target_window, kNotepad);
        click_elsewhere(d);
        click_elsewhere(d, event::kRightButtonCode);
        EXPECT_EQ(app::program_state().press_counter, 0);
        EXPECT_TRUE(d.trace().starting_with("property").empty()) << d.trace().dump();
        EXPECT_TRUE(d.clipboard().entries().empty());
    });
}
