// Raster operations as GDI defines them, for the surfaces that apply them
// in software (the simulated desktop) and the mapping from a canvas's
// drawing mode that both backends share.
#pragma once

#include "runtime/core/picture/bitmap.h"

#include <cstdint>

namespace vorn::runtime {

// A canvas's drawing mode is a binary raster operation counted from 0 where
// GDI counts from 1: mode 12, the mode of nearly every canvas, is R2_COPYPEN
// (13), and mode 5 is R2_NOT (6), which inverts what lies under the pen so
// that a rubber band shows on any picture and a second stroke takes it away.
// Modes outside 0 to 15 copy.
inline constexpr std::int32_t kCopyPen = 13;
inline constexpr std::int32_t kInvertDestination = 6;
std::int32_t rop2_for_draw_mode(std::int32_t draw_mode);

// The pixel a binary raster operation (R2_BLACK = 1 .. R2_WHITE = 16) makes
// of the pen's colour and the pixel under it. Only the colour bits count.
picture::Pixel apply_rop2(std::int32_t rop2, picture::Pixel pen, picture::Pixel destination);

// Block copies take a ternary raster operation (SRCCOPY = 0x00CC0020, ...):
// its third byte is the truth table over pattern, source and destination.
inline constexpr std::uint32_t kSourceCopy = 0x00CC0020;
inline constexpr std::uint32_t kSourceInvert = 0x00660046;
inline constexpr std::uint32_t kSourceAnd = 0x008800C6;
inline constexpr std::uint32_t kSourcePaint = 0x00EE0086;
inline constexpr std::uint32_t kBlackness = 0x00000042;
inline constexpr std::uint32_t kDestinationInvert = 0x00550009;
// A block copy on a memory device context paints its pattern with the
// context's default brush, which is white.
picture::Pixel apply_rop3(std::uint32_t rop, picture::Pixel source, picture::Pixel destination,
                          picture::Pixel pattern = 0x00FFFFFF);

} // namespace vorn::runtime
