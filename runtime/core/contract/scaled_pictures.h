// The program's pictures are drawn for 96 dpi and stored so in the image.
// Drawn again at the scales below, they travel beside the image as the
// executable's resources (RCDATA), each named by a fingerprint of the 96-dpi
// picture's bytes and the scale in percent: the image builder names them,
// and the runtime shows one wherever it shows that picture at that scale,
// knowing nothing else of the program.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace vorn::contract {

inline constexpr std::array<std::uint32_t, 3> kPictureScales = {125, 150, 200};

// "VORNPIC_" + the bytes' 64-bit FNV-1a fingerprint in hexadecimal + "_" +
// the percent, in capitals, as resource compilers store names.
inline std::string scaled_picture_name(std::span<const std::uint8_t> picture, std::uint32_t percent) {
    std::uint64_t hash = 0xCBF29CE484222325u;
    for (const std::uint8_t byte : picture) {
        hash ^= byte;
        hash *= 0x100000001B3u;
    }
    std::string name = "VORNPIC_";
    for (int shift = 60; shift >= 0; shift -= 4)
        name += "0123456789ABCDEF"[(hash >> shift) & 0xF];
    return name + "_" + std::to_string(percent);
}

} // namespace vorn::contract
