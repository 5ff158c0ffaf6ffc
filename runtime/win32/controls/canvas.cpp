#include "runtime/win32/controls/canvas.h"

#include "forms/properties.h"
#include "runtime/win32/gdi.h"

#include <algorithm>

namespace vorn::win32 {

namespace {

// A canvas's class default colour is white, the paper it stands for.
COLORREF canvas_colour(std::uint32_t colour) {
    return COLORREF(runtime::paper_colour(colour));
}

} // namespace

CanvasControl::CanvasControl(const ControlArgs& args)
    : Control(args),
      surface_(nullptr, std::int32_t(args.element.integer(PropertyId::width)),
               std::int32_t(args.element.integer(PropertyId::height)),
               canvas_colour(std::uint32_t(args.element.integer(PropertyId::back_colour))), dpi()) {
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
    surface_.set_background_source([this] {
        return element() != nullptr ? runtime::bytes_view(element()->get(PropertyId::background_picture))
                                    : ByteView();
    });
    if (const ByteView background = runtime::bytes_view(element()->get(PropertyId::background_picture));
        !background.empty())
        surface_.set_background(background, std::uint32_t(integer(PropertyId::back_colour)));
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
    case PropertyId::background_picture:
        // Decoded once, here: every clear repaints it.
        surface_.set_background(runtime::bytes_view(element()->get(PropertyId::background_picture)),
                                std::uint32_t(integer(PropertyId::back_colour)));
        apply_geometry(); // the canvas may have taken the picture's size
        break;
    default:
        Control::property_changed(property);
        break;
    }
}

void CanvasControl::dpi_changed(std::uint32_t dpi) {
    surface_.set_dpi(dpi);
    Control::dpi_changed(dpi);
}

RECT CanvasControl::bounds() const {
    const RECT place = Control::bounds();
    return {place.left, place.top, place.left + surface_.pixel_width(), place.top + surface_.pixel_height()};
}

bool CanvasControl::refresh_size(PropertyId property) {
    // A canvas that took its picture's size in pixels is the picture's
    // size in units, as the program measures everything else.
    if (element() == nullptr)
        return false;
    if (property == PropertyId::width && surface_.took_picture_width())
        element()->properties[PropertyId::width] = std::int64_t(surface_.width());
    else if (property == PropertyId::height && surface_.took_picture_height())
        element()->properties[PropertyId::height] = std::int64_t(surface_.height());
    else
        return false;
    return true;
}

COLORREF CanvasControl::background_colour() const {
    return canvas_colour(std::uint32_t(integer(PropertyId::back_colour)));
}

void CanvasControl::paint_client_background(HDC dc, const RECT& area) {
    FillRect(dc, &area, brush_for(background_colour()));
    blit_in_bands(dc, area, surface_.dc());
}

LRESULT CanvasControl::handle(UINT message, WPARAM wparam, LPARAM lparam) {
    if (element() != nullptr) {
        if (message == WM_PAINT) {
            PAINTSTRUCT paint{};
            HDC dc = BeginPaint(hwnd(), &paint);
            // Only what changed: a rubber band repaints a few rows, not the frame.
            const RECT& dirty = paint.rcPaint;
            // Beyond the bitmap (while a resize is on its way) the back colour shows.
            if (dirty.right > surface_.pixel_width() || dirty.bottom > surface_.pixel_height())
                FillRect(dc, &dirty, brush_for(background_colour()));
            blit_in_bands(dc, dirty, surface_.dc());
            EndPaint(hwnd(), &paint);
            return 0;
        }
        if (message == WM_ERASEBKGND)
            return 1;
    }
    return Control::handle(message, wparam, lparam);
}

} // namespace vorn::win32
