#include "runtime/sim/sim_desktop.h"

#include "tests/sim/sim_fixtures.h"

#include <gtest/gtest.h>

namespace vorn::sim {
namespace {

using forms::PropertyId;
using testing::control_id;
using testing::gbk;

const std::uint32_t kCanvas = control_id(1), kDialog = control_id(2),
                    kMenu = forms::make_id(forms::IdKind::menu_item, 3),
                    kCopyItem = forms::make_id(forms::IdKind::menu_item, 4);

class RecordsTest : public ::testing::Test {
  protected:
    runtime::LiveWindow& main() {
        if (main_ == nullptr) {
            main_ = &windows.make(
                kMainWindowId, Rect::sized(0, 0, 300, 200),
                {{kCanvas, forms::class_id::canvas, "画板1", Rect::sized(0, 0, 40, 30)},
                 {kDialog, forms::class_id::file_dialog, "通用对话框1", Rect::sized(0, 0, 24, 24)}});
            EXPECT_TRUE(sim.create_window(*main_, nullptr).ok());
            sim.show_created_window(*main_);
        }
        return *main_;
    }

    SimDesktop sim;
    testing::LiveWindows windows;
    runtime::LiveWindow* main_ = nullptr;
};

TEST_F(RecordsTest, MessageBoxesTakeTheScriptedAnswersInOrderThenOk) {
    sim.answer_message_box(6);
    sim.answer_message_box(7);
    EXPECT_EQ(sim.message_box(gbk("您还没有截图呢！"), "", 0), 6);
    EXPECT_EQ(sim.message_box(gbk("保存?"), gbk("关于本软件"), 4), 7);
    EXPECT_EQ(sim.message_box("x", "", 0), 1);
    ASSERT_EQ(sim.message_boxes().size(), 3u);
    EXPECT_EQ(sim.message_boxes()[0].text, "您还没有截图呢！");
    EXPECT_EQ(sim.message_boxes()[0].raw_text, gbk("您还没有截图呢！"));
    EXPECT_EQ(sim.message_boxes()[1].title, "关于本软件");
    EXPECT_EQ(sim.message_boxes()[1].style, 4u);
    EXPECT_EQ(sim.trace().lines()[0], "message box \"您还没有截图呢！\" -> 6");
    EXPECT_EQ(sim.trace().lines()[1], "message box \"保存?\" title \"关于本软件\" style 4 -> 7");
}

TEST_F(RecordsTest, FileDialogRecordsItsPropertiesAndAnswersInGbkOrCancels) {
    runtime::LiveElement& dialog = *main().find(kDialog);
    dialog.properties[PropertyId::filter] = gbk("JPG图片|*.jpg");
    dialog.properties[PropertyId::default_extension] = std::string("jpg");
    dialog.properties[PropertyId::dialog_type] = std::int64_t(1);
    sim.answer_file_dialog("D:\\截图\\a.jpg");
    EXPECT_EQ(sim.open_file_dialog(main(), dialog), gbk("D:\\截图\\a.jpg"));
    EXPECT_EQ(sim.open_file_dialog(main(), dialog), std::nullopt);
    ASSERT_EQ(sim.file_dialogs().size(), 2u);
    EXPECT_EQ(sim.file_dialogs()[0].filter, "JPG图片|*.jpg");
    EXPECT_EQ(sim.file_dialogs()[0].default_extension, "jpg");
    EXPECT_EQ(sim.file_dialogs()[0].type, 1);
    EXPECT_EQ(sim.trace().lines().back(),
              "file dialog main.通用对话框1 type 1 filter \"JPG图片|*.jpg\" -> cancel");
}

TEST_F(RecordsTest, PopupChoiceIsPostedForAfterTheEventNotRaisedInside) {
    // A menu element only needs its caption here; the model is not consulted.
    runtime::LiveElement menu;
    menu.id = kMenu;
    menu.properties[PropertyId::text] = gbk("菜单");
    sim.choose_in_next_popup(kCopyItem);
    sim.popup_menu(main(), menu, runtime::Point{5, 6});
    sim.popup_menu(main(), menu, std::nullopt);
    EXPECT_EQ(sim.take_posted(),
              (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{kMainWindowId, kCopyItem}}));
    EXPECT_TRUE(sim.take_posted().empty());
    ASSERT_EQ(sim.popups().size(), 2u);
    EXPECT_EQ(sim.popups()[1].chosen, std::nullopt);
    EXPECT_EQ(sim.trace().lines().back(), "popup menu main \"菜单\" -> dismissed");
}

TEST_F(RecordsTest, WaitsSoundsAndPrintJobsKeepTheirOrderAndTime) {
    sim.wait(100);
    sim.play_sound(Bytes(3419, 0x80));
    sim.print_picture(main(), main().own(), picture::encode_bmp(picture::Image(4, 3)), 0, 0, 40, 30);
    sim.print_picture(main(), main().own(), as_bytes("junk"), 5, 5, 1, 1);
    sim.end_print_job(main(), main().own());
    EXPECT_EQ(sim.now(), 100u);
    ASSERT_EQ(sim.sounds().size(), 1u);
    EXPECT_EQ(sim.sounds()[0].time, 100u);
    ASSERT_EQ(sim.print_jobs().size(), 1u);
    ASSERT_EQ(sim.print_jobs()[0].pictures.size(), 2u);
    EXPECT_EQ(sim.print_jobs()[0].pictures[0].image.width, 4);
    EXPECT_EQ(sim.print_jobs()[0].pictures[0].width, 40);
    EXPECT_TRUE(sim.print_jobs()[0].pictures[1].image.empty());
    EXPECT_TRUE(sim.unfinished_print_job().pictures.empty());
    EXPECT_TRUE(sim.trace().in_order(
        {"wait 100", "sound 3419 bytes", "print picture 4x3", "end print job (2 pictures)"}));
}

TEST_F(RecordsTest, ProcessListByDefaultHoldsOneRunningCopyNamedWithExeUpperCased) {
    sim.set_program_file_name("myexe.exe");
    const std::vector<std::string> names = sim.process_names();
    EXPECT_EQ(std::count(names.begin(), names.end(), "myEXE.EXE"), 1);
    sim.set_process_names({"VornShot.EXE", "截图.EXE"});
    EXPECT_EQ(sim.process_names(), (std::vector<std::string>{"VornShot.EXE", gbk("截图.EXE")}));
}

TEST_F(RecordsTest, ModalScriptRunsOncePerRegistrationAndMayLeaveTheWindowOpen) {
    main();
    int runs = 0;
    sim.on_modal(kMainWindowId, [&](SimDesktop&) { ++runs; });
    sim.run_modal_loop(kMainWindowId);
    sim.run_modal_loop(kMainWindowId);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(sim.trace().lines().back(), "modal loop main ends (window still open)");
    sim.destroy_window(main());
    sim.run_modal_loop(kMainWindowId);
    EXPECT_EQ(sim.trace().lines().back(), "modal loop main ends");
}

TEST_F(RecordsTest, EndingAndFailingUnwindWithTheirCodes) {
    try {
        sim.end_process(3);
        FAIL();
    } catch (const ProgramEnded& ended) {
        EXPECT_EQ(ended.code, 3);
    }
    EXPECT_EQ(sim.exit_code(), 3);
    try {
        sim.fatal_error(4, "index 9 of 8");
        FAIL();
    } catch (const RuntimeFailure& failure) {
        EXPECT_EQ(failure.code, 4u);
    }
    EXPECT_EQ(sim.trace().lines().back(), "fatal error 4: index 9 of 8");
}

TEST_F(RecordsTest, CanvasFollowsItsControlsSizeAndPropertyChangesAreTraced) {
    runtime::LiveElement& canvas = *main().find(kCanvas);
    runtime::CanvasSurface& surface = sim.canvas(main(), canvas);
    EXPECT_EQ(surface.pixels().width, 40);
    canvas.properties[PropertyId::width] = std::int64_t(12);
    sim.property_changed(main(), canvas, PropertyId::width);
    EXPECT_EQ(surface.pixels().width, 12);
    main().own().properties[PropertyId::back_colour] = std::int64_t(0xFF00FF);
    sim.property_changed(main(), main().own(), PropertyId::back_colour);
    EXPECT_TRUE(sim.trace().in_order({"property main.画板1 width=12", "canvas main.画板1 resize 12x30",
                                      "property main back colour=0xFF00FF"}))
        << sim.trace().dump();
}

} // namespace
} // namespace vorn::sim
