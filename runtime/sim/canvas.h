// The simulated canvas: a pixel surface that applies the same raster
// operations as GDI (block copies, fills and binary drawing modes exactly;
// shapes where tests look, see shapes.h), and a history of what was done to
// it. Text is not rasterised: the display list records each DrawOp with the
// drawing state it carried, which is what a test can check exactly.
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
    enum class Kind : std::uint8_t { background, clear, draw, copy, resize, picture };
    Kind kind = Kind::draw;
    runtime::DrawOp op;       // draw
    std::uint32_t colour = 0; // background, clear: the back colour (0x00BBGGRR)
    bool background = false;  // background, clear: a background picture was painted over it
    runtime::CopyRect area;   // copy: the source block; resize, picture: the size
    std::int32_t to_left = 0; // copy: where it went
    std::int32_t to_top = 0;
    std::uint32_t rop = 0; // copy
    std::string source;    // copy: the source canvas's label
};

class SimCanvas final : public runtime::CanvasSurface {
  public:
    // `label` names the canvas in the trace, e.g. "区域截图.画板".
    SimCanvas(std::string label, std::int32_t width, std::int32_t height, std::uint32_t back_colour,
              Trace& trace, const TextMetric& metric);

    void set_background(ByteView picture, std::uint32_t back_colour) override;
    void clear(std::uint32_t back_colour) override;
    void draw(const runtime::DrawOp& op) override;
    void copy_from(runtime::CanvasSurface& source, runtime::CopyRect area, std::int32_t left,
                   std::int32_t top, std::uint32_t rop) override;
    runtime::ProgramBlock picture(std::int32_t width, std::int32_t height) override;
    picture::Image pixels() override { return pixels_; }
    std::int32_t text_width(const std::string& text, const std::optional<forms::Font>& font) override;
    void resize(std::int32_t width, std::int32_t height) override;
    std::int32_t width() const override { return pixels_.width; }
    std::int32_t height() const override { return pixels_.height; }

    const std::string& label() const { return label_; }
    const picture::Image& image() const { return pixels_; }
    const std::optional<picture::Image>& background() const { return background_; }
    const std::vector<CanvasEntry>& history() const { return history_; }
    // Every shape and text drawn, ever; and only those since the last clear
    // (what is on the canvas now).
    std::vector<runtime::DrawOp> display_list() const;
    std::vector<runtime::DrawOp> since_clear() const;

  private:
    void repaint(std::uint32_t back_colour);

    std::string label_;
    picture::Image pixels_;
    std::optional<picture::Image> background_;
    picture::Pixel fill_;
    Trace& trace_;
    const TextMetric& metric_;
    std::vector<CanvasEntry> history_;
};

// The pixel a colour property paints; the class's default colour paints white.
picture::Pixel paint_colour(std::uint32_t colour);

} // namespace vorn::sim
