#include "runtime/sim/canvas.h"

#include "runtime/sim/describe.h"
#include "runtime/sim/geometry.h"

#include <algorithm>
#include <cstdlib>

namespace vorn::sim {

using runtime::DrawKind;
using runtime::DrawOp;

namespace {

constexpr std::int32_t kDefaultCharHeight = 12;

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
        height = kDefaultCharHeight;
    return std::int32_t(gbk_text.size()) * std::max(height / 2, 1);
}

picture::Pixel paint_colour(std::uint32_t colour) {
    return colour == forms::kDefaultColour ? picture::rgb(255, 255, 255) : picture::from_colorref(colour);
}

SimCanvas::SimCanvas(std::string label, std::int32_t width, std::int32_t height, std::uint32_t back_colour,
                     Trace& trace, const TextMetric& metric)
    : label_(std::move(label)), fill_(paint_colour(back_colour)), trace_(trace), metric_(metric) {
    const Size size = fit_picture(width, height);
    pixels_ = picture::Image(size.width, size.height, fill_);
}

void SimCanvas::clear(std::uint32_t back_colour, const picture::Image* background) {
    fill_ = paint_colour(back_colour);
    std::fill(pixels_.pixels.begin(), pixels_.pixels.end(), fill_);
    if (background != nullptr)
        picture::blit(pixels_, *background, 0, 0);
    CanvasEntry entry;
    entry.kind = CanvasEntry::Kind::clear;
    entry.colour = back_colour;
    entry.background = background != nullptr;
    history_.push_back(std::move(entry));
    trace_.add("canvas " + label_ + " clear" + (background != nullptr ? " with background" : ""));
}

void SimCanvas::draw(const DrawOp& op) {
    CanvasEntry entry;
    entry.kind = CanvasEntry::Kind::draw;
    entry.op = op;
    history_.push_back(std::move(entry));
    std::string line = "canvas " + label_ + " " + kind_name(op.kind) + " " + join(op.coords);
    if (op.kind == DrawKind::text)
        line += " " + in_quotes(op.text);
    trace_.add(std::move(line));
}

void SimCanvas::paste(const picture::Image& image, std::int32_t left, std::int32_t top, std::uint32_t rop) {
    picture::blit(pixels_, image, left, top);
    CanvasEntry entry;
    entry.kind = CanvasEntry::Kind::paste;
    entry.area = {left, top, image.width, image.height};
    entry.rop = rop;
    history_.push_back(std::move(entry));
    trace_.add("canvas " + label_ + " paste " + std::to_string(image.width) + "x" +
               std::to_string(image.height) + " at " + std::to_string(left) + "," + std::to_string(top) +
               " rop " + hex(rop));
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
    picture::Image resized(width, height, fill_);
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
        if (entry.kind == CanvasEntry::Kind::clear)
            ops.clear();
        else if (entry.kind == CanvasEntry::Kind::draw)
            ops.push_back(entry.op);
    }
    return ops;
}

} // namespace vorn::sim
