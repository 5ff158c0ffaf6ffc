// Other windows' places, as the program's DLL commands read them: the
// function writes them in the screen's pixels into the program's memory, and
// the runtime turns them into units there, before the program looks. Each
// is converted as a place and a size (see dpi_scale.h), so a window's width
// in units asks a snapshot for exactly its pixels.
#pragma once

#include "runtime/core/contract/dll_functions.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace vorn::win32 {

// Wire sizes of what the functions write.
inline constexpr std::size_t kRectBytes = 16;
inline constexpr std::size_t kPlacementBytes = 44;

struct GeometryOut {
    std::uint64_t address = 0;
    std::size_t size = 0;
};
// Where the function wrote screen geometry and how much; nullopt for a
// function that writes none or was given no place to write it.
std::optional<GeometryOut> geometry_out(const contract::DllFunction& function,
                                        std::span<const std::uint64_t> args);

// Converts what the function wrote from pixels at `dpi` to units, in place.
// False, with nothing changed, when the bytes are too few to hold it.
bool geometry_to_units(const contract::DllFunction& function, std::span<std::uint8_t> bytes,
                       std::uint32_t dpi);

} // namespace vorn::win32
