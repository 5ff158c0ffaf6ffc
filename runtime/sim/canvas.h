// A canvas surface that keeps what was drawn as data. Shapes and text are
// not rasterised: the display list records each DrawOp with the drawing
// state it carried, which is what a test can check exactly. Clears and block
// pastes do change the pixels, since the program reads them back (the
// region capture copies out of a cleared canvas).
#pragma once

#include "runtime/core/engine/canvas.h"
#include "runtime/sim/trace.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vorn::sim {

// The width of a GBK text in a font, in pixels.
using TextMetric =
    std::function<std::int32_t(const std::string& gbk, const std::optional<forms::Font>& font)>;

// Half the character height per byte (12 pixels without a font), so a
// double-byte Chinese character is as wide as it is high and a Latin letter
// half that: deterministic, and close to the real proportions.
std::int32_t fixed_text_width(const std::string& gbk, const std::optional<forms::Font>& font);

// What happened to the canvas, in order.
struct CanvasEntry {
    enum class Kind : std::uint8_t { clear, draw, paste, resize };
    Kind kind = Kind::draw;
    runtime::DrawOp op;       // draw
    std::uint32_t colour = 0; // clear: the back colour (0x00BBGGRR)
    bool background = false;  // clear: a background picture was painted over it
    runtime::CopyRect area;   // paste: where and how large; resize: the new size
    std::uint32_t rop = 0;    // paste
};

class SimCanvas final : public runtime::CanvasSurface {
  public:
    // `label` names the canvas in the trace, e.g. "区域截图.画板".
    SimCanvas(std::string label, std::int32_t width, std::int32_t height, std::uint32_t back_colour,
              Trace& trace, const TextMetric& metric);

    void clear(std::uint32_t back_colour, const picture::Image* background) override;
    void draw(const runtime::DrawOp& op) override;
    picture::Image pixels() override { return pixels_; }
    // Every raster operation is applied as a plain copy; the operation is
    // kept in the history for the test to check.
    void paste(const picture::Image& image, std::int32_t left, std::int32_t top, std::uint32_t rop) override;
    std::int32_t text_width(const std::string& text, const std::optional<forms::Font>& font) override;
    // Keeps what fits; new area takes the last back colour.
    void resize(std::int32_t width, std::int32_t height) override;

    const picture::Image& image() const { return pixels_; }
    const std::vector<CanvasEntry>& history() const { return history_; }
    // Every shape and text drawn, ever; and only those since the last clear
    // (what is on the canvas now).
    std::vector<runtime::DrawOp> display_list() const;
    std::vector<runtime::DrawOp> since_clear() const;

  private:
    std::string label_;
    picture::Image pixels_;
    picture::Pixel fill_;
    Trace& trace_;
    const TextMetric& metric_;
    std::vector<CanvasEntry> history_;
};

// The pixel a colour property paints; the class's default colour paints white.
picture::Pixel paint_colour(std::uint32_t colour);

} // namespace vorn::sim
