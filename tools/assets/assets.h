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
// The same pictures drawn from their descriptions at `percent` of their
// size (at most 200), for screens of higher DPI: icons as icon files, the
// others as RGBA PNG files, which the runtime shows over white as it shows
// the small bitmaps.
Bytes scaled_picture(Icon which, int percent);
Bytes scaled_picture(Png which, int percent);
Bytes scaled_picture(SmallBitmap which, int percent);
// RIFF/WAVE, 3,419 bytes: PCM, mono, 22,050 samples per second, 8 bits,
// 3,375 bytes of samples.
Bytes capture_sound();

} // namespace vorn::assets
