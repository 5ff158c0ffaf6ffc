#include "runtime/sim/canvas.h"

#include "runtime/core/engine/fonts.h"
#include "runtime/core/engine/raster.h"
#include "runtime/core/picture/decode.h"
#include "runtime/sim/describe.h"
#include "runtime/sim/geometry.h"
#include "runtime/sim/shapes.h"

#include <algorithm>
#include <cstdlib>

namespace vorn::sim {

using runtime::DrawKind;
using runtime::DrawOp;

namespace {

std::string kind_name(DrawKind kind) {
    switch (kind) {
    case DrawKind::rectangle:
        return "rectangle";
    case DrawKind::ellipse:
        return "ellipse";
    case DrawKind::line:
        return "line";
    case DrawKind::polygon:
        return "polygon";
    case DrawKind::text:
        return "text";
    }
    return "?";
}

std::string join(const std::vector<std::int32_t>& numbers) {
    std::string text;
    for (std::int32_t n : numbers)
        text += (text.empty() ? "" : ",") + std::to_string(n);
    return text;
}

} // namespace

std::int32_t fixed_text_width(const std::string& gbk_text, const std::optional<forms::Font>& font) {
    std::int32_t height = font ? std::abs(font->height) : 0;
    if (height == 0)
        height = std::abs(runtime::default_font().height);
    return std::int32_t(gbk_text.size()) * std::max(height / 2, 1);
}

picture::Pixel paint_colour(std::uint32_t colour) {
    return picture::from_colorref(runtime::paper_colour(colour));
}

SimCanvas::SimCanvas(std::string label, std::int32_t width, std::int32_t height, std::uint32_t back_colour,
                     Trace& trace, const TextMetric& metric)
    : label_(std::move(label)), fill_(paint_colour(back_colour)), trace_(trace), metric_(metric) {
    const Size size = fit_picture(width, height);
    pixels_ = picture::Image(size.width, size.height, fill_);
}

void SimCanvas::repaint(std::uint32_t back_colour) {
    fill_ = paint_colour(back_colour);
    std::fill(pixels_.pixels.begin(), pixels_.pixels.end(), fill_);
    if (background_)
        picture::blit(pixels_, *background_, 0, 0);
}

void SimCanvas::set_background(ByteView picture, std::uint32_t back_colour) {
    background_.reset();
    if (!picture.empty())
        if (Result<picture::Image> decoded = picture::decode_picture(picture))
            background_ = std::move(*decoded);
    repaint(back_colour);
    CanvasEntry entry;
    entry.kind = CanvasEntry::Kind::background;
    entry.colour = back_colour;
    entry.background = background_.has_value();
    history_.push_back(std::move(entry));
    trace_.add("canvas " + label_ + " background " +
               (background_ ? std::to_string(background_->width) + "x" + std::to_string(background_->height)
                            : std::string("none")));
}

void SimCanvas::clear(std::uint32_t back_colour) {
    repaint(back_colour);
    CanvasEntry entry;
    entry.kind = CanvasEntry::Kind::clear;
    entry.colour = back_colour;
    entry.background = background_.has_value();
    history_.push_back(std::move(entry));
    trace_.add("canvas " + label_ + " clear" + (background_ ? " with background" : ""));
}

void SimCanvas::draw(const DrawOp& op) {
    paint_shape(pixels_, op);
    CanvasEntry entry;
    entry.kind = CanvasEntry::Kind::draw;
    entry.op = op;
    history_.push_back(std::move(entry));
    std::string line = "canvas " + label_ + " " + kind_name(op.kind) + " " + join(op.coords);
    if (op.kind == DrawKind::text)
        line += " " + in_quotes(op.text);
    trace_.add(std::move(line));
}

void SimCanvas::copy_from(runtime::CanvasSurface& source, runtime::CopyRect area, std::int32_t left,
                          std::int32_t top, std::uint32_t rop) {
    auto* from = dynamic_cast<SimCanvas*>(&source);
    if (from == nullptr)
        return;
    if (auto clipped =
            runtime::clip_copy(area, from->width(), from->height(), left, top, width(), height())) {
        // A copy within one canvas may overlap itself: read before writing.
        const picture::Image block = picture::crop(from->pixels_, clipped->from.left, clipped->from.top,
                                                   clipped->from.width, clipped->from.height);
        for (std::int32_t y = 0; y < block.height; ++y) {
            const picture::Pixel* in = &block.pixels[std::size_t(y) * std::size_t(block.width)];
            picture::Pixel* out = &pixels_.at(clipped->to_left, clipped->to_top + y);
            if (rop == runtime::kSourceCopy)
                std::copy(in, in + block.width, out);
            else
                for (std::int32_t x = 0; x < block.width; ++x)
                    out[x] = runtime::apply_rop3(rop, in[x], out[x]);
        }
    }
    CanvasEntry entry;
    entry.kind = CanvasEntry::Kind::copy;
    entry.area = area;
    entry.to_left = left;
    entry.to_top = top;
    entry.rop = rop;
    entry.source = from->label_;
    history_.push_back(std::move(entry));
    trace_.add("canvas " + label_ + " copy from " + from->label_ + " " + std::to_string(area.width) + "x" +
               std::to_string(area.height) + " at " + std::to_string(area.left) + "," +
               std::to_string(area.top) + " to " + std::to_string(left) + "," + std::to_string(top) +
               " rop " + hex(rop));
}

runtime::ProgramBlock SimCanvas::picture(std::int32_t width, std::int32_t height) {
    width = std::clamp(width, 0, pixels_.width);
    height = std::clamp(height, 0, pixels_.height);
    CanvasEntry entry;
    entry.kind = CanvasEntry::Kind::picture;
    entry.area = {0, 0, width, height};
    history_.push_back(std::move(entry));
    trace_.add("canvas " + label_ + " picture " + std::to_string(width) + "x" + std::to_string(height));
    return runtime::picture_of_rows(pixels_.pixels.data(), std::size_t(pixels_.width), width, height);
}

std::int32_t SimCanvas::text_width(const std::string& text, const std::optional<forms::Font>& font) {
    return metric_ ? metric_(text, font) : fixed_text_width(text, font);
}

void SimCanvas::resize(std::int32_t width, std::int32_t height) {
    const Size size = fit_picture(width, height);
    width = size.width;
    height = size.height;
    if (width == pixels_.width && height == pixels_.height)
        return;
    // What the canvas gains shows its background; what fits of the old
    // drawing stays.
    picture::Image resized(width, height, fill_);
    if (background_)
        picture::blit(resized, *background_, 0, 0);
    picture::blit(resized, pixels_, 0, 0);
    pixels_ = std::move(resized);
    CanvasEntry entry;
    entry.kind = CanvasEntry::Kind::resize;
    entry.area = {0, 0, width, height};
    history_.push_back(std::move(entry));
    trace_.add("canvas " + label_ + " resize " + std::to_string(width) + "x" + std::to_string(height));
}

std::vector<DrawOp> SimCanvas::display_list() const {
    std::vector<DrawOp> ops;
    for (const CanvasEntry& entry : history_)
        if (entry.kind == CanvasEntry::Kind::draw)
            ops.push_back(entry.op);
    return ops;
}

std::vector<DrawOp> SimCanvas::since_clear() const {
    std::vector<DrawOp> ops;
    for (const CanvasEntry& entry : history_) {
        if (entry.kind == CanvasEntry::Kind::clear || entry.kind == CanvasEntry::Kind::background)
            ops.clear();
        else if (entry.kind == CanvasEntry::Kind::draw)
            ops.push_back(entry.op);
    }
    return ops;
}

} // namespace vorn::sim
