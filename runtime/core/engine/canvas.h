// Drawing on canvases. The engine turns each canvas command into a DrawOp that
// carries the canvas's drawing state at that moment (pen, brush, mode, font,
// text colour), and hands it to the canvas's surface: the GDI backend renders
// it, the simulated desktop rasterises it in software and keeps a display
// list that tests read.
#pragma once

#include "base/bytes.h"
#include "forms/font.h"
#include "runtime/core/engine/program_block.h"
#include "runtime/core/picture/bitmap.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vorn::runtime {

struct DrawState {
    std::int32_t draw_mode = 12; // raster operation code of the canvas
    std::int32_t pen_width = 1;
    std::uint32_t pen_colour = 0;
    std::int32_t brush_type = 0; // 0 outlines only, 1 filled
    std::uint32_t brush_colour = 0x00FFFFFF;
    std::uint32_t text_colour = 0;
    std::optional<forms::Font> font; // none: the default font
    bool operator==(const DrawState&) const = default;
};

enum class DrawKind : std::uint8_t { rectangle, ellipse, line, polygon, text };

struct DrawOp {
    DrawKind kind = DrawKind::line;
    DrawState state;
    // rectangle, ellipse, line: x1, y1, x2, y2; polygon: the points' x, y
    // pairs; text: x, y.
    std::vector<std::int32_t> coords;
    std::string text; // GBK
    bool operator==(const DrawOp&) const = default;
};

// A canvas's colours with the class default resolved, as 0x00BBGGRR: ink
// (pens and text) defaults to black, paper (back colour, brushes) to white.
std::uint32_t ink_colour(std::uint32_t colour);
std::uint32_t paper_colour(std::uint32_t colour);

struct CopyRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const CopyRect&) const = default;
};

// A canvas's retained surface. Everything works surface to surface: the
// background picture is decoded once when it is set, a clear repaints it, a
// block copy goes from one surface to another, and a whole-frame picture is
// made only when the program asks for one. The overlay's rubber band and the
// editor redraw on every pointer movement, so none of these may decode,
// encode or allocate a frame.
class CanvasSurface {
  public:
    virtual ~CanvasSurface() = default;
    // Keeps the picture (picture data; empty removes it) as the background,
    // and shows it at once on the back colour, as a clear would: what was
    // drawn before goes. Data that cannot be read leaves no background.
    virtual void set_background(ByteView picture, std::uint32_t back_colour) = 0;
    // Repaints the background: back colour, then the background picture.
    virtual void clear(std::uint32_t back_colour) = 0;
    virtual void draw(const DrawOp& op) = 0;
    // Copies `area` of `source` (a surface of the same backend, possibly
    // this one) to (left, top) with a ternary raster operation. Both
    // rectangles are clipped to their surfaces, as GDI clips a copy between
    // memory bitmaps; what lies outside is left as it was.
    virtual void copy_from(CanvasSurface& source, CopyRect area, std::int32_t left, std::int32_t top,
                           std::uint32_t rop) = 0;
    // The top-left width × height of the content (each clipped to the
    // canvas) as picture data: a whole 24-bit bitmap file.
    virtual ProgramBlock picture(std::int32_t width, std::int32_t height) = 0;
    // The content as it is now, for tests and the benchmark.
    virtual picture::Image pixels() = 0;
    virtual std::int32_t text_width(const std::string& text, const std::optional<forms::Font>& font) = 0;
    // The canvas changed size: the surface keeps what fits; new area takes
    // the back colour.
    virtual void resize(std::int32_t width, std::int32_t height) = 0;
    virtual std::int32_t width() const = 0;
    virtual std::int32_t height() const = 0;
};

// Where a block copy really reads and writes once both rectangles are
// clipped to their surfaces; nullopt when nothing is left. An empty or
// negative size copies nothing.
struct ClippedCopy {
    CopyRect from;
    std::int32_t to_left = 0;
    std::int32_t to_top = 0;
    bool operator==(const ClippedCopy&) const = default;
};
std::optional<ClippedCopy> clip_copy(CopyRect area, std::int32_t source_width, std::int32_t source_height,
                                     std::int32_t left, std::int32_t top, std::int32_t target_width,
                                     std::int32_t target_height);

// The rectangle a shape can touch (its coordinates widened by the pen), for
// repainting only what changed. Text needs its extent from the backend.
CopyRect draw_bounds(const DrawOp& op, std::int32_t text_width = 0, std::int32_t text_height = 0);

// The smallest rectangle holding both, clipped to a width × height surface;
// an empty rectangle adds nothing. What a canvas changed since its last
// clear, so that the next clear repaints only that.
CopyRect union_within(const CopyRect& a, const CopyRect& b, std::int32_t width, std::int32_t height);

// A whole 24-bit bitmap file of the top-left width × height of 32-bit
// top-down rows, made straight in a block for the program.
ProgramBlock picture_of_rows(const picture::Pixel* rows, std::size_t row_pixels, std::int32_t width,
                             std::int32_t height);
// The same of 24-bit rows: a row copy each.
ProgramBlock picture_of_rows(const picture::Rows24& rows, std::int32_t width, std::int32_t height);

} // namespace vorn::runtime
