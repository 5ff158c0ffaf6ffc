// What this program's image holds besides its texts, windows, code and DLL
// command table (runtime/core/contract/dll_functions.h): its support
// libraries and the fixed sizes of its small sections. Pure data, kept apart
// from the code that assembles an image from it.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace vorn::imagetool {

struct LibraryEntry {
    std::string_view name;
    std::string_view identifier;
    std::string_view major_version;
    std::string_view minor_version;
    std::string_view description; // GBK bytes
};

// Positions are fixed: code calls libraries by position.
std::span<const LibraryEntry> support_libraries();

// The runtime's own area in the help section, left zero.
inline constexpr std::uint32_t kHelpSize = 52;
// The program-wide variables.
inline constexpr std::uint32_t kVarSize = 92;

} // namespace vorn::imagetool
