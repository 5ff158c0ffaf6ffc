#include "app/program_state.h"
#include "runtime/core/contract/dll_functions.h"
#include "runtime/core/engine/block_lending.h"
#include "runtime/core/engine/engine.h"
#include "runtime/core/engine/program_block.h"
#include "runtime/core/picture/bitmap.h"
#include "runtime/sim/sim_desktop.h"
#include "runtime/sim/user.h"
#include "tests/runtime/test_program.h"
#include "tests/support/mapped_pages.h"

#include <gtest/gtest.h>

using namespace vorn;
using namespace vorn::testing;
using facade::Control;
using forms::PropertyId;

namespace {

const Control kMainWindow{ids::kMain, ids::kMainOwn, forms::class_id::window};
const Control kCheckBox{ids::kDialog, ids::kCheck, forms::class_id::check_box};
const Control kEditBox{ids::kMain, ids::kEdit, forms::class_id::edit_box};

std::string args_text(const facade::EventArgs& args) {
    std::string out;
    for (std::size_t i = 0; i < args.count(); ++i)
        out += (i ? " " : "") + std::to_string(args.integer(i));
    return out;
}

// The engine, the simulated desktop and the test program, with the start
// routine and the clean-up of a real program.
struct Fixture {
    sim::SimDesktop desktop;
    TestProgram program;
    std::unique_ptr<runtime::Engine> engine;
    int cleanups = 0;

    Fixture() {
        auto loaded = runtime::load_program(test_program_image());
        if (!loaded)
            throw std::runtime_error(loaded.error().message);
        engine = std::make_unique<runtime::Engine>(
            std::move(*loaded), desktop, [this](std::uint32_t offset, const VornArgs& args) {
                return program.dispatch(engine->services(), offset, args);
            });
        auto log = [this](std::string line) { program.log.push_back(std::move(line)); };
        program.set(handler::kStart, [log](const facade::Runtime& rt, const facade::EventArgs&) {
            log("start");
            app::global_initialisation(rt);
            rt.hand_over_cleanup(handler::kCleanup);
            rt.load_main_window(ids::kMain);
            log("loop");
            rt.run_message_loop();
            log("loop returned");
            rt.end_program(0);
        });
        program.set(handler::kCleanup, [this, log](const facade::Runtime& rt, const facade::EventArgs&) {
            ++cleanups;
            log("cleanup");
            app::global_cleanup(rt);
        });
        program.set(handler::kMainCreated, [log](const facade::Runtime& rt, const facade::EventArgs& args) {
            log("main created " + args_text(args));
            rt.set_text(kMainWindow, PropertyId::text, "caption");
            rt.set_flag(kMainWindow, PropertyId::visible, true);
        });
        program.set(handler::kMainDestroyed, [log](const facade::Runtime& rt, const facade::EventArgs&) {
            log("main destroyed");
            rt.end_program(0);
        });
        program.set(handler::kButtonClicked, [log](const facade::Runtime& rt, const facade::EventArgs&) {
            log("button");
            rt.load_window(ids::kDialog, ids::kMain, true);
            log("modal returned");
        });
        program.set(handler::kDialogCreated, [log](const facade::Runtime& rt, const facade::EventArgs&) {
            log("dialog created");
            rt.set_flag(kCheckBox, PropertyId::checked, true);
        });
        program.set(handler::kCheckClicked, [log](const facade::Runtime& rt, const facade::EventArgs&) {
            log("checked=" + std::to_string(rt.flag(kCheckBox, PropertyId::checked)));
        });
        auto logging = [log](std::string what) {
            return [log, what](const facade::Runtime&, const facade::EventArgs& args) {
                log(what + " " + args_text(args));
            };
        };
        program.set(handler::kCanvasPressed, logging("press"));
        program.set(handler::kCanvasMoved, logging("move"));
        program.set(handler::kEditKey, logging("key"));
        program.set(handler::kDeviceButton, logging("device button"));
        program.set(handler::kDevicePointer, logging("device pointer"));
        program.set(handler::kMenuClicked, logging("menu"));
    }

    int run(sim::SimDesktop::Script session) { return desktop.run(*engine, std::move(session)); }
};

} // namespace

