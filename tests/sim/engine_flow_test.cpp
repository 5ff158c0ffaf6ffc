#include "tests/sim/sim_fixtures.h"
#include "tests/sim/sim_program.h"

#include "forms/events.h"
#include "runtime/sim/user.h"

#include <gtest/gtest.h>

namespace vorn::sim {
namespace {

using namespace testing::program;
using facade::EventArgs;
using facade::Runtime;
using forms::PropertyId;

TEST(EngineFlowTest, PopupChoiceArrivesAfterTheHandlerThatOpenedTheMenu) {
    testing::SimProgram p;
    std::vector<std::string> log;
    p.on(kCanvasRightPress, [&](const Runtime& rt, const EventArgs& args) {
        log.push_back("right " + std::to_string(args.integer(0)) + "," + std::to_string(args.integer(1)));
        rt.popup_menu(kMain, kMenu);
        log.push_back("popup returned");
    });
    p.on(kMenuClicked, [&](const Runtime&, const EventArgs&) { log.push_back("menu"); });
    p.desktop.choose_in_next_popup(kMenuItem);
    EXPECT_EQ(p.run([](SimDesktop& d) { d.user().right_press(kMain, kCanvas, 3, 4); }), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"right 3,4", "popup returned", "menu"}));
    EXPECT_TRUE(p.desktop.trace().in_order(
        {"create window main \"sim\" shown", "message loop", "user right-press main.画板1 3,4",
         "popup menu main \"菜单\" -> 0x26010021", "menu choice main 0x26010021", "message loop ends",
         "end process 0"}))
        << p.desktop.trace().dump();
}

TEST(EngineFlowTest, ClipboardTransferThroughTheDllTableCopiesTheScreen) {
    testing::SimProgram p;
    p.desktop.set_screen(testing::gradient(64, 48));
    p.on(kButtonClicked, [](const Runtime& rt, const EventArgs&) {
        const facade::Block shot = rt.snapshot();
        const std::uint64_t object = rt.create_picture_object(shot);
        const auto bitmap = std::uint64_t(std::int64_t(rt.object_number(object, "Handle")));
        rt.call_dll(0, {rt.window_handle(kMainWindow)});
        rt.call_dll(1, {});
        rt.call_dll(2, {2, bitmap});
        rt.call_dll(3, {});
        rt.release_object(object);
    });
    p.run([](SimDesktop& d) { d.user().click(kMain, kCopy); });
    EXPECT_EQ(p.desktop.clipboard().bitmap(), testing::gradient(64, 48));
    EXPECT_TRUE(p.desktop.trace().in_order({"user click main.按钮_复制", "snapshot screen",
                                            "dll OpenClipboard(main) -> 1", "dll EmptyClipboard() -> 1",
                                            "dll SetClipboardData(2, bmp#1) -> ", "dll CloseClipboard() -> 1",
                                            "release picture object obj#1"}))
        << p.desktop.trace().dump();
}

TEST(EngineFlowTest, CheckBoxTogglesBeforeItsEventAndUnreachableButtonsCannotBeClicked) {
    testing::SimProgram p;
    std::vector<bool> states;
    int clicks = 0;
    p.on(kCheckClicked, [&](const Runtime& rt, const EventArgs&) {
        states.push_back(rt.flag(kCheckBox, PropertyId::checked));
    });
    p.on(kButtonClicked, [&](const Runtime&, const EventArgs&) { ++clicks; });
    p.run([](SimDesktop& d) {
        d.user().click(kMain, kCheck);
        d.user().click(kMain, kCheck);
        EXPECT_THROW(d.user().click(kMain, kHidden), std::logic_error);
        EXPECT_THROW(d.user().click(kMain, kOutside), std::logic_error); // beyond the window's right edge
        EXPECT_THROW(d.user().click(0x52019999, kCopy), std::logic_error);
        EXPECT_TRUE(
            d.user().raise(kMain, kOutside, forms::event::kClicked)); // the program can still raise it
    });
    EXPECT_EQ(states, (std::vector<bool>{true, false}));
    EXPECT_EQ(clicks, 1);
}

TEST(EngineFlowTest, ModalWindowBlocksItsOwnerUntilItCloses) {
    testing::SimProgram p;
    std::vector<std::string> log;
    p.on(kButtonClicked, [&](const Runtime& rt, const EventArgs&) {
        log.push_back("clicked");
        if (!rt.is_loaded(kDialog))
            rt.load_window(kDialog, kMain, true);
        log.push_back("handler ends");
    });
    p.desktop.on_modal(kDialog, [](SimDesktop& d) {
        EXPECT_THROW(d.user().click(kMain, kCopy), std::logic_error);
        EXPECT_THROW(d.user().close(kMain), std::logic_error);
        d.user().click(kDialog, kDialogButton);
    });
    p.run([](SimDesktop& d) {
        d.user().click(kMain, kCopy);
        // The modal loop has returned with the dialog still open.
        EXPECT_THROW(d.user().click(kMain, kCopy), std::logic_error);
        d.user().close(kDialog);
        d.user().click(kMain, kCopy);
    });
    EXPECT_EQ(log, (std::vector<std::string>{"clicked", "clicked", "handler ends", "handler ends", "clicked",
                                             "handler ends"}));
    EXPECT_TRUE(p.desktop.trace().in_order({"modal loop 0x52010030", "user click 0x52010030.按钮_确定",
                                            "modal loop 0x52010030 ends (window still open)",
                                            "user close 0x52010030", "destroy window 0x52010030"}))
        << p.desktop.trace().dump();
}

TEST(EngineFlowTest, InputDeviceMovesThePointerThatTheLibraryAsksAbout) {
    testing::SimProgram p;
    p.desktop.set_screen(picture::Image(1024, 768));
    p.desktop.windows().add_foreign({.handle = 0x9000, .title = "notepad", .rect = {600, 400, 900, 700}});
    std::vector<std::uint64_t> seen;
    p.on(kDevicePointer,
         [&](const Runtime& rt, const EventArgs&) { seen.push_back(rt.window_under_pointer()); });
    std::uint64_t main = 0, copy = 0;
    p.run([&](SimDesktop& d) {
        main = d.engine().window(kMain)->native;
        copy = d.engine().window(kMain)->find(kCopy)->native;
        for (runtime::Point to : {runtime::Point{700, 500}, {360, 310}, {65, 65}, {1000, 10}})
            d.user().device_move(kMain, kDevice, to);
    });
    EXPECT_EQ(seen, (std::vector<std::uint64_t>{0x9000, main, copy, 0}));
    EXPECT_EQ(p.desktop.trace().starting_with("window under pointer").at(0),
              "window under pointer 700,500 -> notepad");
}

} // namespace
} // namespace vorn::sim
