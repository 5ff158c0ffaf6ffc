// Saving the shown shot as JPEG, run as the real program on the simulated
// desktop: the name rules, the file written, and what a failed save leaves.
#include "capture/save.h"
#include "forms/layouts/elements.h"
#include "runtime/core/picture/decode.h"
#include "runtime/sim/user.h"
#include "tests/app/capture_helpers.h"
#include "tests/app/program_fixture.h"
#include "text/gbk.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <set>

using namespace vorn;
using forms::PropertyId;
using vorn::testing::ProgramFixture;
namespace main = vorn::ui::主窗口;
namespace t = vorn::testing;
namespace fs = std::filesystem;

namespace {

constexpr std::int32_t kWidth = 120;
constexpr std::int32_t kHeight = 90;

void take_shot(sim::SimDesktop& d, std::uint8_t blue = 7) {
    d.set_screen(t::test_screen(kWidth, kHeight, blue));
    d.user().click(main::kId, main::按钮_截取全屏.element);
}

void save_as(sim::SimDesktop& d, std::optional<std::string> utf8_name) {
    d.answer_file_dialog(std::move(utf8_name));
    d.user().click(main::kId, main::按钮_保存.element);
}

fs::path host(sim::SimDesktop& d, const std::string& utf8_path) {
    return d.files().map(text::utf8_to_gbk(utf8_path));
}

Bytes file_bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::set<std::string> names_in(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// The JPEG the shot must become: the same encoder at quality 70.
Bytes expected_jpeg(std::uint8_t blue = 7) {
    return picture::encode_jpeg(t::test_screen(kWidth, kHeight, blue), 70).value();
}

std::string dialog_file_name(sim::SimDesktop& d) {
    return text::gbk_to_utf8(t::element(d, main::通用对话框1).text(PropertyId::file_name));
}

} // namespace

TEST(SaveNames, JpgIsAppendedUnlessTheLastFourBytesAreExactlyIt) {
    const std::pair<std::string, std::string> cases[] = {
        {"shot", "shot.jpg"},
        {"shot.jpg", "shot.jpg"},
        {"shot.JPG", "shot.JPG.jpg"},
        {"shot.bmp", "shot.bmp.jpg"},
        {"a", "a.jpg"}, // shorter than the extension
        {"jpg", "jpg.jpg"},
        {".jpg", ".jpg"},
        {"截图jpg", "截图jpg.jpg"},
        {"C:\\截图\\图.jpg", "C:\\截图\\图.jpg"},
    };
    for (const auto& [chosen, saved] : cases)
        EXPECT_EQ(text::gbk_to_utf8(capture::jpeg_file_name(text::utf8_to_gbk(chosen))), saved) << chosen;
}

TEST(Save, WritesTheShotAsJpegOfQuality70UnderTheCompletedName) {
    ProgramFixture f;
    f.run([](sim::SimDesktop& d) {
        fs::create_directories(host(d, "D:\\截图"));
        take_shot(d);
        d.trace().clear();
        save_as(d, "D:\\截图\\shot");
        ASSERT_EQ(d.file_dialogs().size(), 1u);
        EXPECT_EQ(d.file_dialogs()[0].type, 1);
        EXPECT_EQ(d.file_dialogs()[0].filter, "*.jpg|*.jpg|*.bmp|*.bmp");
        EXPECT_EQ(dialog_file_name(d), "D:\\截图\\shot.jpg");
        EXPECT_EQ(file_bytes(host(d, "D:\\截图\\shot.jpg")), expected_jpeg());
        // Nothing of the way there is left behind, and success is silent.
        EXPECT_EQ(names_in(host(d, "D:\\截图")), std::set<std::string>{"shot.jpg"});
        EXPECT_TRUE(d.message_boxes().empty());
        EXPECT_EQ(t::element(d, main::窗口).integer(PropertyId::stay_on_top), 0);
        EXPECT_TRUE(d.trace().in_order({"property main stay on top=0", "file dialog"})) << d.trace().dump();

        // A BMP name chosen under the second filter still holds JPEG data;
        // saving again overwrites without asking; the menu item saves too.
        take_shot(d, 200);
        d.answer_file_dialog("D:\\截图\\shot.bmp");
        d.choose_in_next_popup(main::菜单_保存图片.element);
        d.user().right_press(main::kId, main::截图效果图片框.element, 5, 5);
        EXPECT_EQ(file_bytes(host(d, "D:\\截图\\shot.bmp.jpg")), expected_jpeg(200));
        save_as(d, "D:\\截图\\shot.jpg");
        EXPECT_EQ(file_bytes(host(d, "D:\\截图\\shot.jpg")), expected_jpeg(200));
        EXPECT_EQ(names_in(host(d, "D:\\截图")), (std::set<std::string>{"shot.jpg", "shot.bmp.jpg"}));
        EXPECT_TRUE(d.message_boxes().empty());
    });
}

TEST(Save, AnEmptyBoxIsReportedBeforeAnyDialogAndACancelWritesNothing) {
    ProgramFixture f;
    f.run([](sim::SimDesktop& d) {
        d.user().click(main::kId, main::按钮_保存.element);
        ASSERT_EQ(d.message_boxes().size(), 1u);
        EXPECT_EQ(d.message_boxes()[0].text, "您还没有截图呢!");
        EXPECT_EQ(d.message_boxes()[0].style, 0u);
        EXPECT_TRUE(d.file_dialogs().empty());

        take_shot(d);
        const std::set<std::string> before = names_in(d.files().run_folder());
        save_as(d, std::nullopt);
        EXPECT_EQ(d.file_dialogs().size(), 1u);
        EXPECT_EQ(d.message_boxes().size(), 1u); // no second message
        EXPECT_EQ(names_in(d.files().run_folder()), before);
        EXPECT_EQ(t::element(d, main::窗口).integer(PropertyId::stay_on_top), 0);
    });
}

// A failed save says which file and why, and leaves the folder as it was:
// an earlier file byte for byte, nothing half-written, no picture data
// under a JPEG name.
TEST(Save, AFailureIsReportedAndLeavesTheFolderAsItWas) {
    struct Case {
        const char* what;
        std::function<void(sim::SimDesktop&, const fs::path&)> stage;
        const char* reason;
    };
    const Case cases[] = {
        {"read-only folder",
         [](sim::SimDesktop& d, const fs::path& folder) { d.file_faults().make_read_only(folder); },
         "文件夹是只读的,或没有写入权限。"},
        // The disk fills up part of the way through the JPEG, or at once.
        {"disk full",
         [](sim::SimDesktop& d, const fs::path& folder) { d.file_faults().fill_up(folder, 200); },
         "磁盘空间不足。"},
        {"disk full at once",
         [](sim::SimDesktop& d, const fs::path& folder) { d.file_faults().fill_up(folder, 0); },
         "磁盘空间不足。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramFixture f;
        f.run([&](sim::SimDesktop& d) {
            const fs::path folder = host(d, "E:\\shots");
            fs::create_directories(folder);
            const Bytes earlier = {'e', 'a', 'r', 'l', 'i', 'e', 'r'};
            std::ofstream(folder / "shot.jpg", std::ios::binary).write("earlier", 7);
            c.stage(d, folder);
            take_shot(d);
            save_as(d, "E:\\shots\\shot");
            ASSERT_EQ(d.message_boxes().size(), 1u);
            EXPECT_EQ(d.message_boxes()[0].text,
                      std::string("截图没有保存到文件:\r\nE:\\shots\\shot.jpg\r\n") + c.reason);
            EXPECT_EQ(file_bytes(folder / "shot.jpg"), earlier);
            EXPECT_EQ(names_in(folder), std::set<std::string>{"shot.jpg"});
        });
    }
}

TEST(Save, AFolderThatDoesNotExistIsNamedAsTheReason) {
    ProgramFixture f;
    f.run([](sim::SimDesktop& d) {
        take_shot(d);
        save_as(d, "F:\\gone\\shot");
        ASSERT_EQ(d.message_boxes().size(), 1u);
        EXPECT_EQ(d.message_boxes()[0].text, "截图没有保存到文件:\r\nF:\\gone\\shot.jpg\r\n文件夹不存在。");
        EXPECT_FALSE(fs::exists(host(d, "F:\\gone")));
    });
}
