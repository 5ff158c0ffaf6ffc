// The picture box's commands and the enlarged view, run as the real program
// on the simulated desktop, and the view's geometry as data tables.
#include "app/program_state.h"
#include "capture/enlarged_view_geometry.h"
#include "forms/events.h"
#include "forms/layouts/elements.h"
#include "runtime/sim/user.h"
#include "tests/app/capture_helpers.h"
#include "tests/app/program_fixture.h"
#include "text/gbk.h"

#include <gtest/gtest.h>

using namespace vorn;
using capture::ViewRect;
using forms::PropertyId;
using vorn::testing::ProgramFixture;
namespace main = vorn::ui::主窗口;
namespace view = vorn::ui::放大窗口;
namespace t = vorn::testing;

namespace {

constexpr std::uint32_t kGreen = 0x0000FF00;
constexpr std::uint32_t kRed = 0x000000FF;

void take_shot(sim::SimDesktop& d) {
    d.set_screen(t::test_screen(1024, 768));
    d.user().click(main::kId, main::按钮_截取全屏.element);
}

ViewRect view_rect(sim::SimDesktop& d) {
    const runtime::LiveElement& own = t::element(d, view::窗口);
    return {std::int32_t(own.integer(PropertyId::left)), std::int32_t(own.integer(PropertyId::top)),
            std::int32_t(own.integer(PropertyId::width)), std::int32_t(own.integer(PropertyId::height))};
}

std::int64_t value(sim::SimDesktop& d, forms::ElementRef ref, PropertyId property) {
    return t::element(d, ref).integer(property);
}

std::vector<std::string> message_texts(const sim::SimDesktop& d) {
    std::vector<std::string> texts;
    for (const auto& box : d.message_boxes())
        texts.push_back(box.text);
    return texts;
}

} // namespace

TEST(EnlargedViewGeometry, StepsCompoundAndStopAtTheScreenAndAtHeight300) {
    // 860 x 574 on a 1024 x 768 screen, enlarged three times, re-centred.
    std::optional<ViewRect> at = ViewRect{50, 50, 860, 574};
    const ViewRect steps[] = {{60, 83, 903, 602}, {38, 68, 948, 632}, {14, 52, 995, 663}};
    for (const ViewRect& expected : steps) {
        at = capture::enlarged_view(*at, 1024, 768);
        ASSERT_EQ(at, expected);
    }
    EXPECT_EQ(capture::enlarged_view(*at, 1024, 768), std::nullopt); // 995 x 1.05 > 1024
    EXPECT_EQ(capture::enlarged_view({0, 0, 100, 1000}, 5000, 1050), (ViewRect{2447, 0, 105, 1050}))
        << "exactly the screen's height fits";
    EXPECT_EQ(capture::enlarged_view({0, 0, 1000, 100}, 1049, 5000), std::nullopt);

    EXPECT_EQ(capture::shrunk_view({0, 0, 474, 316}, 1024, 768), (ViewRect{287, 234, 450, 300}));
    EXPECT_EQ(capture::shrunk_view({287, 234, 450, 300}, 1024, 768), std::nullopt); // 285 < 300
    EXPECT_EQ(capture::shrunk_view({0, 0, 500, 0}, 1024, 768), std::nullopt);
    // A screen smaller than the window centres it at negative coordinates.
    EXPECT_EQ(capture::shrunk_view({0, 0, 1000, 400}, 640, 300), (ViewRect{-155, -40, 950, 380}));
}

TEST(EnlargedViewGeometry, TheBoxFillsTheWindowBelowTheStripAndTheLabelsSitTopRight) {
    EXPECT_EQ(capture::view_layout(860, 574, 30, 30), (capture::ViewLayout{{1, 20, 858, 534}, 828, 788}));
    EXPECT_EQ(capture::view_layout(995, 663, 30, 30), (capture::ViewLayout{{1, 20, 993, 623}, 963, 923}));
    EXPECT_EQ(capture::view_layout(20, 30, 30, 30), (capture::ViewLayout{{1, 20, 18, -10}, -12, -52}));
}

TEST(EnlargedViewGeometry, LabelsAreGreenInTheirMiddleAndRedWithinFourPixelsOfTheEdge) {
    struct Case {
        std::int64_t x, y;
        std::uint32_t colour;
    };
    const Case cases[] = {{5, 5, kGreen}, {25, 15, kGreen}, {4, 10, kRed},  {26, 10, kRed},
                          {15, 4, kRed},  {15, 16, kRed},   {-1, 10, kRed}, {0, 0, kRed}};
    for (const Case& c : cases)
        EXPECT_EQ(capture::label_hover_colour(c.x, c.y, 30, 20), c.colour) << c.x << "," << c.y;
    EXPECT_EQ(capture::label_hover_colour(4, 4, 8, 8), kRed) << "too small to have a middle";
}

