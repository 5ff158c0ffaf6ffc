#include "runtime/win32/controls/canvas.h"

#include "forms/properties.h"
#include "runtime/core/picture/decode.h"
#include "runtime/win32/gdi.h"
#include "runtime/win32/portable/conventions.h"
#include "runtime/win32/text.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace vorn::win32 {

namespace {

// A canvas's class default colour is white, the paper it stands for.
COLORREF canvas_colour(std::uint32_t colour) {
    return colour == forms::kDefaultColour ? RGB(255, 255, 255) : COLORREF(colour & 0x00FFFFFF);
}

COLORREF ink(std::uint32_t colour) {
    return colour == forms::kDefaultColour ? RGB(0, 0, 0) : COLORREF(colour & 0x00FFFFFF);
}

// A picture size made safe to allocate, as the engine's pictures are bounded.
std::int32_t bounded(std::int32_t size) {
    return std::clamp(size, 0, picture::kMaxDimension);
}

} // namespace

GdiCanvas::GdiCanvas(HWND shown_in, std::int32_t width, std::int32_t height, COLORREF fill)
    : window_(shown_in), fill_(fill) {
    dc_ = CreateCompatibleDC(nullptr);
    resize(width, height); // fills the new bitmap
}

GdiCanvas::~GdiCanvas() {
    if (original_ != nullptr)
        SelectObject(dc_, original_);
    if (bitmap_ != nullptr)
        DeleteObject(bitmap_);
    DeleteDC(dc_);
}

void GdiCanvas::changed() {
    if (window_ != nullptr)
        InvalidateRect(window_, nullptr, FALSE);
}

void GdiCanvas::resize(std::int32_t width, std::int32_t height) {
    width = bounded(width);
    height = bounded(height);
    if (std::uint64_t(width) * std::uint64_t(height) > picture::kMaxPixels)
        height = std::int32_t(picture::kMaxPixels / std::uint64_t(std::max(width, 1)));
    if (bitmap_ != nullptr && width == width_ && height == height_)
        return;
    void* bits = nullptr;
    HBITMAP bitmap = blank_dib_section(width, height, &bits);
    if (bitmap == nullptr)
        return; // out of memory: keep drawing on what there is
    HDC fresh = CreateCompatibleDC(nullptr);
    HGDIOBJ fresh_original = SelectObject(fresh, bitmap);
    RECT all{0, 0, std::max(width, 1), std::max(height, 1)};
    FillRect(fresh, &all, brush_for(fill_));
    // What fits of the old drawing stays.
    if (bitmap_ != nullptr)
        BitBlt(fresh, 0, 0, std::min(width, width_), std::min(height, height_), dc_, 0, 0, SRCCOPY);
    if (original_ != nullptr)
        SelectObject(dc_, original_);
    if (bitmap_ != nullptr)
        DeleteObject(bitmap_);
    DeleteDC(dc_);
    dc_ = fresh;
    original_ = fresh_original;
    bitmap_ = bitmap;
    bits_ = bits;
    width_ = width;
    height_ = height;
    changed();
}

void GdiCanvas::clear(std::uint32_t back_colour, const picture::Image* background) {
    fill_ = canvas_colour(back_colour);
    RECT all{0, 0, std::max(width_, 1), std::max(height_, 1)};
    FillRect(dc_, &all, brush_for(fill_));
    if (background != nullptr)
        draw_image(dc_, *background, 0, 0, background->width, background->height);
    changed();
}

void GdiCanvas::draw(const runtime::DrawOp& op) {
    const runtime::DrawState& state = op.state;
    HPEN pen = CreatePen(PS_SOLID, std::max(state.pen_width, 0), ink(state.pen_colour));
    HBRUSH brush = state.brush_type != 0 ? CreateSolidBrush(canvas_colour(state.brush_colour))
                                         : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    HGDIOBJ old_pen = SelectObject(dc_, pen);
    HGDIOBJ old_brush = SelectObject(dc_, brush);
    const int old_rop = SetROP2(dc_, raster_op_for_draw_mode(state.draw_mode));
    const std::vector<std::int32_t>& c = op.coords;
    switch (op.kind) {
    case runtime::DrawKind::rectangle:
        if (c.size() >= 4)
            Rectangle(dc_, c[0], c[1], c[2], c[3]);
        break;
    case runtime::DrawKind::ellipse:
        if (c.size() >= 4)
            Ellipse(dc_, c[0], c[1], c[2], c[3]);
        break;
    case runtime::DrawKind::line:
        if (c.size() >= 4) {
            MoveToEx(dc_, c[0], c[1], nullptr);
            LineTo(dc_, c[2], c[3]);
        }
        break;
    case runtime::DrawKind::polygon: {
        std::vector<POINT> points;
        for (std::size_t i = 0; i + 1 < c.size(); i += 2)
            points.push_back({c[i], c[i + 1]});
        if (!points.empty())
            Polygon(dc_, points.data(), int(points.size()));
        break;
    }
    case runtime::DrawKind::text: {
        if (c.size() < 2)
            break;
        HGDIOBJ old_font = SelectObject(dc_, font_for(state.font));
        SetBkMode(dc_, TRANSPARENT);
        SetTextColor(dc_, ink(state.text_colour));
        const std::wstring shown = wide(op.text);
        TextOutW(dc_, c[0], c[1], shown.c_str(), int(shown.size()));
        SelectObject(dc_, old_font);
        break;
    }
    }
    SetROP2(dc_, old_rop);
    SelectObject(dc_, old_brush);
    SelectObject(dc_, old_pen);
    DeleteObject(pen);
    if (state.brush_type != 0)
        DeleteObject(brush);
    changed();
}

