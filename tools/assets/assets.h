// The program's own pictures and capture sound, generated from readable
// descriptions in code at build time (nothing binary is kept without its
// source). Every call returns the same bytes.
#pragma once

#include "base/bytes.h"

namespace vorn::assets {

// 32 x 32 icon files (4,286 bytes: one 32-bit image and its mask).
enum class Icon { copy, exit, print, about, clear, save, settings, edit };
// 32 x 32 RGBA PNG files.
enum class Png { zoom, capture_window, capture_full_screen, capture_region, finish_edit };
// 16 x 16 24-bit bitmap files of 1,686 bytes with a 216-entry colour table.
enum class SmallBitmap { enlarge, shrink };

Bytes icon(Icon which);
Bytes png(Png which);
Bytes small_bitmap(SmallBitmap which);
// RIFF/WAVE, 3,419 bytes: PCM, mono, 22,050 samples per second, 8 bits,
// 3,375 bytes of samples.
Bytes capture_sound();

} // namespace vorn::assets
