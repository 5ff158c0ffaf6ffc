// The settings window, run as the real program on the simulated desktop:
// what it shows for what the file holds, what each click stores, and what
// the captures then do.
#include "forms/layouts/elements.h"
#include "runtime/core/settings/settings_file.h"
#include "runtime/sim/user.h"
#include "tests/app/capture_helpers.h"
#include "tests/app/program_fixture.h"
#include "text/gbk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace vorn;
using forms::PropertyId;
using vorn::testing::ProgramFixture;
namespace main = vorn::ui::主窗口;
namespace options = vorn::ui::设置窗口;
namespace t = vorn::testing;
namespace fs = std::filesystem;

namespace {

struct Shown {
    bool hide, sound, copy;
    bool operator==(const Shown&) const = default;
};

Shown shown(sim::SimDesktop& d) {
    return {t::element(d, options::选择框1).integer(PropertyId::checked) != 0,
            t::element(d, options::选择框2).integer(PropertyId::checked) != 0,
            t::element(d, options::选择框3).integer(PropertyId::checked) != 0};
}

fs::path settings_file(sim::SimDesktop& d) {
    return d.files().run_folder() / "设置.ini";
}

// The stored value, UTF-8.
std::string stored(sim::SimDesktop& d, const char* section, const char* key) {
    return text::gbk_to_utf8(
        settings::read_value(settings_file(d), text::utf8_to_gbk(section), text::utf8_to_gbk(key)));
}

std::string file_text(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Opens the window, runs `inside` while it is open, and closes it with its button.
void with_settings_window(sim::SimDesktop& d, std::function<void(sim::SimDesktop&)> inside) {
    d.on_modal(options::kId, [inside](sim::SimDesktop& d) {
        inside(d);
        d.user().click(options::kId, options::按钮1.element);
    });
    d.user().click(main::kId, main::按钮_设置.element);
    EXPECT_FALSE(d.engine().is_loaded(options::kId));
}

} // namespace

TEST(SettingsWindow, WithoutAFileShowsTheDefaultsAndWritesNothing) {
    ProgramFixture f;
    f.run([](sim::SimDesktop& d) {
        ASSERT_TRUE(d.engine()
                        .write_property(main::kId, main::kId, PropertyId::stay_on_top, -1, std::int64_t(1))
                        .ok());
        with_settings_window(d, [](sim::SimDesktop& d) {
            EXPECT_EQ(shown(d), (Shown{false, true, false}));
            EXPECT_EQ(d.engine().window(options::kId)->parent, main::kId);
            EXPECT_TRUE(d.engine().window(options::kId)->modal);
            EXPECT_EQ(t::element(d, main::窗口).integer(PropertyId::stay_on_top), 0);
        });
        EXPECT_FALSE(fs::exists(settings_file(d)));
    });
}

TEST(SettingsWindow, ShowsOnlyTheExactWordsAsTheCapturesReadThem) {
    struct Case {
        const char *hide, *sound, *copy;
        Shown expected;
    };
    const Case cases[] = {
        {"真", "否", "真", {true, true, true}}, // a hand-edited 否 still plays
        {"假", "假", "假", {false, false, false}},
        {"true", "", "1", {false, true, false}},
        {"", "0", "", {false, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.hide) + "/" + c.sound + "/" + c.copy);
        ProgramFixture f;
        f.run([&](sim::SimDesktop& d) {
            t::write_settings(d, {t::hide(c.hide), t::sound(c.sound), {"截图选项", "复制到剪贴板", c.copy}});
            const std::string before = file_text(settings_file(d));
            with_settings_window(d, [&](sim::SimDesktop& d) { EXPECT_EQ(shown(d), c.expected); });
            EXPECT_EQ(file_text(settings_file(d)), before);
        });
    }
}

TEST(SettingsWindow, EachClickStoresTheWordAtOnceAndTheNextOpeningShowsIt) {
    ProgramFixture f;
    f.run([](sim::SimDesktop& d) {
        with_settings_window(d, [](sim::SimDesktop& d) {
            d.user().click(options::kId, options::选择框2.element);
            EXPECT_EQ(stored(d, "截图时声音", "是否播放"), "假");
            EXPECT_NE(file_text(settings_file(d)).find(text::utf8_to_gbk("是否播放=假")), std::string::npos)
                << "stored as GBK";
            d.user().click(options::kId, options::选择框2.element);
            EXPECT_EQ(stored(d, "截图时声音", "是否播放"), "真");
            d.user().click(options::kId, options::选择框1.element);
            d.user().click(options::kId, options::选择框3.element);
        });
        EXPECT_EQ(stored(d, "截图时隐藏", "是否隐藏本窗口"), "真");
        EXPECT_EQ(stored(d, "截图选项", "复制到剪贴板"), "真");
        with_settings_window(d, [](sim::SimDesktop& d) {
            EXPECT_EQ(shown(d), (Shown{true, true, true}));
            d.user().click(options::kId, options::选择框2.element);
        });

        // The next capture hides the window and plays no sound.
        d.trace().clear();
        d.user().click(main::kId, main::按钮_截取全屏.element);
        EXPECT_FALSE(d.trace().starting_with("property main visible=0").empty()) << d.trace().dump();
        EXPECT_TRUE(d.sounds().empty());
    });
}

TEST(SettingsWindow, AClickTheFileDoesNotTakeIsUndoneAndSaid) {
    ProgramFixture f;
    f.run([](sim::SimDesktop& d) {
        t::write_settings(d, {t::hide("假")});
        const std::string before = file_text(settings_file(d));
        d.file_faults().make_read_only(d.files().run_folder());
        with_settings_window(d, [](sim::SimDesktop& d) {
            d.user().click(options::kId, options::选择框1.element);
            EXPECT_EQ(shown(d), (Shown{false, true, false}));
            ASSERT_EQ(d.message_boxes().size(), 1u);
            EXPECT_EQ(d.message_boxes()[0].text, "设置没有保存到文件:\r\nC:\\VornShot\\设置.ini");
        });
        EXPECT_EQ(file_text(settings_file(d)), before);
    });
}