picture::Image GdiCanvas::pixels() {
    GdiFlush();
    picture::Image out(width_, height_);
    if (out.empty() || bits_ == nullptr)
        return out;
    std::memcpy(out.pixels.data(), bits_, out.pixels.size() * sizeof(picture::Pixel));
    // GDI leaves the fourth byte of a 32-bit DIB undefined.
    for (picture::Pixel& pixel : out.pixels)
        pixel &= 0x00FFFFFF;
    return out;
}

void GdiCanvas::paste(const picture::Image& image, std::int32_t left, std::int32_t top, std::uint32_t rop) {
    if (image.empty())
        return;
    HBITMAP source = dib_section(image);
    if (source == nullptr)
        return;
    HDC source_dc = CreateCompatibleDC(dc_);
    HGDIOBJ old = SelectObject(source_dc, source);
    BitBlt(dc_, left, top, image.width, image.height, source_dc, 0, 0, rop);
    SelectObject(source_dc, old);
    DeleteDC(source_dc);
    DeleteObject(source);
    changed();
}

std::int32_t GdiCanvas::text_width(const std::string& text, const std::optional<forms::Font>& font) {
    HGDIOBJ old = SelectObject(dc_, font_for(font));
    const std::wstring shown = wide(text);
    SIZE size{};
    GetTextExtentPoint32W(dc_, shown.c_str(), int(shown.size()), &size);
    SelectObject(dc_, old);
    return size.cx;
}

CanvasControl::CanvasControl(const ControlArgs& args)
    : Control(args), surface_(nullptr, std::int32_t(args.element.integer(PropertyId::width)),
                              std::int32_t(args.element.integer(PropertyId::height)),
                              canvas_colour(std::uint32_t(args.element.integer(PropertyId::back_colour)))) {
    captures_mouse_ = true;
}

bool CanvasControl::open(HWND parent) {
    static const WindowClass canvas_class = register_class(L"VornCanvas", nullptr, CS_DBLCLKS);
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                        (integer(PropertyId::visible) != 0 ? WS_VISIBLE : 0) |
                        (integer(PropertyId::focusable) != 0 ? WS_TABSTOP : 0);
    if (!create(canvas_class, style, 0, L"", bounds(), parent))
        return false;
    surface_.set_window(hwnd());
    return true;
}

void CanvasControl::property_changed(PropertyId property) {
    if (element() == nullptr)
        return;
    switch (property) {
    case PropertyId::width:
    case PropertyId::height:
        surface_.resize(std::int32_t(integer(PropertyId::width)), std::int32_t(integer(PropertyId::height)));
        Control::property_changed(property);
        break;
    case PropertyId::background_picture: {
        // A new background shows at once, on the back colour, as a clear
        // would show it; what was drawn before goes.
        const Bytes data = runtime::as_bytes(element()->get(PropertyId::background_picture));
        std::optional<picture::Image> background;
        if (!data.empty())
            if (Result<picture::Image> decoded = picture::decode_picture(data))
                background = std::move(*decoded);
        surface_.clear(std::uint32_t(integer(PropertyId::back_colour)), background ? &*background : nullptr);
        break;
    }
    default:
        Control::property_changed(property);
        break;
    }
}

COLORREF CanvasControl::background_colour() const {
    return canvas_colour(std::uint32_t(integer(PropertyId::back_colour)));
}

void CanvasControl::paint_client_background(HDC dc, const RECT& area) {
    FillRect(dc, &area, brush_for(background_colour()));
    BitBlt(dc, 0, 0, surface_.width(), surface_.height(), surface_.dc(), 0, 0, SRCCOPY);
}

LRESULT CanvasControl::handle(UINT message, WPARAM wparam, LPARAM lparam) {
    if (element() != nullptr) {
        if (message == WM_PAINT) {
            PAINTSTRUCT paint{};
            HDC dc = BeginPaint(hwnd(), &paint);
            RECT client{};
            GetClientRect(hwnd(), &client);
            // Beyond the bitmap (while a resize is on its way) the back colour shows.
            if (client.right > surface_.width() || client.bottom > surface_.height())
                FillRect(dc, &client, brush_for(background_colour()));
            BitBlt(dc, 0, 0, surface_.width(), surface_.height(), surface_.dc(), 0, 0, SRCCOPY);
            EndPaint(hwnd(), &paint);
            return 0;
        }
        if (message == WM_ERASEBKGND)
            return 1;
    }
    return Control::handle(message, wparam, lparam);
}

} // namespace vorn::win32
