#include "runtime/win32/controls/picture_box.h"

#include "runtime/win32/gdi.h"
#include "runtime/win32/portable/conventions.h"
#include "runtime/win32/portable/picture_file.h"

namespace vorn::win32 {

namespace {

constexpr picture::Pixel kWhite = picture::rgb(255, 255, 255);

} // namespace

bool PictureBox::open(HWND parent) {
    static const WindowClass box_class = register_class(L"VornPictureBox", nullptr, CS_DBLCLKS);
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (integer(PropertyId::visible) != 0 ? WS_VISIBLE : 0);
    return create(box_class, style, 0, L"", bounds(), parent);
}

// The area inside the frame.
RECT PictureBox::picture_area(RECT client) {
    InflateRect(&client, -1, -1);
    return client;
}

SIZE PictureBox::box_size() const {
    const RECT box = bounds();
    return {box.right - box.left, box.bottom - box.top};
}

void PictureBox::decode() {
    stale_ = false;
    shown_ = {};
    decoded_for_ = box_size();
    // A shot is tens of megabytes: decoded from the model's own copy, and a
    // bitmap file straight to the size it is shown at, so that neither the
    // whole shot decoded nor a stretch of it on every paint is needed.
    const ByteView data = runtime::bytes_view(element()->get(PropertyId::picture));
    if (data.empty())
        return;
    if (Result<picture::BmpLayout> layout = picture::read_bmp_layout(data)) {
        const RECT area = picture_area({0, 0, decoded_for_.cx, decoded_for_.cy});
        const PlacedRect at =
            fit_picture(layout->width, layout->height, area.right - area.left, area.bottom - area.top);
        if (at.width <= 0 || at.height <= 0)
            return;
        if (Result<picture::Image> shrunk = picture::decode_bmp_shrunk(data, at.width, at.height))
            shown_ = std::move(*shrunk);
        return;
    }
    if (Result<Picture> decoded = decode_any_picture(data))
        shown_ = flatten(std::move(*decoded), kWhite);
}

void PictureBox::property_changed(PropertyId property) {
    if (property == PropertyId::picture && element() != nullptr) {
        stale_ = true;
        InvalidateRect(hwnd(), nullptr, FALSE);
        return;
    }
    Control::property_changed(property);
}

COLORREF PictureBox::background_colour() const {
    // The box has no colour of its own unless the program gives it one.
    return element() != nullptr && element()->has(PropertyId::back_colour)
               ? colour_or_system(integer(PropertyId::back_colour), COLOR_WINDOW)
               : GetSysColor(COLOR_WINDOW);
}

void PictureBox::paint() {
    if (stale_)
        decode();
    BufferedPaint painting(hwnd());
    HDC dc = painting.dc();
    RECT area = painting.client();
    FillRect(dc, &area, brush_for(background_colour()));
    FrameRect(dc, &area, brush_for(GetSysColor(COLOR_BTNSHADOW)));
    area = picture_area(area);
    const PlacedRect at =
        fit_picture(shown_.width, shown_.height, area.right - area.left, area.bottom - area.top);
    draw_image(dc, shown_, area.left + at.left, area.top + at.top, at.width, at.height);
}

LRESULT PictureBox::handle(UINT message, WPARAM wparam, LPARAM lparam) {
    if (element() != nullptr && message == WM_SIZE) {
        const SIZE size = box_size();
        if (size.cx != decoded_for_.cx || size.cy != decoded_for_.cy)
            stale_ = true; // fitted afresh to the new size
        InvalidateRect(hwnd(), nullptr, FALSE);
    }
    return Control::handle(message, wparam, lparam);
}

} // namespace vorn::win32
