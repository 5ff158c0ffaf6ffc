#include "tools/imagetool/code_section.h"

#include "forms/layouts/elements.h"
#include "forms/layouts/entry_points.h"
#include "image/format.h"

#include <array>
#include <map>

namespace vorn::imagetool {

namespace {

using image::FixupKind;
using image::RemapGroup;
using image::ServiceSlot;

// Slot 7 is never called, so it has no stub.
constexpr std::array kStubSlots = {
    ServiceSlot::ReportError,       ServiceSlot::CallDllCommand, ServiceSlot::CallLibraryCommand,
    ServiceSlot::CallKernelCommand, ServiceSlot::ReadProperty,   ServiceSlot::WriteProperty,
    ServiceSlot::AllocateBlock,     ServiceSlot::ReleaseBlock,   ServiceSlot::EndProgram,
    ServiceSlot::RunMessageLoop,    ServiceSlot::LoadWindow,     ServiceSlot::RuntimeHook,
};
static_assert(kStubSlots.size() == 12);

constexpr std::uint8_t kInt3 = 0xCC;
constexpr std::array<std::uint8_t, 2> kJumpThroughSlot = {0xFF, 0x25}; // jmp dword ptr [operand]

struct BoundEvent {
    std::uint32_t window = 0;
    std::uint32_t element = 0;
    std::uint32_t class_id = 0;
    std::int32_t event = 0;
};

// Every handler offset that the windows bind, with what binds it.
Result<std::map<std::uint32_t, BoundEvent>> bound_events(const forms::FormSection& windows) {
    std::map<std::uint32_t, BoundEvent> bound;
    auto bind = [&](std::uint32_t handler, const BoundEvent& event) -> Status {
        const layouts::EntryInfo* entry = layouts::find_entry(handler);
        const std::string where = "element " + hex(event.element) + " of window " + hex(event.window);
        if (entry == nullptr)
            return Error{where + " binds " + hex(handler) + ", which is not an entry point"};
        if (entry->entry == layouts::Entry::启动例程 || entry->entry == layouts::Entry::全局清理)
            return Error{where + " binds the entry " + std::string(entry->name) + ", which no event may run"};
        if (!bound.emplace(handler, event).second)
            return Error{where + " binds " + std::string(entry->name) + ", which element " +
                         hex(bound[handler].element) + " binds already"};
        return ok_status();
    };
    for (const forms::Window& window : windows.windows)
        for (const forms::Element& element : window.elements) {
            if (const forms::MenuItemRecord* item = element.menu_item()) {
                if (item->click_handler != forms::kNoHandler)
                    VORN_TRY_STATUS(bind(item->click_handler, {window.id, element.id, element.class_id, 0}));
                continue;
            }
            for (const forms::EventBinding& binding : element.control()->events)
                VORN_TRY_STATUS(
                    bind(binding.handler, {window.id, element.id, element.class_id, binding.event}));
        }
    return bound;
}

void put_u16(Bytes& code, std::uint32_t at, std::uint16_t value) {
    code[at] = static_cast<std::uint8_t>(value);
    code[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

} // namespace

Result<CodeSection> build_code_section(const forms::FormSection& windows) {
    VORN_TRY_ASSIGN(auto bound, bound_events(windows));
    CodeSection out;
    out.bytes.assign(layouts::kServiceStubsOffset + kStubSlots.size() * kServiceStubSize, kInt3);
    Bytes& code = out.bytes;
    auto& window_ids = out.groups[image::group_index(RemapGroup::WindowIds)];
    auto& class_ids = out.groups[image::group_index(RemapGroup::ClassIds)];

    const auto entries = layouts::entry_points();
    for (std::size_t index = 0; index < entries.size(); ++index) {
        const layouts::Entry entry = entries[index].entry;
        const std::uint32_t at = layouts::offset_of(entry);
        std::fill(code.begin() + at, code.begin() + at + kEntryRecordSize, 0);
        put_u16(code, at + 2, static_cast<std::uint16_t>(index));
        if (entry == layouts::Entry::启动例程) {
            code[at] = kStartRole;
            store_u32(code.data() + at + 4, ui::主窗口::kId);
            window_ids.push_back(at + 4);
            store_u32(code.data() + at + 8, layouts::offset_of(layouts::Entry::全局清理));
            out.fixups.push_back({at + 8, FixupKind::CodeData});
            out.start_routine = at;
            continue;
        }
        auto found = bound.find(at);
        if (found == bound.end()) {
            code[at] = kRoutineRole;
            continue;
        }
        const BoundEvent& event = found->second;
        code[at] = kHandlerRole;
        code[at + 1] = static_cast<std::uint8_t>(static_cast<std::int8_t>(event.event));
        store_u32(code.data() + at + 4, event.window);
        store_u32(code.data() + at + 8, event.element);
        store_u32(code.data() + at + 12, event.class_id);
        window_ids.push_back(at + 4);
        window_ids.push_back(at + 8);
        class_ids.push_back(at + 12);
    }

    for (std::size_t k = 0; k < kStubSlots.size(); ++k) {
        const auto at = static_cast<std::uint32_t>(layouts::kServiceStubsOffset + k * kServiceStubSize);
        code[at] = kJumpThroughSlot[0];
        code[at + 1] = kJumpThroughSlot[1];
        store_u32(code.data() + at + 2, image::slot_offset(kStubSlots[k]));
        out.fixups.push_back({at + 2, FixupKind::ImageStart});
    }
    return out;
}

Result<std::vector<EntryRecord>> read_entry_directory(ByteView code) {
    std::vector<EntryRecord> records;
    for (const layouts::EntryInfo& entry : layouts::entry_points()) {
        const std::uint32_t at = layouts::offset_of(entry.entry);
        if (!fits(at, kEntryRecordSize, code.size()))
            return Error{"the code section's " + std::to_string(code.size()) +
                         " bytes end before the record of " + std::string(entry.name) + " at " + hex(at)};
        const std::uint8_t* record = code.data() + at;
        records.push_back({.offset = at,
                           .role = record[0],
                           .event = static_cast<std::int8_t>(record[1]),
                           .index = static_cast<std::uint16_t>(record[2] | record[3] << 8),
                           .window = load_u32(record + 4),
                           .element = load_u32(record + 8),
                           .class_id = load_u32(record + 12)});
    }
    return records;
}

} // namespace vorn::imagetool