TEST(PictureBoxCommands, AnEmptyBoxGivesEachCommandItsOwnAnswer) {
    ProgramFixture f;
    f.run([](sim::SimDesktop& d) {
        d.user().click(main::kId, main::按钮_放大.element);
        d.user().double_click(main::kId, main::截图效果图片框.element, 10, 10);
        d.user().click(main::kId, main::按钮_复制.element);
        d.user().click(main::kId, main::按钮_保存.element);
        EXPECT_EQ(message_texts(d),
                  (std::vector<std::string>{"没有截图!", "您还没有截图呢！", "您还没有截图呢!"}))
            << "the double-click says nothing";
        EXPECT_FALSE(d.engine().is_loaded(view::kId));
        EXPECT_TRUE(d.file_dialogs().empty());
    });
}

TEST(PictureBoxCommands, ClearEmptiesTheBoxAndThePickButKeepsTheShotAndTheClipboard) {
    for (bool from_menu : {false, true}) {
        SCOPED_TRACE(from_menu ? "menu item" : "button");
        ProgramFixture f;
        f.run([&](sim::SimDesktop& d) {
            take_shot(d);
            app::program_state().window_pick_mode = 1;
            ASSERT_TRUE(d.engine()
                            .write_property(main::kId, main::编辑框1.element, PropertyId::text, -1,
                                            std::string("0x1234"))
                            .ok());
            if (from_menu) {
                d.choose_in_next_popup(main::菜单_清除图片.element);
                d.user().right_press(main::kId, main::截图效果图片框.element, 3, 3);
            } else {
                d.user().click(main::kId, main::按钮_清除.element);
            }
            EXPECT_EQ(t::shown_picture(d), std::nullopt);
            EXPECT_EQ(app::program_state().window_pick_mode, 0);
            EXPECT_EQ(t::element(d, main::编辑框1).text(PropertyId::text), "");
            EXPECT_FALSE(app::program_state().current_shot.empty());
            EXPECT_EQ(d.clipboard().bitmap(), t::test_screen(1024, 768));
            EXPECT_TRUE(d.message_boxes().empty());
            d.user().click(main::kId, main::按钮_放大.element);
            EXPECT_EQ(message_texts(d), std::vector<std::string>{"没有截图!"});
        });
    }
}

TEST(PictureBoxCommands, ARightPressPopsTheMenuAtThePointerAndEachItemDoesItsCommand) {
    ProgramFixture f;
    f.run([](sim::SimDesktop& d) {
        // With nothing shown the menu still opens; its items answer for the empty box.
        d.choose_in_next_popup(main::菜单_复制图片.element);
        d.user().right_press(main::kId, main::截图效果图片框.element, 40, 30);
        ASSERT_EQ(d.popups().size(), 1u);
        EXPECT_EQ(d.popups()[0].menu, main::菜单_编辑.element);
        EXPECT_EQ(d.popups()[0].at, std::nullopt) << "no position: the menu opens at the pointer";
        EXPECT_EQ(message_texts(d), std::vector<std::string>{"您还没有截图呢！"});
        take_shot(d);
        d.clipboard().put_text("another program's");
        d.choose_in_next_popup(main::菜单_复制图片.element);
        d.user().right_press(main::kId, main::截图效果图片框.element, 40, 30);
        EXPECT_EQ(d.clipboard().bitmap(), t::test_screen(1024, 768));
    });
}

TEST(EnlargedView, OpensModallyOnTheShotLaidOutWithTipsAndOnlyOnce) {
    for (bool by_double_click : {false, true}) {
        SCOPED_TRACE(by_double_click ? "double-click" : "zoom button");
        ProgramFixture f;
        f.desktop.on_modal(view::kId, [](sim::SimDesktop& d) {
            EXPECT_EQ(view_rect(d), (ViewRect{50, 50, 860, 574}));
            EXPECT_TRUE(d.engine().window(view::kId)->modal);
            EXPECT_EQ(d.engine().window(view::kId)->parent, 0u);
            EXPECT_EQ(t::element(d, view::图片框1).get(PropertyId::picture),
                      t::element(d, main::截图效果图片框).get(PropertyId::picture));
            EXPECT_EQ(value(d, view::图片框1, PropertyId::left), 1);
            EXPECT_EQ(value(d, view::图片框1, PropertyId::top), 20);
            EXPECT_EQ(value(d, view::图片框1, PropertyId::width), 858);
            EXPECT_EQ(value(d, view::图片框1, PropertyId::height), 534);
            EXPECT_EQ(value(d, view::图片框1, PropertyId::back_colour), 0x00313131);
            EXPECT_EQ(value(d, view::透明标签1, PropertyId::left), 828);
            EXPECT_EQ(value(d, view::透明标签2, PropertyId::left), 788);
            // A second zoom or double-click while it is open changes nothing.
            ASSERT_TRUE(
                d.engine()
                    .write_property(main::kId, main::kId, PropertyId::stay_on_top, -1, std::int64_t(1))
                    .ok());
            d.user().raise(main::kId, main::按钮_放大.element, forms::event::kClicked);
            d.user().raise(main::kId, main::截图效果图片框.element, forms::event::kDoubleClicked, {5, 5, 0});
            EXPECT_EQ(value(d, main::窗口, PropertyId::stay_on_top), 1);
            d.user().release(view::kId, view::透明标签1.element, 10, 10);
        });
        f.run([&](sim::SimDesktop& d) {
            take_shot(d);
            d.trace().clear();
            if (by_double_click)
                d.user().double_click(main::kId, main::截图效果图片框.element, 100, 100);
            else
                d.user().click(main::kId, main::按钮_放大.element);
            EXPECT_FALSE(d.engine().is_loaded(view::kId));
            EXPECT_EQ(d.trace().starting_with("create window " + d.windows().window_label(view::kId)).size(),
                      1u);
            ASSERT_EQ(d.tips().size(), 14u);
            EXPECT_EQ(d.tips()[12].control_name, "图形按钮1");
            EXPECT_EQ(d.tips()[12].text, "放大");
            EXPECT_EQ(d.tips()[13].control_name, "图形按钮2");
            EXPECT_EQ(d.tips()[13].text, "缩小");
            EXPECT_TRUE(d.message_boxes().empty());
        });
        EXPECT_TRUE(f.desktop.trace().in_order(
            {"property main stay on top=0", "create window", "modal loop", "destroy window", "modal loop"}))
            << f.desktop.trace().dump();
    }
}

