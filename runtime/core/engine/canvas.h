// Drawing on canvases. The engine turns each canvas command into a DrawOp that
// carries the canvas's drawing state at that moment (pen, brush, mode, font,
// text colour), and hands it to the canvas's surface: the GDI backend renders
// it, the simulated desktop keeps it in a display list that tests read.
#pragma once

#include "forms/font.h"
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

struct CopyRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

class CanvasSurface {
  public:
    virtual ~CanvasSurface() = default;
    // Repaints the background: back colour, then the background picture.
    virtual void clear(std::uint32_t back_colour, const picture::Image* background) = 0;
    virtual void draw(const DrawOp& op) = 0;
    // The surface's pixels as they are now (the size of the canvas).
    virtual picture::Image pixels() = 0;
    // Puts pixels at (left, top) with a raster operation (SRCCOPY = 0x00CC0020).
    virtual void paste(const picture::Image& image, std::int32_t left, std::int32_t top,
                       std::uint32_t rop) = 0;
    virtual std::int32_t text_width(const std::string& text, const std::optional<forms::Font>& font) = 0;
    // The canvas changed size: the surface keeps what fits.
    virtual void resize(std::int32_t width, std::int32_t height) = 0;
};

inline constexpr std::uint32_t kSourceCopy = 0x00CC0020;

} // namespace vorn::runtime
