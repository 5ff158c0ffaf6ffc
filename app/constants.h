// Where the image's const section keeps the program's binary constants. The
// image builder places them first, right after the empty block at offset 0,
// and refuses to write an image in which they landed anywhere else; the
// handlers fetch them from the loaded image by these offsets.
#pragma once

#include <cstdint>

namespace vorn::app {

// The capture sound: a RIFF/WAVE file (PCM, mono, 22,050 Hz, 8-bit).
inline constexpr std::uint32_t kCaptureSoundConstant = 8;

} // namespace vorn::app
