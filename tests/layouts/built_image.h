// The program image exactly as `imagetool build` writes it, read back with the
// image and form readers, once per test program.
#pragma once

#include "base/bytes.h"
#include "forms/section.h"
#include "image/image.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorn::testing {

struct BuiltImage {
    Bytes bytes;
    image::Image image; // views into `bytes`
    forms::FormSection windows;
    std::vector<std::uint32_t> text_offsets;
    std::uint32_t sound_offset = 0;

    const image::Section& section(image::SectionKind kind) const { return image.section(kind); }
};

// Throws when the image cannot be built or read back.
const BuiltImage& built_image();

std::string gbk(std::string_view utf8);
std::string utf8(std::string_view gbk);

} // namespace vorn::testing
