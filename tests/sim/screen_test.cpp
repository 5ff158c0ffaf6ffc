#include "runtime/sim/sim_desktop.h"

#include "tests/sim/sim_fixtures.h"

#include <gtest/gtest.h>

namespace vorn::sim {
namespace {

using namespace forms::class_id;
using picture::Image;
using testing::control_id;

const std::uint32_t kFrame = 0x52010192;
const std::uint32_t kBox = control_id(10), kCanvas = control_id(11), kButton = control_id(12),
                    kTimer = control_id(13);

class SimScreenTest : public ::testing::Test {
  protected:
    SimScreenTest() { sim.set_screen(testing::gradient(200, 150)); }

    Image snap(runtime::SnapshotRequest request) {
        Result<Image> image = picture::decode_bmp(sim.snapshot(request).view());
        EXPECT_TRUE(image.ok());
        return image.ok() ? image.value() : Image();
    }
    // A window at (20, 10) holding a shape box at (5, 6), which holds a
    // canvas at (3, 4) and a button at (30, 0).
    runtime::LiveWindow& make_window(std::uint32_t id = kMainWindowId, bool created = true) {
        runtime::LiveWindow& window =
            windows.make(id, Rect::sized(20, 10, 100, 80),
                         {{kBox, shape_box, "外形框1", Rect::sized(5, 6, 60, 40)},
                          {kCanvas, canvas, "画板1", Rect::sized(3, 4, 10, 10), kBox},
                          {kButton, push_button, "按钮1", Rect::sized(30, 0, 20, 10), kBox},
                          {kTimer, timer, "时钟1", Rect::sized(0, -20, 24, 24)}});
        EXPECT_TRUE(sim.create_window(window, nullptr).ok());
        if (created)
            sim.show_created_window(window); // as the engine does once the created event has run
        return window;
    }
    std::uint64_t handle_of(runtime::LiveWindow& window, std::uint32_t element) {
        return sim.native_handle(window, *window.find(element));
    }