TEST(EnlargedView, GrowsAndShrinksInStepsHighlightsItsLabelsAndClosesOnRelease) {
    ProgramFixture f;
    f.desktop.on_modal(view::kId, [](sim::SimDesktop& d) {
        sim::SimUser& user = d.user();
        for (int step = 0; step < 4; ++step) // the fourth is refused on a 1024 x 768 screen
            user.click(view::kId, view::图形按钮1.element);
        EXPECT_EQ(view_rect(d), (ViewRect{14, 52, 995, 663}));
        EXPECT_EQ(value(d, view::图片框1, PropertyId::width), 993);
        EXPECT_EQ(value(d, view::图片框1, PropertyId::height), 623);
        EXPECT_EQ(value(d, view::透明标签1, PropertyId::left), 963);
        EXPECT_EQ(value(d, view::透明标签2, PropertyId::left), 923);
        user.click(view::kId, view::图形按钮2.element);
        EXPECT_EQ(view_rect(d), (ViewRect{39, 69, 945, 629}));
        EXPECT_EQ(value(d, view::图片框1, PropertyId::height), 589);

        // Green in the middle, written once however often the pointer moves there.
        d.trace().clear();
        user.move(view::kId, view::透明标签2.element, 15, 10);
        user.move(view::kId, view::透明标签2.element, 16, 11);
        EXPECT_EQ(value(d, view::透明标签2, PropertyId::text_colour), kGreen);
        EXPECT_EQ(
            d.trace()
                .starting_with("property " + d.windows().window_label(view::kId) + ".透明标签2 text colour")
                .size(),
            1u)
            << d.trace().dump();
        user.move(view::kId, view::透明标签2.element, 2, 10);
        EXPECT_EQ(value(d, view::透明标签2, PropertyId::text_colour), kRed);
        user.move(view::kId, view::透明标签1.element, 15, 10);
        EXPECT_EQ(value(d, view::透明标签1, PropertyId::text_colour), kGreen);

        // "关闭" acts on the release only.
        user.press(view::kId, view::透明标签1.element, 15, 10);
        EXPECT_TRUE(d.engine().is_loaded(view::kId));
        user.release(view::kId, view::透明标签1.element, 15, 10);
        EXPECT_FALSE(d.engine().is_loaded(view::kId));
    });
    f.run([](sim::SimDesktop& d) {
        take_shot(d);
        d.user().click(main::kId, main::按钮_放大.element);
        EXPECT_FALSE(d.engine().is_loaded(view::kId));
    });
}

TEST(EnlargedView, SaveActsOnThePressAndClosesTheViewSavedOrNot) {
    for (bool cancel : {false, true}) {
        SCOPED_TRACE(cancel ? "cancelled" : "saved");
        ProgramFixture f;
        f.desktop.on_modal(view::kId, [&](sim::SimDesktop& d) {
            d.answer_file_dialog(cancel ? std::nullopt : std::optional<std::string>("C:\\VornShot\\big"));
            d.user().press(view::kId, view::透明标签2.element, 15, 10);
            EXPECT_FALSE(d.engine().is_loaded(view::kId));
        });
        f.run([&](sim::SimDesktop& d) {
            take_shot(d);
            d.user().click(main::kId, main::按钮_放大.element);
            EXPECT_EQ(d.file_dialogs().size(), 1u);
            EXPECT_EQ(std::filesystem::exists(d.files().run_folder() / "big.jpg"), !cancel);
            EXPECT_TRUE(d.message_boxes().empty());
        });
    }
}
