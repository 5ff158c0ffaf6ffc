#include "runtime/win32/controls/transparent_label.h"

#include "runtime/win32/gdi.h"

namespace vorn::win32 {

bool TransparentLabel::open(HWND parent) {
    static const WindowClass label_class = register_class(L"VornTransparentLabel", nullptr, CS_DBLCLKS);
    return open_as(label_class, parent);
}

void TransparentLabel::paint_background(HDC dc, const RECT&) {
    paint_backdrop(dc);
}

HFONT TransparentLabel::text_font() const {
    return default_font(dpi());
}

} // namespace vorn::win32
