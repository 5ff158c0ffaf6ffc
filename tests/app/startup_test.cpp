#include "app/program_state.h"
#include "forms/events.h"
#include "forms/layouts/elements.h"
#include "runtime/sim/user.h"
#include "tests/app/program_fixture.h"
#include "text/gbk.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vorn;
using forms::PropertyId;
using vorn::testing::ProgramFixture;
namespace main = vorn::ui::主窗口;

namespace {

std::int64_t main_property(sim::SimDesktop& d, PropertyId property) {
    return d.engine().window(main::kId)->own().integer(property);
}

bool main_window_was_shown(const sim::SimDesktop& d) {
    const auto& lines = const_cast<sim::SimDesktop&>(d).trace().lines();
    return std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find("property main visible=1") != std::string::npos;
    });
}

} // namespace

TEST(StartUp, OneCopyShowsTheReadyMainWindow) {
    ProgramFixture f;
    f.desktop.set_process_names({"explorer.EXE", "VornShot.EXE"});
    const int code = f.run([](sim::SimDesktop& d) {
        runtime::LiveWindow* window = d.engine().window(main::kId);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(text::gbk_to_utf8(window->own().text(PropertyId::text)), "Vorn截图工具V6.0");
        EXPECT_EQ(main_property(d, PropertyId::visible), 1);
        EXPECT_EQ(main_property(d, PropertyId::width), 678);
        EXPECT_EQ(main_property(d, PropertyId::height), 514); // stored 554, shortened once
        for (auto ref : {main::透明标签1, main::广告标签, main::外形框1})
            EXPECT_EQ(window->find(ref.element)->integer(PropertyId::visible), 0);
    });
    EXPECT_EQ(code, 0);

    std::vector<std::string> tips;
    for (const sim::TipRecord& tip : f.desktop.tips())
        tips.push_back(tip.control_name + " " + tip.text);
    EXPECT_EQ(tips, (std::vector<std::string>{
                        "按钮_退出 退出程序", "按钮_打印 打印截图", "按钮_放大 放大显示截图",
                        "按钮_清除 清除截图", "按钮_保存 保存截图为图片文件", "按钮_设置 设置选项",
                        "按钮_编辑 给截图添加图示或文字", "按钮_截取窗口 截取选择的窗口图片",
                        "按钮_截取全屏 截取电脑全屏图片", "按钮_截取区域 截取拖动选择区域图片",
                        "按钮_复制 复制截图到剪贴板", "按钮_关于 查看软件信息"}));

    const auto& preparations = f.desktop.device_preparations();
    ASSERT_EQ(preparations.size(), 3u);
    EXPECT_EQ(preparations[0].selector, 0x8Cu);
    EXPECT_EQ(preparations[0].value, 1);
    EXPECT_EQ(preparations[1].selector, 0x98u);
    EXPECT_EQ(preparations[1].value, 50);
    EXPECT_EQ(preparations[2].selector, 0x38u);
    EXPECT_EQ(preparations[2].value, 0);

    ASSERT_EQ(f.desktop.files().shortcuts().size(), 1u);
    const sim::ShortcutRecord& shortcut = f.desktop.files().shortcuts()[0];
    EXPECT_NE(shortcut.link.find("Vorn截图工具"), std::string::npos);
    EXPECT_TRUE(shortcut.target.ends_with("\\VornShot.exe")) << shortcut.target;
    EXPECT_FALSE(shortcut.file.empty());
}

TEST(StartUp, SingleInstanceRuleByProcessNames) {
    struct Case {
        const char* name;
        const char* file_name;
        std::vector<std::string> processes;
        bool second_copy;
    };
    const std::vector<Case> cases = {
        {"two copies", "VornShot.exe", {"VornShot.EXE", "explorer.EXE", "VornShot.EXE"}, true},
        {"one copy", "VornShot.exe", {"VornShot.EXE"}, false},
        {"\"exe\" inside the name", "myexe.exe", {"myEXE.EXE", "myEXE.EXE"}, true},
        {"lower-case extension in the list", "VornShot.exe", {"VornShot.exe", "VornShot.exe"}, false},
        {"empty list", "VornShot.exe", {}, false},
    };
    for (const Case& c : cases) {
        ProgramFixture f;
        f.desktop.set_program_file_name(c.file_name);
        f.desktop.set_process_names(c.processes);
        EXPECT_EQ(f.run(), 0) << c.name;
        // A second copy ends inside its created handler: never shown, no tips, no shortcut.
        EXPECT_EQ(main_window_was_shown(f.desktop), !c.second_copy) << c.name;
        EXPECT_EQ(f.desktop.tips().empty(), c.second_copy) << c.name;
        EXPECT_EQ(f.desktop.files().shortcuts().empty(), c.second_copy) << c.name;
    }
}

TEST(StartUp, EveryStartShortensOnceAndAsksForTheShortcut) {
    for (int start = 0; start < 2; ++start) {
        ProgramFixture f;
        f.run([](sim::SimDesktop& d) { EXPECT_EQ(main_property(d, PropertyId::height), 514); });
        EXPECT_EQ(f.desktop.files().shortcuts().size(), 1u);
    }
}

TEST(Shutdown, AboutShowsItsBoxAndDropsStayOnTop) {
    ProgramFixture f;
    f.run([](sim::SimDesktop& d) {
        ASSERT_TRUE(d.engine().write_property(main::kId, main::窗口.element, PropertyId::stay_on_top, -1,
                                              std::int64_t(1)));
        d.user().click(main::kId, main::按钮_关于.element);
        ASSERT_EQ(d.message_boxes().size(), 1u);
        const sim::MessageBoxRecord& box = d.message_boxes()[0];
        EXPECT_EQ(box.title, "关于本软件");
        EXPECT_EQ(box.style, 0u);
        EXPECT_TRUE(box.text.starts_with(std::string(20, ' ') + "Vorn截图工具V6.0" + std::string(20, ' ')));
        EXPECT_EQ(main_property(d, PropertyId::stay_on_top), 0);
        EXPECT_TRUE(d.engine().is_loaded(main::kId));
    });
}

TEST(Shutdown, ExitAndClosingTheWindowEndWithTheCleanUp) {
    for (bool use_exit_button : {true, false}) {
        ProgramFixture f;
        const int code = f.run([&](sim::SimDesktop& d) {
            EXPECT_TRUE(app::program_state().hovered_placement.allocated());
            // The exit button lies beyond the client area: raise its click.
            if (use_exit_button)
                d.user().raise(main::kId, main::按钮_退出.element, forms::event::kClicked);
            else
                d.user().close(main::kId);
            ADD_FAILURE() << "the program went on after ending";
        });
        EXPECT_EQ(code, 0);
        EXPECT_TRUE(f.engine->cleanup_ran());
        EXPECT_FALSE(app::program_state().hovered_placement.allocated());
    }
}
