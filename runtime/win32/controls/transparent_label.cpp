#include "runtime/win32/controls/transparent_label.h"

#include "runtime/win32/gdi.h"
#include "runtime/win32/text.h"

namespace vorn::win32 {

bool TransparentLabel::open(HWND parent) {
    static const WindowClass label_class = register_class(L"VornTransparentLabel", nullptr, CS_DBLCLKS);
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (integer(PropertyId::visible) != 0 ? WS_VISIBLE : 0);
    return create(label_class, style, 0, wide(text(PropertyId::text)), bounds(), parent);
}

void TransparentLabel::paint() {
    BufferedPaint painting(hwnd());
    HDC dc = painting.dc();
    paint_backdrop(dc);
    RECT area = painting.client();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour_or_system(integer(PropertyId::text_colour), COLOR_BTNTEXT));
    HGDIOBJ old = SelectObject(dc, default_font());
    const std::wstring shown = wide(text(PropertyId::text));
    DrawTextW(dc, shown.c_str(), int(shown.size()), &area, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
}

LRESULT TransparentLabel::handle(UINT message, WPARAM wparam, LPARAM lparam) {
    if (element() != nullptr) {
        if (message == WM_PAINT) {
            paint();
            return 0;
        }
        if (message == WM_ERASEBKGND)
            return 1;
    }
    return Control::handle(message, wparam, lparam);
}

} // namespace vorn::win32
