// Printing the shown shot, run as the real program on the simulated desktop:
// one job of one page with the picture at its pixel size, by way of
// temp.jpg where it can be written and from memory where it cannot.
#include "forms/layouts/elements.h"
#include "runtime/core/picture/bitmap.h"
#include "runtime/sim/user.h"
#include "tests/app/capture_helpers.h"
#include "tests/app/program_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace vorn;
using forms::PropertyId;
using vorn::testing::ProgramFixture;
namespace main = vorn::ui::主窗口;
namespace t = vorn::testing;
namespace fs = std::filesystem;

namespace {

void take_shot(sim::SimDesktop& d, std::int32_t width, std::int32_t height, std::uint8_t blue) {
    d.set_screen(t::test_screen(width, height, blue));
    d.user().click(main::kId, main::按钮_截取全屏.element);
}

void print(sim::SimDesktop& d) {
    d.user().click(main::kId, main::按钮_打印.element);
}

Bytes file_bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

Bytes shown_bytes(sim::SimDesktop& d) {
    return runtime::as_bytes(t::element(d, main::截图效果图片框).get(PropertyId::picture));
}

} // namespace

TEST(Print, OnePageWithTheShownPictureAtItsPixelSizeByWayOfTempJpg) {
    ProgramFixture f;
    f.run([](sim::SimDesktop& d) {
        take_shot(d, 300, 200, 7);
        d.trace().clear();
        print(d);
        ASSERT_EQ(d.print_jobs().size(), 1u);
        ASSERT_EQ(d.print_jobs()[0].pictures.size(), 1u);
        const sim::PrintedPicture& printed = d.print_jobs()[0].pictures[0];
        EXPECT_EQ(printed.image, t::test_screen(300, 200, 7));
        EXPECT_EQ((std::array{printed.left, printed.top, printed.width, printed.height}),
                  (std::array{0, 0, 300, 200}));
        // temp.jpg holds the picture data as it is, whatever its format.
        EXPECT_EQ(file_bytes(d.files().run_folder() / "temp.jpg"), shown_bytes(d));
        EXPECT_TRUE(d.message_boxes().empty());
        EXPECT_TRUE(d.trace().in_order({"property main stay on top=0", "print picture", "end print job"}))
            << d.trace().dump();

        // The menu item prints too; a second print overwrites temp.jpg.
        take_shot(d, 120, 80, 99);
        d.choose_in_next_popup(main::菜单_打印图片.element);
        d.user().right_press(main::kId, main::截图效果图片框.element, 5, 5);
        ASSERT_EQ(d.print_jobs().size(), 2u);
        EXPECT_EQ(d.print_jobs()[1].pictures.at(0).image, t::test_screen(120, 80, 99));
        EXPECT_EQ(file_bytes(d.files().run_folder() / "temp.jpg"), shown_bytes(d));
    });
}

TEST(Print, AReadOnlyRunDirectoryPrintsTheCurrentShotNotAnOlderTempJpg) {
    ProgramFixture f;
    f.run([](sim::SimDesktop& d) {
        take_shot(d, 300, 200, 7);
        print(d);
        const Bytes older = file_bytes(d.files().run_folder() / "temp.jpg");
        d.file_faults().make_read_only(d.files().run_folder());
        take_shot(d, 160, 90, 250);
        print(d);
        ASSERT_EQ(d.print_jobs().size(), 2u);
        const sim::PrintedPicture& printed = d.print_jobs()[1].pictures.at(0);
        EXPECT_EQ(printed.image, t::test_screen(160, 90, 250));
        EXPECT_EQ((std::array{printed.width, printed.height}), (std::array{160, 90}));
        EXPECT_EQ(file_bytes(d.files().run_folder() / "temp.jpg"), older);
        EXPECT_TRUE(d.message_boxes().empty());
    });
}

TEST(Print, AnEmptyBoxPrintsNothingWritesNothingAndSaysSo) {
    ProgramFixture f;
    f.run([](sim::SimDesktop& d) {
        take_shot(d, 50, 40, 1);
        d.user().click(main::kId, main::按钮_清除.element);
        print(d);
        EXPECT_TRUE(d.print_jobs().empty());
        EXPECT_TRUE(d.unfinished_print_job().pictures.empty());
        EXPECT_FALSE(fs::exists(d.files().run_folder() / "temp.jpg"));
        ASSERT_EQ(d.message_boxes().size(), 1u);
        EXPECT_EQ(d.message_boxes()[0].text, "您还没有截图呢!");
    });
}
