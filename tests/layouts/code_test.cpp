// The code section of the built image: the entry directory that names every
// handler's binding, the service stubs, and the fix-ups and operand groups
// that the loader applies to them.
#include "forms/class_table.h"
#include "forms/layouts/elements.h"
#include "forms/layouts/entry_points.h"
#include "image/loader.h"
#include "tests/layouts/built_image.h"
#include "tools/imagetool/code_section.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace vorn::testing {
namespace {

using image::FixupKind;
using image::RemapGroup;
using image::SectionKind;

const image::Section& code() {
    return built_image().section(SectionKind::Code);
}

std::uint32_t operand(std::uint32_t position) {
    return load_u32(code().stored.data() + position);
}

std::vector<image::Fixup> fixups_of(FixupKind kind) {
    std::vector<image::Fixup> out;
    for (const image::Fixup& fixup : code().fixups)
        if (fixup.kind == kind)
            out.push_back(fixup);
    return out;
}

const std::vector<std::uint32_t>& group(RemapGroup which) {
    return built_image().image.groups[image::group_index(which)];
}

TEST(CodeSection, TwelveStubsJumpThroughEveryServiceSlotButTheUnusedOne) {
    const std::vector<image::Fixup> stubs = fixups_of(FixupKind::ImageStart);
    ASSERT_EQ(stubs.size(), 12u);
    std::set<std::uint32_t> slots;
    for (const image::Fixup& fixup : stubs) {
        ASSERT_GE(fixup.position, layouts::kServiceStubsOffset + 2);
        EXPECT_EQ(code().stored[fixup.position - 2], 0xFF) << hex(fixup.position);
        EXPECT_EQ(code().stored[fixup.position - 1], 0x25) << "jmp through the operand";
        EXPECT_EQ(operand(fixup.position) % 4, 0u);
        slots.insert(operand(fixup.position) / 4);
    }
    std::set<std::uint32_t> expected;
    for (std::uint32_t slot = 0; slot < image::kServiceSlotCount; ++slot)
        if (slot != static_cast<std::uint32_t>(image::ServiceSlot::NotCalled))
            expected.insert(slot);
    EXPECT_EQ(slots, expected);
    // Nothing but stubs from their offset on, and no other constants or variables referenced.
    EXPECT_EQ(code().stored.size(), layouts::kServiceStubsOffset + 12 * imagetool::kServiceStubSize);
    EXPECT_TRUE(fixups_of(FixupKind::ConstData).empty());
    EXPECT_TRUE(fixups_of(FixupKind::VarBlock).empty());
}

TEST(CodeSection, StartRoutineLoadsTheMainWindowAndHandsOverTheCleanUp) {
    const std::uint32_t start = built_image().image.start_in_code();
    EXPECT_EQ(start, layouts::offset_of(layouts::Entry::启动例程));
    EXPECT_EQ(code().stored[start], imagetool::kStartRole);

    const std::vector<image::Fixup> code_addresses = fixups_of(FixupKind::CodeData);
    ASSERT_EQ(code_addresses.size(), 1u);
    const std::uint32_t at = code_addresses.front().position;
    EXPECT_GE(at, start);
    EXPECT_LT(at, start + imagetool::kEntryRecordSize) << "the operand belongs to the start routine";
    EXPECT_EQ(operand(at), layouts::offset_of(layouts::Entry::全局清理));
    EXPECT_EQ(code().stored[operand(at)], imagetool::kRoutineRole);

    const auto& ids = group(RemapGroup::WindowIds);
    auto main_window = std::find_if(ids.begin(), ids.end(), [&](std::uint32_t position) {
        return position >= start && position < start + imagetool::kEntryRecordSize;
    });
    ASSERT_NE(main_window, ids.end());
    EXPECT_EQ(operand(*main_window), ui::主窗口::kId);
}

TEST(CodeSection, EveryBoundHandlerHasARecordNamingItsBinding) {
    Result<std::vector<imagetool::EntryRecord>> records = imagetool::read_entry_directory(code().stored);
    ASSERT_TRUE(records.ok()) << records.error().message;
    std::size_t handlers = 0;
    for (const forms::Window& window : built_image().windows.windows)
        for (const forms::Element& element : window.elements) {
            std::vector<std::pair<std::int32_t, std::uint32_t>> bindings;
            if (const forms::MenuItemRecord* item = element.menu_item()) {
                if (item->click_handler != forms::kNoHandler)
                    bindings.emplace_back(0, item->click_handler);
            } else {
                for (const forms::EventBinding& binding : element.control()->events)
                    bindings.emplace_back(binding.event, binding.handler);
            }
            for (const auto& [event, handler] : bindings) {
                auto record =
                    std::find_if(records->begin(), records->end(),
                                 [&](const imagetool::EntryRecord& r) { return r.offset == handler; });
                ASSERT_NE(record, records->end()) << hex(handler);
                EXPECT_EQ(record->role, imagetool::kHandlerRole);
                EXPECT_EQ(record->window, window.id);
                EXPECT_EQ(record->element, element.id);
                EXPECT_EQ(record->class_id, element.class_id);
                EXPECT_EQ(record->event, event);
                ++handlers;
            }
        }
    EXPECT_EQ(handlers + 2, layouts::entry_points().size()) << "start and clean-up are bound to no event";
    for (std::size_t i = 0; i < records->size(); ++i)
        EXPECT_EQ((*records)[i].index, i) << "records know their place in the entry table";
}

// What the runtime sees after loading: stubs aimed at the service table, the
// clean-up's address, and only ids and classes offered for renumbering.
TEST(CodeSection, LoadingAddsEachBaseAndOffersOnlyIdsAndClassesForRenumbering) {
    const image::LoadBases bases{
        .image_start = 0x400000, .const_data = 0x500000, .var_block = 0x600000, .code_data = 0x700000};
    std::array<std::set<std::uint32_t>, image::kRemapGroupCount> offered;
    image::LoadOptions options;
    options.bases = bases;
    for (std::size_t g = 0; g < image::kRemapGroupCount; ++g)
        options.remap[g] = [&offered, g](RemapGroup, std::uint32_t, std::uint32_t value) {
            offered[g].insert(value);
            return value;
        };
    Result<image::LoadedImage> loaded = image::load_image(built_image().image, options);
    ASSERT_TRUE(loaded.ok()) << loaded.error().message;
    const Bytes& memory = *loaded->find(SectionKind::Code);
    for (const image::Fixup& fixup : code().fixups)
        EXPECT_EQ(load_u32(memory.data() + fixup.position), bases.of(fixup.kind) + operand(fixup.position));

    for (std::uint32_t id : offered[image::group_index(RemapGroup::WindowIds)]) {
        const auto kind = forms::id_kind(id);
        EXPECT_TRUE(kind == forms::IdKind::window || kind == forms::IdKind::own_element ||
                    kind == forms::IdKind::control || kind == forms::IdKind::menu_item)
            << hex(id);
    }
    EXPECT_TRUE(offered[image::group_index(RemapGroup::DllCommands)].empty());
    EXPECT_TRUE(offered[image::group_index(RemapGroup::LibraryIndices)].empty());
    for (std::uint32_t class_id : offered[image::group_index(RemapGroup::ClassIds)])
        EXPECT_NE(forms::find_class(class_id), nullptr) << hex(class_id);
    EXPECT_EQ(offered[image::group_index(RemapGroup::WindowIds)].count(ui::编辑窗口::kId), 1u);
}

} // namespace
} // namespace vorn::testing
