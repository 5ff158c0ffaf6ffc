// The runtime's command table and the pieces of canvas and picture handling
// that every backend shares.
#include "forms/properties.h"
#include "runtime/core/contract/commands.h"
#include "runtime/core/engine/canvas.h"
#include "runtime/core/engine/commands/command_table.h"
#include "runtime/core/engine/pictures.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace vorn::runtime {
namespace {

TEST(CommandTable, EveryCommandOfTheContractHasExactlyOneHandlerAndNoHandlerIsStray) {
    std::multiset<std::uint32_t> handled;
    for (auto group : {window_commands(), environment_commands(), canvas_commands(), picture_commands(),
                       printer_commands(), dialog_commands()})
        for (const KernelHandler& entry : group) {
            handled.insert(std::uint32_t(entry.command));
            EXPECT_NE(entry.handler, nullptr);
        }
    for (const contract::KernelCommandInfo& info : contract::kernel_commands()) {
        EXPECT_EQ(handled.count(std::uint32_t(info.command)), 1u) << info.name;
        EXPECT_NE(find_kernel_handler(std::uint32_t(info.command)), nullptr) << info.name;
    }
    EXPECT_EQ(handled.size(), contract::kernel_commands().size());
    EXPECT_EQ(find_kernel_handler(0), nullptr);

    std::multiset<std::pair<std::uint32_t, std::uint32_t>> library_handled;
    for (auto group : {window_library_commands(), environment_library_commands(), picture_library_commands()})
        for (const LibraryHandler& entry : group)
            library_handled.insert({std::uint32_t(entry.library), entry.selector});
    for (const contract::LibraryCommandInfo& info : contract::library_commands())
        EXPECT_EQ(library_handled.count({std::uint32_t(info.library), info.selector}), 1u) << info.name;
    EXPECT_EQ(library_handled.size(), contract::library_commands().size());
}

TEST(CanvasGeometry, CopiesAreClippedToBothSurfaces) {
    struct Case {
        CopyRect area;
        std::int32_t left, top;
        std::optional<ClippedCopy> expected;
    };
    // Source 10 x 8, target 6 x 5.
    const Case cases[] = {
        {{0, 0, 10, 8}, 0, 0, ClippedCopy{{0, 0, 6, 5}, 0, 0}},
        {{2, 1, 3, 2}, 1, 2, ClippedCopy{{2, 1, 3, 2}, 1, 2}},
        {{-3, -2, 5, 5}, 0, 0, ClippedCopy{{0, 0, 2, 3}, 3, 2}},
        {{0, 0, 4, 4}, -1, -3, ClippedCopy{{1, 3, 3, 1}, 0, 0}},
        {{8, 6, 5, 5}, 4, 3, ClippedCopy{{8, 6, 2, 2}, 4, 3}},
        {{0, 0, 0, 4}, 0, 0, std::nullopt},
        {{0, 0, 4, -1}, 0, 0, std::nullopt},
        {{10, 0, 4, 4}, 0, 0, std::nullopt},
        {{0, 0, 4, 4}, 6, 0, std::nullopt},
        {{0, 0, 4, 4}, -4, 0, std::nullopt},
        {{2147483647, 0, 2147483647, 1}, 0, 0, std::nullopt},
        {{-2147483647 - 1, 0, 2147483647, 1}, 0, 0, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(clip_copy(c.area, 10, 8, c.left, c.top, 6, 5), c.expected)
            << c.area.left << "," << c.area.top << " " << c.area.width << "x" << c.area.height << " to "
            << c.left << "," << c.top;
}

TEST(CanvasGeometry, DrawBoundsWidenTheShapeByItsPen) {
    DrawOp line{DrawKind::line, {}, {10, 20, 4, 30}, ""};
    EXPECT_EQ(draw_bounds(line), (CopyRect{2, 18, 10, 14}));
    line.state.pen_width = 6;
    EXPECT_EQ(draw_bounds(line), (CopyRect{-1, 15, 16, 20}));
    const DrawOp text{DrawKind::text, {}, {5, 6}, "ab"};
    EXPECT_EQ(draw_bounds(text, 30, 12), (CopyRect{3, 4, 34, 16}));
    EXPECT_EQ(draw_bounds(DrawOp{DrawKind::polygon, {}, {}, ""}), CopyRect{});
}

TEST(CanvasGeometry, WhatChangedSinceAClearGrowsWithinTheSurface) {
    EXPECT_EQ(union_within({}, {2, 3, 4, 5}, 100, 100), (CopyRect{2, 3, 4, 5}));
    EXPECT_EQ(union_within({2, 3, 4, 5}, {}, 100, 100), (CopyRect{2, 3, 4, 5}));
    EXPECT_EQ(union_within({2, 3, 4, 5}, {10, 1, 2, 2}, 100, 100), (CopyRect{2, 1, 10, 7}));
    EXPECT_EQ(union_within({-5, -5, 10, 10}, {95, 95, 20, 20}, 100, 100), (CopyRect{0, 0, 100, 100}));
    EXPECT_EQ(union_within({200, 0, 5, 5}, {0, 0, -3, 4}, 100, 100), CopyRect{}) << "nothing on the surface";
    EXPECT_EQ(union_within({INT32_MAX / 2, 0, INT32_MAX / 2, 1}, {0, 0, 1, 1}, 100, 100),
              (CopyRect{0, 0, 1, 1}));
}

TEST(CanvasColours, InkDefaultsToBlackAndPaperToWhite) {
    EXPECT_EQ(ink_colour(forms::kDefaultColour), 0x000000u);
    EXPECT_EQ(paper_colour(forms::kDefaultColour), 0xFFFFFFu);
    EXPECT_EQ(ink_colour(0x000000FF), 0x0000FFu);
    EXPECT_EQ(paper_colour(0x0A00FF00), 0x00FF00u); // stray high bits dropped
}

TEST(PictureStore, FilesAndObjectsShareOneNumberingAndAreReleasedByIt) {
    PictureStore store;
    const std::uint64_t file = store.add_file(Bytes{1, 2, 3});
    const std::uint64_t object = store.add_object({0x10, 0x20});
    EXPECT_NE(file, object);
    EXPECT_NE(store.file(file), nullptr);
    EXPECT_EQ(store.object(file), nullptr);
    ASSERT_NE(store.object(object), nullptr);
    EXPECT_EQ(store.object(object)->bitmap, 0x20u);

    EXPECT_FALSE(store.release(file).has_value()); // a file has nothing for the backend
    EXPECT_EQ(store.file(file), nullptr);
    const std::optional<PictureObject> released = store.release(object);
    ASSERT_TRUE(released.has_value());
    EXPECT_EQ(released->object, 0x10u);
    EXPECT_FALSE(store.release(object).has_value()); // twice: nothing
    EXPECT_EQ(store.size(), 0u);
}

TEST(PictureStore, APrinterJobLetsGoOfTheFilesItDrewOnly) {
    PictureStore store;
    const std::uint64_t printed = store.add_file(Bytes(100));
    const std::uint64_t kept = store.add_file(Bytes(100));
    const std::uint64_t object = store.add_object({1, 2});
    store.drawn_by_printer(printed);
    store.drawn_by_printer(object); // not a file: the printer cannot hold it
    store.drawn_by_printer(999);
    store.printer_job_ended();
    EXPECT_EQ(store.file(printed), nullptr);
    EXPECT_NE(store.file(kept), nullptr);
    EXPECT_NE(store.object(object), nullptr);
    store.printer_job_ended(); // nothing more to let go
    EXPECT_EQ(store.size(), 2u);
}

} // namespace
} // namespace vorn::runtime
