// What this program's image holds besides its texts, windows and code: its
// DLL command table, its support libraries and the fixed sizes of its small
// sections. Pure data, kept apart from the code that assembles an image from
// it.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace vorn::imagetool {

struct DllCommandEntry {
    std::string_view library; // empty: the runtime's default system libraries
    std::string_view function;
};

struct LibraryEntry {
    std::string_view name;
    std::string_view identifier;
    std::string_view major_version;
    std::string_view minor_version;
    std::string_view description; // GBK bytes
};

// Indices are fixed: code calls DLL commands and libraries by position.
std::span<const DllCommandEntry> dll_commands();
std::span<const LibraryEntry> support_libraries();

// The runtime's own area in the help section, left zero.
inline constexpr std::uint32_t kHelpSize = 52;
// The program-wide variables.
inline constexpr std::uint32_t kVarSize = 92;

} // namespace vorn::imagetool
