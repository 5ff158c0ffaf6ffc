// The file formats the program keeps its pictures and its sound in.
#pragma once

#include "base/bytes.h"
#include "tools/assets/canvas.h"

#include <cstdint>
#include <span>

namespace vorn::assets {

// An icon file holding one 32-bit image with its 1-bit mask.
Bytes icon_file(const Canvas& picture);
// An 8-bit RGBA PNG file.
Bytes png_file(const Canvas& picture);
// A 24-bit bitmap file carrying the 216-colour web palette as its colour
// table; the picture is laid over white, as bitmaps have no transparency.
Bytes palette_bitmap_file(const Canvas& picture);
// A PCM wave file of unsigned 8-bit mono samples.
Bytes wave_file(std::span<const std::uint8_t> samples, std::uint32_t samples_per_second);

} // namespace vorn::assets