    SimDesktop sim;
    testing::LiveWindows windows;
};

TEST_F(SimScreenTest, ScreenSnapshotIsTheWholeScreen) {
    EXPECT_EQ(snap({}), sim.screen());
    EXPECT_EQ(sim.screen_size(), (runtime::Size{200, 150}));
    EXPECT_EQ(sim.trace().lines().back(), "snapshot screen");
}

TEST_F(SimScreenTest, WindowSnapshotTakesTheAskedSizeFromItsTopLeftBlackBeyondTheScreen) {
    sim.windows().add_foreign({.handle = 0x9000, .title = "notepad", .rect = {150, 100, 250, 200}});
    const Image shot = snap({0x9000, 80, 60});
    EXPECT_EQ(shot, picture::crop(sim.screen(), 150, 100, 80, 60));
    EXPECT_EQ(shot.at(49, 49), picture::rgb(199, 149, 7));
    EXPECT_EQ(shot.at(50, 0), 0u);
    EXPECT_EQ(sim.trace().lines().back(), "snapshot window notepad 80x60");
}

TEST_F(SimScreenTest, ControlSnapshotFindsItThroughItsContainerAndWindow) {
    runtime::LiveWindow& window = make_window();
    // Window (20, 10) + shape box (5, 6) + canvas (3, 4); the size defaults to the control's.
    EXPECT_EQ(snap({handle_of(window, kCanvas), {}, {}}), picture::crop(sim.screen(), 28, 20, 10, 10));
}

TEST_F(SimScreenTest, NullWindowIsTheScreenAndAnUnknownOneIsBlack) {
    EXPECT_EQ(snap({0, 7, 5}), picture::crop(sim.screen(), 0, 0, 7, 5));
    EXPECT_EQ(snap({0x4242, 7, 5}), Image(7, 5, 0));
    EXPECT_EQ(snap({0x4242, -7, 5}), Image(0, 5, 0));
}

TEST_F(SimScreenTest, PointerFindsTheFrontVisibleWindowWithStayOnTopFirst) {
    WindowTable& table = sim.windows();
    table.add_foreign({.handle = 0xA0, .rect = {0, 0, 100, 100}});
    table.add_foreign({.handle = 0xB0, .rect = {50, 50, 150, 150}});
    table.set_pointer({60, 60});
    EXPECT_EQ(sim.window_under_pointer(), 0xB0u); // added last, on top
    table.bring_to_front(0xA0);
    EXPECT_EQ(sim.window_under_pointer(), 0xA0u);
    table.foreign(0xA0)->visible = false;
    EXPECT_EQ(sim.window_under_pointer(), 0xB0u);
    table.set_pointer({10, 10});
    EXPECT_EQ(sim.window_under_pointer(), 0u); // the bare desktop

    table.foreign(0xA0)->visible = true;
    table.add_foreign({.handle = 0xC0, .rect = {0, 0, 200, 150}, .ex_style = kExTopmost});
    table.bring_to_front(0xA0);
    table.set_pointer({60, 60});
    EXPECT_EQ(sim.window_under_pointer(), 0xC0u);
}

TEST_F(SimScreenTest, ShowingOurWindowBringsItToTheFront) {
    runtime::LiveWindow& window = make_window();
    sim.windows().add_foreign({.handle = 0xA0, .rect = {0, 0, 200, 150}});
    sim.windows().set_pointer({100, 80});
    EXPECT_EQ(sim.window_under_pointer(), 0xA0u);
    sim.property_changed(window, window.own(), forms::PropertyId::visible);
    EXPECT_EQ(sim.window_under_pointer(), window.native);
}

TEST_F(SimScreenTest, AWindowIsHiddenUntilItsCreatedHandlerHasRun) {
    runtime::LiveWindow& window = make_window(kMainWindowId, false);
    sim.windows().set_pointer({100, 80});
    EXPECT_EQ(sim.window_under_pointer(), 0u) << "visible by its property, but not yet shown";
    sim.show_created_window(window);
    EXPECT_EQ(sim.trace().lines().back(), "show window main");
    EXPECT_EQ(sim.window_under_pointer(), window.native);
}

TEST_F(SimScreenTest, PointerDescendsToTheInnermostVisibleChild) {
    WindowTable& table = sim.windows();
    table.add_foreign({.handle = 0xA0, .rect = {0, 0, 100, 100}});
    table.add_foreign({.handle = 0xA2, .rect = {10, 10, 60, 60}, .parent = 0xA0, .child = true});
    table.add_foreign({.handle = 0xA4, .rect = {20, 20, 30, 30}, .parent = 0xA2, .child = true});
    table.set_pointer({25, 25});
    EXPECT_EQ(sim.window_under_pointer(), 0xA4u);
    table.foreign(0xA2)->visible = false; // hides its child too
    EXPECT_EQ(sim.window_under_pointer(), 0xA0u);
    EXPECT_EQ(sim.windows().parent(0xA4), 0xA2u);

    runtime::LiveWindow& window = make_window();
    table.set_pointer({20 + 5 + 30 + 1, 10 + 6 + 1}); // on the button, in the shape box
    EXPECT_EQ(sim.window_under_pointer(), handle_of(window, kButton));
    table.set_pointer({20 + 5 + 50, 10 + 6 + 30}); // the shape box around it
    EXPECT_EQ(sim.window_under_pointer(), handle_of(window, kBox));
    window.find(kBox)->properties[forms::PropertyId::visible] = std::int64_t(0);
    EXPECT_EQ(sim.window_under_pointer(), window.native);
}

TEST_F(SimScreenTest, ColourKeyedLayeredWindowLetsThePointerThroughItsBackground) {
    WindowTable& table = sim.windows();
    table.add_foreign({.handle = 0xA0, .title = "target", .rect = {0, 0, 200, 150}});
    runtime::LiveWindow& frame = make_window(kFrame);
    frame.own().properties[forms::PropertyId::back_colour] = std::int64_t(0xFF00FF);
    const std::uint64_t handle = frame.native;

    EXPECT_FALSE(table.set_layered(handle, {0xFF00FF, 200, kLayeredColourKey})); // not layered yet
    table.set_pointer({100, 80});
    EXPECT_EQ(sim.window_under_pointer(), handle);
    table.set_ex_style(handle, kExLayered);
    ASSERT_TRUE(table.set_layered(handle, {0xFF00FF, 200, kLayeredColourKey}));
    EXPECT_EQ(sim.window_under_pointer(), 0xA0u); // the frame's magenta background
    table.set_pointer({20 + 5 + 3 + 2, 10 + 6 + 4 + 2});
    EXPECT_EQ(sim.window_under_pointer(), handle_of(frame, kCanvas)); // its canvas is solid
}

TEST_F(SimScreenTest, HandlesAreUniquePerWindowedElementAndGoWithTheWindow) {
    sim.windows().add_foreign({.handle = 0x10012, .rect = {0, 0, 10, 10}}); // where ours would start
    runtime::LiveWindow& main = make_window();
    runtime::LiveWindow& frame = make_window(kFrame);
    std::vector<std::uint64_t> handles = {0x10012};
    for (runtime::LiveWindow* window : {&main, &frame})
        for (std::uint32_t id : {kBox, kCanvas, kButton})
            handles.push_back(handle_of(*window, id));
    handles.push_back(main.native);
    std::sort(handles.begin(), handles.end());
    EXPECT_EQ(std::adjacent_find(handles.begin(), handles.end()), handles.end());
    EXPECT_EQ(handle_of(main, kTimer), 0u); // a component has no window
    EXPECT_EQ(handle_of(main, main.own().id), main.native);

    const std::uint64_t button = handle_of(frame, kButton);
    sim.destroy_window(frame);
    EXPECT_FALSE(sim.windows().known(button));
    EXPECT_EQ(frame.native, 0u);
    EXPECT_THROW(sim.windows().add_foreign({.handle = main.native}), std::invalid_argument);
    EXPECT_THROW(sim.windows().add_foreign({.handle = 0x77, .parent = 0x78, .child = true}),
                 std::invalid_argument);
}

} // namespace
} // namespace vorn::sim
