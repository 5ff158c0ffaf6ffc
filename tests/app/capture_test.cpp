// Full-screen capture, the window snapshot routine and the clipboard, run as
// the real program on the simulated desktop.
#include "app/program_state.h"
#include "forms/events.h"
#include "forms/layouts/elements.h"
#include "runtime/core/picture/bitmap.h"
#include "runtime/core/picture/decode.h"
#include "runtime/core/settings/settings_file.h"
#include "runtime/sim/user.h"
#include "tests/app/capture_helpers.h"
#include "tests/app/program_fixture.h"
#include "text/gbk.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace vorn;
using forms::PropertyId;
using vorn::testing::ProgramFixture;
namespace main = vorn::ui::主窗口;
using namespace vorn::testing;

namespace {

void click_full_screen(sim::SimDesktop& d) {
    d.user().click(main::kId, main::按钮_截取全屏.element);
}

} // namespace

TEST(FullScreenCapture, WithoutSettingsShowsCopiesAndSoundsInOrder) {
    ProgramFixture f;
    f.desktop.set_screen(test_screen(320, 200));
    f.run([](sim::SimDesktop& d) {
        d.trace().clear();
        click_full_screen(d);
        EXPECT_EQ(shown_picture(d), test_screen(320, 200));
        EXPECT_EQ(d.clipboard().bitmap(), test_screen(320, 200));
        EXPECT_EQ(picture::decode_picture(app::program_state().current_shot.view()).value(),
                  test_screen(320, 200));
    });
    const sim::Trace& trace = f.desktop.trace();
    EXPECT_TRUE(trace.in_order({"user click main.按钮_截取全屏", "snapshot screen",
                                "property main.截图效果图片框 picture=<", "picture object",
                                "dll OpenClipboard(main) -> 1", "dll EmptyClipboard() -> 1",
                                "dll SetClipboardData(2, bmp#", "dll CloseClipboard() -> 1",
                                "release picture object", "sound 3419 bytes", "property main visible=1"}))
        << trace.dump();
    // No file means no hiding, and reading it does not create it.
    EXPECT_TRUE(trace.starting_with("property main visible=0").empty()) << trace.dump();
    EXPECT_TRUE(trace.starting_with("wait").empty()) << trace.dump();
    EXPECT_FALSE(std::filesystem::exists(f.desktop.files().run_folder() / "设置.ini"));
    EXPECT_TRUE(trace.starting_with("property main stay on top").empty()) << trace.dump();

    ASSERT_EQ(f.desktop.sounds().size(), 1u);
    const Bytes& wave = f.desktop.sounds()[0].wave;
    ASSERT_EQ(wave.size(), 3419u);
    EXPECT_EQ(std::string(wave.begin(), wave.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(wave.begin() + 8, wave.begin() + 12), "WAVE");
}

TEST(FullScreenCapture, HidesOnlyOnTheExactWordAndShowsAfterTheSound) {
    struct Case {
        std::string value;
        bool hides;
    };
    for (const Case& c : std::vector<Case>{
             {"真", true}, {"真的", false}, {"是真", false}, {"true", false}, {"假", false}, {"", false}}) {
        // Values are read as a profile file reads them, spaces around them
        // trimmed; what remains must be exactly the word.
        SCOPED_TRACE("hide value \"" + c.value + "\"");
        ProgramFixture f;
        f.desktop.set_screen(test_screen(64, 48));
        f.run([&](sim::SimDesktop& d) {
            write_settings(d, {hide(c.value)});
            d.trace().clear();
            click_full_screen(d);
            EXPECT_EQ(element(d, main::窗口).integer(PropertyId::visible), 1);
        });
        const sim::Trace& trace = f.desktop.trace();
        if (c.hides) {
            EXPECT_TRUE(trace.in_order({"property main visible=0", "wait 100", "snapshot screen",
                                        "property main.截图效果图片框 picture=", "dll SetClipboardData",
                                        "sound", "property main visible=1"}))
                << trace.dump();
        } else {
            EXPECT_TRUE(trace.starting_with("property main visible=0").empty()) << trace.dump();
            EXPECT_TRUE(trace.starting_with("wait").empty()) << trace.dump();
            EXPECT_TRUE(trace.in_order({"snapshot screen", "sound", "property main visible=1"}))
                << trace.dump();
        }
    }
}

TEST(FullScreenCapture, HiddenWindowIsNotInTheShot) {
    ProgramFixture f;
    f.desktop.set_screen(test_screen(1024, 768));
    f.run([](sim::SimDesktop& d) {
        write_settings(d, {hide("真")});
        click_full_screen(d);
    });
    // The sim paints no windows into the screen, so the shot must be taken
    // while the window is hidden: the snapshot line names no visible main.
    const auto& lines = f.desktop.trace().lines();
    bool hidden = false;
    for (const std::string& line : lines) {
        if (line.starts_with("property main visible="))
            hidden = line.ends_with("=0");
        if (line.starts_with("snapshot screen")) {
            EXPECT_TRUE(hidden) << f.desktop.trace().dump();
            break;
        }
    }
}

TEST(FullScreenCapture, SoundIsSilencedOnlyByTheExactWord) {
    struct Case {
        std::optional<std::string> value; // none: no key at all
        bool plays;
    };
    for (const Case& c : std::vector<Case>{{std::nullopt, true},
                                           {"假", false},
                                           {"真", true},
                                           {"否", true},
                                           {"false", true},
                                           {"0", true},
                                           {"假的", true},
                                           {"", true}}) {
        SCOPED_TRACE("sound value " + (c.value ? "\"" + *c.value + "\"" : std::string("absent")));
        ProgramFixture f;
        f.desktop.set_screen(test_screen(32, 32));
        f.run([&](sim::SimDesktop& d) {
            if (c.value)
                write_settings(d, {sound(*c.value)});
            else
                write_settings(d, {hide("假")}); // the file exists, the key does not
            click_full_screen(d);
        });
        EXPECT_EQ(f.desktop.sounds().size(), c.plays ? 1u : 0u);
        EXPECT_EQ(f.desktop.clipboard().bitmap(), test_screen(32, 32)) << "the copy does not depend on sound";
    }
}

TEST(FullScreenCapture, SettingsAreReadAfreshForEveryCapture) {
    ProgramFixture f;
    f.run([](sim::SimDesktop& d) {
        click_full_screen(d);
        write_settings(d, {sound("假"), hide("真")});
        click_full_screen(d);
    });
    EXPECT_EQ(f.desktop.sounds().size(), 1u);
    EXPECT_EQ(f.desktop.trace().starting_with("wait 100").size(), 1u);
}

TEST(FullScreenCapture, SecondShotReplacesTheFirstAndLeaksNothing) {
    ProgramFixture f;
    f.desktop.set_screen(test_screen(100, 80, 1));
    std::int64_t blocks_after_first = 0;
    std::size_t bitmaps_after_first = 0;
    f.run([&](sim::SimDesktop& d) {
        click_full_screen(d);
        blocks_after_first = runtime::Engine::live_blocks();
        bitmaps_after_first = d.pictures().live_bitmaps();
        d.set_screen(test_screen(90, 70, 2));
        click_full_screen(d);
        EXPECT_EQ(runtime::Engine::live_blocks(), blocks_after_first);
        // The clipboard let go of the first bitmap when it took the second.
        EXPECT_EQ(d.pictures().live_bitmaps(), bitmaps_after_first);
        EXPECT_EQ(d.pictures().live_objects(), 0u);
        EXPECT_EQ(picture::decode_picture(app::program_state().current_shot.view()).value(),
                  test_screen(90, 70, 2));
        EXPECT_EQ(shown_picture(d), test_screen(90, 70, 2));
        ASSERT_EQ(d.clipboard().entries().size(), 1u);
        EXPECT_EQ(d.clipboard().bitmap(), test_screen(90, 70, 2));
    });
    EXPECT_TRUE(app::program_state().current_shot.empty()) << "the clean-up releases the shot";
}

TEST(Clipboard, CaptureReplacesEarlierContentAndSurvivesTheObject) {
    ProgramFixture f;
    f.desktop.set_screen(test_screen(40, 30));
    f.desktop.clipboard().put_text("earlier text");
    f.run([](sim::SimDesktop& d) { click_full_screen(d); });
    const auto& entries = f.desktop.clipboard().entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].format, sim::kFormatBitmap);
    // The picture object is gone; the bitmap it handed over must still be
    // live, or a paste would find nothing.
    EXPECT_EQ(f.desktop.pictures().live_objects(), 0u);
    EXPECT_EQ(f.desktop.clipboard().bitmap(), test_screen(40, 30));
    EXPECT_FALSE(f.desktop.clipboard().is_open());
}

