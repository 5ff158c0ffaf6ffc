// Images built in code for the image tests: one small image that uses every
// feature, and helpers to change single fields of its bytes.
#pragma once

#include "base/bytes.h"
#include "image/image.h"

#include <string>

namespace vorn::image::testing {

// Where full_parts() put what the tests poke at.
struct FullLayout {
    std::uint32_t user32 = 8;        // const offset of "user32"
    std::uint32_t unterminated = 41; // const offset of the data's last byte, not a zero
    std::uint32_t code_stored = 48;  // stored code bytes
    std::uint32_t code_memory = 64;  // code memory size
};
inline constexpr FullLayout kFull{};

// All six sections; two DLL commands (one with an empty library name); two
// support libraries; fix-ups of all four kinds in unsorted order; all four
// groups, group 4 running 4 bytes past the declared size; code memory larger
// than its stored bytes; var without stored bytes.
ImageParts full_parts();

// write_image() that must succeed.
Bytes written(const ImageParts& parts);
// The error read_image() gives, or "" when it accepts the bytes.
std::string read_error(ByteView bytes);

void put_u32(Bytes& bytes, std::uint64_t at, std::uint32_t value);
std::uint32_t get_u32(const Bytes& bytes, std::uint64_t at);

} // namespace vorn::image::testing
