#include "forms/layouts/entry_points.h"

#include <array>

namespace vorn::layouts {

namespace {

constexpr std::array kEntries = {
#define VORN_ENTRY_INFO(name, offset, built) EntryInfo{Entry::name, #name, built},
    VORN_ENTRY_POINTS(VORN_ENTRY_INFO)
#undef VORN_ENTRY_INFO
};

static_assert(
    [] {
        for (std::size_t i = 1; i < kEntries.size(); ++i)
            if (offset_of(kEntries[i - 1].entry) >= offset_of(kEntries[i].entry))
                return false;
        return offset_of(kEntries.back().entry) < kServiceStubsOffset;
    }(),
    "entry offsets must rise and stay below the service stubs");

} // namespace

std::span<const EntryInfo> entry_points() {
    return kEntries;
}

const EntryInfo* find_entry(std::uint32_t code_offset) {
    for (const EntryInfo& info : kEntries)
        if (offset_of(info.entry) == code_offset)
            return &info;
    return nullptr;
}

} // namespace vorn::layouts
