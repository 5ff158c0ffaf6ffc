// The one rule where the runtime meets the screen: the program and the
// engine count in 96-dpi units, Windows in the pixels of a window's DPI.
// Every geometry that crosses (window and control places and sizes, client
// areas, pointer positions, the screen's size, fonts, tips) is converted
// here; pictures never are (snapshots, canvas surfaces, the picture of a
// canvas, picture sizes stay in pixels), so a shot keeps the screen's full
// resolution. The few places where the two kinds meet have their own
// functions below.
#pragma once

#include <cstdint>

namespace vorn::win32 {

// The DPI at which a unit is a pixel.
inline constexpr std::uint32_t kUnitDpi = 96;

// Units to pixels and back, rounded to the nearest, halves away from zero
// (as MulDiv rounds, so that a negative position mirrors a positive one), and
// kept within 32 bits. A DPI of 0, which no screen has, is taken as 96.
// Units to pixels and back gives the units again whenever the DPI is 96 or
// more; pixels to units and back can be a pixel off.
std::int32_t to_pixels(std::int64_t units, std::uint32_t dpi);
std::int32_t to_units(std::int64_t pixels, std::uint32_t dpi);

// A place and a size. Positions and sizes are converted each on its own, so
// that a size converted is the same whatever the position: a picture of a
// window's size in units is that window's size in pixels.
struct GeometryRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const GeometryRect&) const = default;
};
GeometryRect rect_to_pixels(const GeometryRect& units, std::uint32_t dpi);
GeometryRect rect_to_units(const GeometryRect& pixels, std::uint32_t dpi);

// A stretch of a surface (a copy's rectangle, the part of a canvas a picture
// takes) from units to pixels, on a surface `total_units` long in units and
// `total_pixels` in pixels: a stretch that reaches the surface's far edge in
// units reaches it in pixels, so that a whole copy or picture never loses
// or adds a row to rounding.
struct Span {
    std::int32_t start = 0;
    std::int32_t length = 0;
    bool operator==(const Span&) const = default;
};
Span span_to_pixels(std::int32_t start, std::int32_t length, std::int32_t total_units,
                    std::int32_t total_pixels, std::uint32_t dpi);

// A side of something in pixels that must match a picture (a canvas that
// shows a shot as its background, a snapshot of a window): given the
// picture's own size in units, it is the picture's exact size, else the
// units converted. `also_pixels` takes the picture's size in pixels as the
// same request (the editor sizes its canvas from a picture's size, which is
// in pixels).
std::int32_t side_matching_picture(std::int32_t units, std::int32_t picture_pixels, std::uint32_t dpi,
                                   bool also_pixels);

// A window's frame in pixels at some DPI: what the outer size adds to the
// client size.
struct FrameSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const FrameSize&) const = default;
};
struct OuterSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const OuterSize&) const = default;
};
// A stored outer size is the 96-dpi client size plus the frame at 96 dpi.
// At another DPI the client scales and the frame is the system's at that
// DPI, so nothing inside is cut; a client too small for a frame is empty.
OuterSize outer_to_pixels(OuterSize stored, FrameSize frame_at_96, FrameSize frame_here, std::uint32_t dpi);
// The way back, for a window's size as the screen has it (a window moved to
// a monitor of another DPI, or resized by the system).
OuterSize outer_to_units(OuterSize pixels, FrameSize frame_at_96, FrameSize frame_here, std::uint32_t dpi);

// Which of the program's pictures drawn for other scales (the contract's
// scales, in percent) to show at the DPI: the smallest as large as the DPI
// asks, else the largest; 0 at 96 dpi and below, where the stored picture is
// the one.
std::uint32_t picture_scale_for(std::uint32_t dpi);

} // namespace vorn::win32
