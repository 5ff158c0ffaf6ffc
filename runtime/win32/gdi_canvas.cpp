#include "runtime/win32/gdi_canvas.h"

#include "runtime/core/engine/raster.h"
#include "runtime/core/picture/decode.h"
#include "runtime/win32/gdi.h"
#include "runtime/win32/portable/dpi_scale.h"
#include "runtime/win32/text.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

namespace vorn::win32 {

namespace {

COLORREF colorref(std::uint32_t colour) {
    return COLORREF(colour & 0x00FFFFFF);
}

// Sizes made safe to allocate, as the engine's pictures are bounded.
void bound(std::int32_t& width, std::int32_t& height) {
    width = std::clamp(width, 0, picture::kMaxDimension);
    height = std::clamp(height, 0, picture::kMaxDimension);
    if (width > 0 && std::uint64_t(width) * std::uint64_t(height) > picture::kMaxPixels)
        height = std::int32_t(picture::kMaxPixels / std::uint64_t(width));
}

// A plain bitmap file's layout, for reading its rows as they are; none for
// anything else (and for colour masks, which only a decoder honours).
std::optional<picture::BmpLayout> plain_bmp_layout(ByteView picture) {
    if (picture::looks_like_bmp(picture))
        if (Result<picture::BmpLayout> read = picture::read_bmp_layout(picture); read && !read->bitfields)
            return *read;
    return std::nullopt;
}

// Paints picture data at the origin of `dc`, at its own size. A plain
// bitmap file goes from its rows straight to the surface (GDI converts the
// format); anything else is decoded first.
void paint_picture(HDC dc, ByteView file, const picture::BmpLayout* layout) {
    if (layout != nullptr) {
        paint_bmp_rows(dc, file, *layout);
        return;
    }
    if (Result<picture::Image> image = picture::decode_picture(file))
        draw_image(dc, *image, 0, 0, image->width, image->height);
}

} // namespace

// ---- MemorySurface ----

MemorySurface::~MemorySurface() {
    reset();
}

MemorySurface::MemorySurface(MemorySurface&& other) noexcept {
    *this = std::move(other);
}

MemorySurface& MemorySurface::operator=(MemorySurface&& other) noexcept {
    if (this != &other) {
        reset();
        std::swap(dc_, other.dc_);
        std::swap(bitmap_, other.bitmap_);
        std::swap(original_, other.original_);
        std::swap(bits_, other.bits_);
        std::swap(depth_, other.depth_);
        std::swap(width_, other.width_);
        std::swap(height_, other.height_);
    }
    return *this;
}

bool MemorySurface::make(std::int32_t width, std::int32_t height, MemorySurface& out, Depth depth) {
    bound(width, height);
    void* bits = nullptr;
    HBITMAP bitmap = depth == Depth::rgb24 ? blank_dib_section_24(width, height, &bits)
                                           : blank_dib_section(width, height, &bits);
    if (bitmap == nullptr)
        return false;
    MemorySurface made;
    made.dc_ = CreateCompatibleDC(nullptr);
    made.bitmap_ = bitmap;
    made.original_ = SelectObject(made.dc_, bitmap);
    made.bits_ = static_cast<std::uint8_t*>(bits);
    made.depth_ = depth;
    made.width_ = width;
    made.height_ = height;
    out = std::move(made);
    return true;
}

picture::Rows24 MemorySurface::rows() const {
    if (depth_ != Depth::rgb24 || bits_ == nullptr)
        return {};
    return {bits_, picture::bmp_stride_24(width_), width_, height_, true};
}

void MemorySurface::reset() {
    if (dc_ != nullptr) {
        SelectObject(dc_, original_);
        DeleteDC(dc_);
    }
    if (bitmap_ != nullptr)
        DeleteObject(bitmap_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    original_ = nullptr;
    bits_ = nullptr;
    width_ = height_ = 0;
}

// ---- GdiCanvas ----

GdiCanvas::GdiCanvas(HWND shown_in, std::int32_t width, std::int32_t height, COLORREF fill, std::uint32_t dpi)
    : window_(shown_in), dpi_(dpi), fill_(fill) {
    resize(width, height);
}

void GdiCanvas::set_dpi(std::uint32_t dpi) {
    dpi_ = dpi;
    resize(asked_width_, asked_height_);
}

void GdiCanvas::changed(const runtime::CopyRect& area) {
    since_clear_ = runtime::union_within(since_clear_, area, surface_.width(), surface_.height());
    log_.record(area);
    if (window_ == nullptr || area.width <= 0 || area.height <= 0)
        return;
    const RECT rect{area.left, area.top, area.left + area.width, area.top + area.height};
    InvalidateRect(window_, &rect, FALSE);
}

void GdiCanvas::changed_all() {
    changed({0, 0, std::max(surface_.width(), 1), std::max(surface_.height(), 1)});
}

void GdiCanvas::resize(std::int32_t units_wide, std::int32_t units_high) {
    asked_width_ = units_wide;
    asked_height_ = units_high;
    std::int32_t width = side_matching_picture(std::max(units_wide, 0), picture_width_, dpi_, true);
    std::int32_t height = side_matching_picture(std::max(units_high, 0), picture_height_, dpi_, true);
    bound(width, height);
    took_picture_width_ = width > 0 && width == picture_width_;
    took_picture_height_ = height > 0 && height == picture_height_;
    width_ = took_picture_width_ ? to_units(width, dpi_) : std::max(units_wide, 0);
    height_ = took_picture_height_ ? to_units(height, dpi_) : std::max(units_high, 0);
    if (surface_ && width == surface_.width() && height == surface_.height())
        return;
    MemorySurface fresh;
    if (!MemorySurface::make(width, height, fresh))
        return; // out of memory: keep drawing on what there is
    RECT all{0, 0, std::max(width, 1), std::max(height, 1)};
    FillRect(fresh.dc(), &all, brush_for(fill_));
    // What the canvas gains shows its background; what fits of the old
    // drawing stays.
    if (!surface_ || width > surface_.width() || height > surface_.height())
        paint_background_onto(fresh);
    if (surface_)
        BitBlt(fresh.dc(), 0, 0, std::min(width, surface_.width()), std::min(height, surface_.height()),
               surface_.dc(), 0, 0, SRCCOPY);
    surface_ = std::move(fresh);
    cleared_ = false;
    log_.resized(surface_.width(), surface_.height());
    changed_all();
}

void GdiCanvas::set_background(ByteView picture, std::uint32_t back_colour) {
    // A picture that can be had again is painted straight onto the surface,
    // and decoded on its own only once a clear needs it (the editor's
    // foreground, a whole shot, never is cleared); one that cannot is kept
    // decoded.
    background_.reset();
    if (!background_source_)
        decode_background(picture);
    const Result<picture::PictureSize> size = picture_size_of(picture);
    has_background_ = size && size->width > 0 && size->height > 0 && (background_source_ || background_);
    picture_width_ = has_background_ ? size->width : 0;
    picture_height_ = has_background_ ? size->height : 0;
    fill_ = colorref(runtime::paper_colour(back_colour));
    // What was drawn goes: a fresh surface of the size asked for (or the
    // picture's, when the canvas takes it) shows the background.
    surface_.reset();
    resize(asked_width_, asked_height_);
    cleared_ = true;
    since_clear_ = {};
}

Result<picture::PictureSize> GdiCanvas::picture_size_of(ByteView picture) {
    if (picture.empty())
        return Error{"no picture"};
    if (const std::optional<picture::BmpLayout> layout = plain_bmp_layout(picture))
        return picture::PictureSize{layout->width, layout->height};
    return picture::picture_size(picture);
}

// The background at the origin of `target`: from its decoded copy, or, while
// there is none, straight from the picture's rows (a canvas given a whole
// shot and then its size grows without decoding the shot on its own).
void GdiCanvas::paint_background_onto(MemorySurface& target) {
    if (background_) {
        BitBlt(target.dc(), 0, 0, std::min(target.width(), background_.width()),
               std::min(target.height(), background_.height()), background_.dc(), 0, 0, SRCCOPY);
        return;
    }
    if (!has_background_ || !background_source_)
        return;
    const ByteView picture = background_source_();
    if (const std::optional<picture::BmpLayout> layout = plain_bmp_layout(picture)) {
        GdiFlush(); // what GDI drew lands before the rows go over it
        picture::read_bmp_rows(picture, *layout, 0, 0, target.width(), target.height(), target.rows());
    } else {
        paint_picture(target.dc(), picture, nullptr);
    }
}

void GdiCanvas::ensure_background() {
    if (!has_background_ || background_ || !background_source_)
        return;
    const ByteView picture = background_source_();
    if (!copy_background_from_surface(picture))
        decode_background(picture);
}

// While the surface shows the background on the fill colour but for what was
// drawn since the last clear (the overlay's first clear, after its first
// band), the background's copy is taken from the surface and only that part
// read from the picture: no whole picture converted at the first move.
bool GdiCanvas::copy_background_from_surface(ByteView picture) {
    const std::optional<picture::BmpLayout> layout = plain_bmp_layout(picture);
    if (!cleared_ || !layout || surface_.width() < layout->width || surface_.height() < layout->height)
        return false;
    MemorySurface made;
    if (!MemorySurface::make(layout->width, layout->height, made))
        return false;
    BitBlt(made.dc(), 0, 0, made.width(), made.height(), surface_.dc(), 0, 0, SRCCOPY);
    GdiFlush();
    const runtime::CopyRect drawn = since_clear_;
    if (drawn.width > 0 && drawn.height > 0 && drawn.left < made.width() && drawn.top < made.height())
        picture::read_bmp_rows(picture, *layout, drawn.left, drawn.top, drawn.width, drawn.height,
                               made.rows(), drawn.left, drawn.top);
    background_ = std::move(made);
    return true;
}

void GdiCanvas::decode_background(ByteView picture) {
    background_.reset();
    if (!picture.empty()) {
        const std::optional<picture::BmpLayout> layout = plain_bmp_layout(picture);
        const Result<picture::PictureSize> size = picture_size_of(picture);
        if (size && size->width > 0 && size->height > 0 &&
            MemorySurface::make(size->width, size->height, background_))
            paint_picture(background_.dc(), picture, layout ? &*layout : nullptr);
    }
}

void GdiCanvas::clear(std::uint32_t back_colour) {
    ensure_background();
    const COLORREF fill = colorref(runtime::paper_colour(back_colour));
    if (cleared_ && fill == fill_) {
        repaint_background(since_clear_);
    } else {
        fill_ = fill;
        repaint_background({0, 0, std::max(surface_.width(), 1), std::max(surface_.height(), 1)});
    }
    cleared_ = true;
    since_clear_ = {};
}

void GdiCanvas::repaint_background(const runtime::CopyRect& area) {
    if (area.width <= 0 || area.height <= 0)
        return;
    const RECT rect{area.left, area.top, area.left + area.width, area.top + area.height};
    const bool covered =
        background_ && background_.width() >= rect.right && background_.height() >= rect.bottom;
    if (!covered)
        FillRect(surface_.dc(), &rect, brush_for(fill_));
    if (background_) {
        const int right = std::min<int>(rect.right, background_.width());
        const int bottom = std::min<int>(rect.bottom, background_.height());
        if (right > rect.left && bottom > rect.top)
            BitBlt(surface_.dc(), rect.left, rect.top, right - rect.left, bottom - rect.top, background_.dc(),
                   rect.left, rect.top, SRCCOPY);
    }
    changed(area);
}

void GdiCanvas::draw(const runtime::DrawOp& asked) {
    HDC dc = surface_.dc();
    runtime::DrawOp op = asked;
    for (std::int32_t& coordinate : op.coords)
        coordinate = to_pixels(coordinate, dpi_);
    op.state.pen_width = to_pixels(op.state.pen_width, dpi_);
    const runtime::DrawState& state = op.state;
    HPEN pen =
        CreatePen(PS_SOLID, std::max(state.pen_width, 0), colorref(runtime::ink_colour(state.pen_colour)));
    HBRUSH brush = state.brush_type != 0
                       ? CreateSolidBrush(colorref(runtime::paper_colour(state.brush_colour)))
                       : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    HGDIOBJ old_pen = SelectObject(dc, pen);
    HGDIOBJ old_brush = SelectObject(dc, brush);
    const int old_rop = SetROP2(dc, runtime::rop2_for_draw_mode(state.draw_mode));
    const std::vector<std::int32_t>& c = op.coords;
    runtime::CopyRect touched = runtime::draw_bounds(op);
    switch (op.kind) {
    case runtime::DrawKind::rectangle:
        if (c.size() >= 4)
            Rectangle(dc, c[0], c[1], c[2], c[3]);
        break;
    case runtime::DrawKind::ellipse:
        if (c.size() >= 4)
            Ellipse(dc, c[0], c[1], c[2], c[3]);
        break;
    case runtime::DrawKind::line:
        if (c.size() >= 4) {
            MoveToEx(dc, c[0], c[1], nullptr);
            LineTo(dc, c[2], c[3]);
        }
        break;
    case runtime::DrawKind::polygon: {
        std::vector<POINT> points;
        for (std::size_t i = 0; i + 1 < c.size(); i += 2)
            points.push_back({c[i], c[i + 1]});
        if (!points.empty())
            Polygon(dc, points.data(), int(points.size()));
        break;
    }
    case runtime::DrawKind::text: {
        if (c.size() < 2)
            break;
        HGDIOBJ old_font = SelectObject(dc, font_for(state.font, dpi_));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, colorref(runtime::ink_colour(state.text_colour)));
        const std::wstring shown = wide(op.text);
        TextOutW(dc, c[0], c[1], shown.c_str(), int(shown.size()));
        SIZE extent{};
        GetTextExtentPoint32W(dc, shown.c_str(), int(shown.size()), &extent);
        touched = runtime::draw_bounds(op, extent.cx, extent.cy);
        SelectObject(dc, old_font);
        break;
    }
    }
    SetROP2(dc, old_rop);
    SelectObject(dc, old_brush);
    SelectObject(dc, old_pen);
    DeleteObject(pen);
    if (state.brush_type != 0)
        DeleteObject(brush);
    changed(touched);
}

void GdiCanvas::copy_from(runtime::CanvasSurface& source, runtime::CopyRect area, std::int32_t left,
                          std::int32_t top, std::uint32_t rop) {
    auto* from = dynamic_cast<GdiCanvas*>(&source);
    if (from == nullptr)
        return;
    // The source's rectangle in its pixels, and where it goes in ours.
    const Span across =
        span_to_pixels(area.left, area.width, from->width(), from->surface_.width(), from->dpi_);
    const Span down =
        span_to_pixels(area.top, area.height, from->height(), from->surface_.height(), from->dpi_);
    area = {across.start, down.start, across.length, down.length};
    left = to_pixels(left, dpi_);
    top = to_pixels(top, dpi_);
    // Clipped here as the simulated surface clips, so both agree on what a
    // copy that reaches past an edge leaves behind.
    const auto clipped = runtime::clip_copy(area, from->surface_.width(), from->surface_.height(), left, top,
                                            surface_.width(), surface_.height());
    if (!clipped)
        return;
    if (background_source_)
        background_.reset(); // see set_background_source
    const runtime::CopyRect whole{0, 0, surface_.width(), surface_.height()};
    if (rop == SRCCOPY && from->surface_.width() == surface_.width() &&
        from->surface_.height() == surface_.height() && clipped->from == whole && clipped->to_left == 0 &&
        clipped->to_top == 0) {
        const runtime::CopyRect differing = log_.differing_from(from->log_).value_or(whole);
        if (differing.width > 0 && differing.height > 0) {
            BitBlt(surface_.dc(), differing.left, differing.top, differing.width, differing.height,
                   from->surface_.dc(), differing.left, differing.top, SRCCOPY);
            changed(differing);
        }
        log_.copied_whole(from->log_);
        return;
    }
    BitBlt(surface_.dc(), clipped->to_left, clipped->to_top, clipped->from.width, clipped->from.height,
           from->surface_.dc(), clipped->from.left, clipped->from.top, rop);
    changed({clipped->to_left, clipped->to_top, clipped->from.width, clipped->from.height});
}

runtime::ProgramBlock GdiCanvas::picture(std::int32_t width, std::int32_t height) {
    GdiFlush();
    width = std::clamp(span_to_pixels(0, width, width_, surface_.width(), dpi_).length, 0, surface_.width());
    height =
        std::clamp(span_to_pixels(0, height, height_, surface_.height(), dpi_).length, 0, surface_.height());
    return runtime::picture_of_rows(surface_.rows(), width, height);
}

picture::Image GdiCanvas::pixels() {
    GdiFlush();
    const picture::Rows24 rows = surface_.rows();
    picture::Image out(rows.width, rows.height);
    for (std::int32_t y = 0; y < out.height; ++y)
        for (std::int32_t x = 0; x < out.width; ++x)
            out.at(x, y) = rows.at(x, y);
    return out;
}

std::int32_t GdiCanvas::text_width(const std::string& text, const std::optional<forms::Font>& font) {
    HGDIOBJ old = SelectObject(surface_.dc(), font_for(font, dpi_));
    const std::wstring shown = wide(text);
    SIZE size{};
    GetTextExtentPoint32W(surface_.dc(), shown.c_str(), int(shown.size()), &size);
    SelectObject(surface_.dc(), old);
    return to_units(size.cx, dpi_);
}

} // namespace vorn::win32