TEST(Clipboard, RetriesWhileAnotherProgramHoldsItThenGivesUpQuietly) {
    {
        ProgramFixture f;
        f.desktop.set_screen(test_screen(16, 16));
        f.desktop.clipboard().hold_elsewhere(3);
        f.run([](sim::SimDesktop& d) { click_full_screen(d); });
        EXPECT_EQ(f.desktop.clipboard().open_attempts(), 4);
        EXPECT_EQ(f.desktop.clipboard().bitmap(), test_screen(16, 16));
        EXPECT_FALSE(f.desktop.clipboard().is_open());
        EXPECT_EQ(f.desktop.message_boxes().size(), 0u);
    }
    {
        ProgramFixture f;
        f.desktop.set_screen(test_screen(16, 16));
        f.desktop.clipboard().put_text("kept");
        f.desktop.clipboard().hold_elsewhere(1000);
        std::uint64_t started = 0;
        f.run([&](sim::SimDesktop& d) {
            started = d.now();
            click_full_screen(d);
            // Bounded: the capture is not held up for long.
            EXPECT_LE(d.now() - started, 500u);
        });
        EXPECT_LE(f.desktop.clipboard().open_attempts(), 20);
        ASSERT_EQ(f.desktop.clipboard().entries().size(), 1u);
        EXPECT_EQ(f.desktop.clipboard().entries()[0].text, "kept");
        // The bitmap nobody took went with its picture object.
        EXPECT_EQ(f.desktop.pictures().live_bitmaps(), 0u);
        EXPECT_EQ(f.desktop.message_boxes().size(), 0u);
        EXPECT_EQ(f.desktop.sounds().size(), 1u) << "the rest of the capture goes on";
    }
}

