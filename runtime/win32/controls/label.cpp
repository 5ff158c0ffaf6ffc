#include "runtime/win32/controls/label.h"

#include "runtime/win32/gdi.h"

namespace vorn::win32 {

bool Label::open(HWND parent) {
    static const WindowClass label_class = register_class(L"VornLabel", nullptr, CS_DBLCLKS);
    return open_as(label_class, parent);
}

COLORREF Label::background_colour() const {
    return colour_or_system(integer(PropertyId::back_colour), COLOR_BTNFACE);
}

void Label::paint_background(HDC dc, const RECT& area) {
    FillRect(dc, &area, brush_for(background_colour()));
}

HFONT Label::text_font() const {
    return font();
}

} // namespace vorn::win32