TEST(Engine, RunsTheStartRoutineEventsAndCleanUpInOrder) {
    Fixture f;
    f.desktop.on_modal(ids::kDialog, [](sim::SimDesktop& d) {
        d.user().click(ids::kDialog, ids::kCheck); // toggles the box the created handler checked
        d.user().close(ids::kDialog);
    });
    const int code = f.run([](sim::SimDesktop& d) {
        sim::SimUser& user = d.user();
        user.click(ids::kMain, ids::kButton);
        user.press(ids::kMain, ids::kCanvas, 5, 6, 1);
        user.release(ids::kMain, ids::kCanvas, 5, 6, 1); // not bound: ignored
        user.move(ids::kMain, ids::kCanvas, 7, 8, 0);
        user.key(ids::kMain, ids::kEdit, 13);
        user.device_button(ids::kMain, ids::kDevice, 0x101);
        user.choose_menu(ids::kMain, ids::kMenuItem);
        user.choose_menu(ids::kMain, ids::kMenu); // the top-level menu has no handler
        user.close(ids::kMain);
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(f.program.log, (std::vector<std::string>{
                                 "start", "main created ", "loop", "button", "dialog created", "checked=0",
                                 "modal returned", "press 5 6 1", "move 7 8 0", "key 13 0",
                                 "device button 257", "menu ", "main destroyed", "cleanup"}));
    EXPECT_EQ(f.cleanups, 1);
    EXPECT_FALSE(app::program_state().hovered_placement.allocated());
}

TEST(Engine, ALoopThatReturnsStillEndsWithOneCleanUp) {
    Fixture f;
    EXPECT_EQ(f.run([](sim::SimDesktop&) {}), 0);
    EXPECT_EQ(f.program.log,
              (std::vector<std::string>{"start", "main created ", "loop", "loop returned", "cleanup"}));
    EXPECT_EQ(f.cleanups, 1);
}

TEST(Engine, BuildsWindowsFromTheirDefinitions) {
    Fixture f;
    f.run([](sim::SimDesktop& d) {
        runtime::LiveWindow* main = d.engine().window(ids::kMain);
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(main->own().text(PropertyId::text), "caption"); // written by the created handler
        EXPECT_EQ(main->own().integer(PropertyId::visible), 1);
        const runtime::LiveElement* canvas = main->find(ids::kCanvas);
        ASSERT_NE(canvas, nullptr);
        // Geometry stays relative to the container that holds the control.
        EXPECT_EQ(canvas->parent(), ids::kFrame);
        EXPECT_EQ(canvas->integer(PropertyId::left), 5);
        EXPECT_EQ(canvas->integer(PropertyId::top), 6);
        EXPECT_EQ(main->find(ids::kEdit)->integer(PropertyId::focusable), 1);
        EXPECT_EQ(main->find(ids::kFrame)->integer(PropertyId::focusable), 0);
        EXPECT_FALSE(d.engine().is_loaded(ids::kDialog));
    });
}

TEST(Engine, PropertiesByNumberAndFontSubFields) {
    Fixture f;
    f.run([](sim::SimDesktop& d) {
        const facade::Runtime rt(d.engine().services());
        rt.set_text(kEditBox, PropertyId::text, "3");
        EXPECT_EQ(rt.text(kEditBox, PropertyId::text), "3");
        rt.set_integer(kEditBox, PropertyId::left, -27);
        EXPECT_EQ(rt.integer(kEditBox, PropertyId::left), -27);
        rt.set_font_size(kEditBox, 16);
        rt.set_font_name(kEditBox, "宋体");
        EXPECT_EQ(rt.font_size(kEditBox), 16);
        EXPECT_EQ(rt.font_name(kEditBox), "宋体");
        rt.set_integer(kMainWindow, PropertyId::back_colour, 0xFF000000);
        EXPECT_EQ(std::uint32_t(rt.integer(kMainWindow, PropertyId::back_colour)), 0xFF000000u);
    });
}

// A picture goes into the model by one copy and out by one; a smaller
// picture written over a larger one, or none at all, reads back as exactly
// what was written last, and no block is left behind.
TEST(Engine, BlockPropertiesReadBackExactlyWhatWasWrittenLast) {
    Fixture f;
    f.run([](sim::SimDesktop& d) {
        const facade::Runtime rt(d.engine().services());
        const Control canvas{ids::kMain, ids::kCanvas, forms::class_id::canvas};
        const auto given = [&d](ByteView bytes) {
            return facade::Block(
                reinterpret_cast<std::uintptr_t>(runtime::ProgramBlock::copy_of(bytes).hand_over()),
                d.engine().services().release);
        };
        const auto read_back = [&rt, &canvas] {
            const facade::Block block = rt.block(canvas, PropertyId::background_picture);
            return Bytes(block.view().begin(), block.view().end());
        };
        const std::int64_t blocks_before = runtime::Engine::live_blocks();
        const Bytes large = picture::blank_bmp(40, 30);
        Bytes small = picture::blank_bmp(3, 2);
        small.back() = 0x5A;
        for (const Bytes& bytes : {large, small, large, small}) {
            rt.set_block(canvas, PropertyId::background_picture, given(bytes));
            EXPECT_EQ(read_back(), bytes);
        }
        rt.set_block(canvas, PropertyId::background_picture, facade::Block());
        EXPECT_TRUE(read_back().empty());
        EXPECT_EQ(runtime::Engine::live_blocks(), blocks_before);
    });
}

// A picture of a megabyte or more is lent to the property it is written to,
// not copied; the property gets bytes of its own when a DLL command might
// write into the block, and keeps the block when the program lets go of it.
TEST(Engine, ALargeBlockIsLentToThePropertyItIsWrittenTo) {
    vorn::testing::MappedPages pages;
    runtime::BlockLending& lending = runtime::BlockLending::process();
    lending.use_pages(&pages);
    Fixture f;
    f.run([&](sim::SimDesktop& d) {
        const facade::Runtime rt(d.engine().services());
        const Control canvas{ids::kMain, ids::kCanvas, forms::class_id::canvas};
        const auto held = [&d] {
            return *d.engine().read_bytes_property(ids::kMain, ids::kCanvas, PropertyId::background_picture);
        };
        Bytes picture = picture::blank_bmp(800, 600);
        picture.back() = 0x5A;
        facade::Block block(
            reinterpret_cast<std::uintptr_t>(runtime::ProgramBlock::copy_of(picture).hand_over()),
            d.engine().services().release);
        rt.set_block(canvas, PropertyId::background_picture, block);
        EXPECT_EQ(held().data(), block.view().data()) << "lent, not copied";
        EXPECT_EQ(lending.lent_blocks(), 1u);

        rt.call_dll(std::uint32_t(contract::DllCommand::GetWindowRect), {0, block.address() + 8});
        EXPECT_EQ(lending.lent_blocks(), 0u);
        EXPECT_NE(held().data(), block.view().data());
        EXPECT_TRUE(std::ranges::equal(held(), picture));

        rt.set_block(canvas, PropertyId::background_picture, block);
        EXPECT_EQ(held().data(), block.view().data()) << "lent again";
        block.reset();
        EXPECT_EQ(pages.mapped.size(), 1u) << "the property keeps the released block";
        EXPECT_TRUE(std::ranges::equal(held(), picture));
        rt.set_block(canvas, PropertyId::background_picture, facade::Block());
        EXPECT_TRUE(pages.mapped.empty());
    });
    lending.use_pages(nullptr);
}

TEST(Engine, ContractViolationsEndWithAClearRunTimeError) {
    struct Case {
        const char* name;
        std::function<void(const facade::Runtime&)> act;
        std::uint32_t code;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"property the class lacks",
         [](const facade::Runtime& rt) { rt.flag(kEditBox, PropertyId::checked); }, 100,
         "has no property 81"},
        {"window not loaded", [](const facade::Runtime& rt) { rt.flag(kCheckBox, PropertyId::checked); }, 100,
         "is not loaded"},
        {"argument of the wrong type",
         [](const facade::Runtime& rt) {
             rt.kernel(contract::KernelCommand::MessageBox, {facade::Arg::integer(1)});
         },
         100, "argument 1 has type"},
        {"DLL command with a wrong argument count",
         [](const facade::Runtime& rt) {
             rt.call_dll(0, {1, 2});
         },
         6, "OpenClipboard takes 1 arguments"},
        {"unknown command", [](const facade::Runtime& rt) { rt.kernel(contract::KernelCommand(999), {}); },
         100, "no runtime command 999"},
        {"constant past the const section", [](const facade::Runtime& rt) { rt.program_constant(1u << 30); },
         100, "outside the const section"},
        {"constant offset inside another constant", [](const facade::Runtime& rt) { rt.program_constant(4); },
         100, "not a binary constant"},
    };
    for (const Case& c : cases) {
        Fixture f;
        try {
            f.run([&](sim::SimDesktop& d) { c.act(facade::Runtime(d.engine().services())); });
            ADD_FAILURE() << c.name << ": no run-time error";
        } catch (const sim::RuntimeFailure& failure) {
            EXPECT_EQ(failure.code, c.code) << c.name;
            EXPECT_NE(failure.message.find(c.message), std::string::npos)
                << c.name << ": " << failure.message;
        }
    }
}