TEST(CopyCommand, EmptyPictureBoxTellsTheUserAndLeavesTheClipboard) {
    for (bool from_menu : {false, true}) {
        SCOPED_TRACE(from_menu ? "menu item" : "button");
        ProgramFixture f;
        f.desktop.clipboard().put_text("untouched");
        f.run([&](sim::SimDesktop& d) {
            ASSERT_TRUE(d.engine()
                            .write_property(main::kId, main::窗口.element, PropertyId::stay_on_top, -1,
                                            std::int64_t(1))
                            .ok());
            if (from_menu)
                d.user().choose_menu(main::kId, main::菜单_复制图片.element);
            else
                d.user().click(main::kId, main::按钮_复制.element);
            EXPECT_EQ(element(d, main::窗口).integer(PropertyId::stay_on_top), 0);
        });
        ASSERT_EQ(f.desktop.message_boxes().size(), 1u);
        const sim::MessageBoxRecord& box = f.desktop.message_boxes()[0];
        EXPECT_EQ(box.text, "您还没有截图呢！");
        EXPECT_EQ(box.raw_text, text::utf8_to_gbk("您还没有截图呢！"));
        EXPECT_EQ(box.title, "");
        EXPECT_EQ(box.style, 0u);
        ASSERT_EQ(f.desktop.clipboard().entries().size(), 1u);
        EXPECT_EQ(f.desktop.clipboard().entries()[0].text, "untouched");
        EXPECT_EQ(f.desktop.clipboard().open_attempts(), 0);
    }
}

TEST(CopyCommand, CopiesWhatThePictureBoxShowsNow) {
    ProgramFixture f;
    f.desktop.set_screen(test_screen(50, 40, 3));
    f.run([](sim::SimDesktop& d) {
        click_full_screen(d);
        // Something else (a region shot, an edit) changes the picture box
        // afterwards; the current shot stays as it was.
        ASSERT_TRUE(d.engine()
                        .write_property(main::kId, main::截图效果图片框.element, PropertyId::picture, -1,
                                        picture::encode_bmp(test_screen(20, 10, 9)))
                        .ok());
        d.clipboard().put_text("in between");
        d.user().click(main::kId, main::按钮_复制.element);
        EXPECT_EQ(d.clipboard().bitmap(), test_screen(20, 10, 9));
        ASSERT_EQ(d.clipboard().entries().size(), 1u);
        EXPECT_EQ(picture::decode_picture(app::program_state().current_shot.view()).value(),
                  test_screen(50, 40, 3));
    });
    EXPECT_TRUE(f.desktop.message_boxes().empty());
}

TEST(WindowSnapshot, PhotographsTheTargetAndKeepsTheMainWindowOnTop) {
    ProgramFixture f;
    f.desktop.set_screen(test_screen(300, 200));
    const std::uint64_t target = 0x4242;
    f.desktop.windows().add_foreign({.handle = target, .title = "记事本", .rect = {40, 30, 160, 110}});
    f.run([&](sim::SimDesktop& d) {
        write_settings(d, {hide("真"), sound("假")});
        app::ProgramState& state = app::program_state();
        state.target_window = target;
        state.target_width = 120;
        state.target_height = 80;
        d.trace().clear();
        // The button lies outside the window's client area: no user reaches it.
        EXPECT_TRUE(d.user().raise(main::kId, main::按钮2.element, forms::event::kClicked));
        EXPECT_EQ(element(d, main::窗口).integer(PropertyId::stay_on_top), 1);
        EXPECT_EQ(shown_picture(d), picture::crop(test_screen(300, 200), 40, 30, 120, 80));
        EXPECT_EQ(d.clipboard().bitmap(), picture::crop(test_screen(300, 200), 40, 30, 120, 80));
    });
    const sim::Trace& trace = f.desktop.trace();
    EXPECT_TRUE(trace.in_order({"snapshot window", "property main.截图效果图片框 picture=",
                                "dll SetClipboardData", "property main stay on top=1"}))
        << trace.dump();
    // The routine neither hides nor shows the main window, and "假" silences it.
    EXPECT_TRUE(trace.starting_with("property main visible").empty()) << trace.dump();
    EXPECT_TRUE(trace.starting_with("wait").empty()) << trace.dump();
    EXPECT_TRUE(f.desktop.sounds().empty());
}
