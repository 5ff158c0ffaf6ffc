#include "runtime/win32/controls/text_label.h"

#include "runtime/win32/gdi.h"
#include "runtime/win32/text.h"

namespace vorn::win32 {

bool TextLabel::open_as(const WindowClass& window_class, HWND parent) {
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (integer(PropertyId::visible) != 0 ? WS_VISIBLE : 0);
    return create(window_class, style, 0, wide(text(PropertyId::text)), bounds(), parent);
}

void TextLabel::paint() {
    BufferedPaint painting(hwnd());
    HDC dc = painting.dc();
    RECT area = painting.client();
    paint_background(dc, area);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour_or_system(integer(PropertyId::text_colour), COLOR_BTNTEXT));
    HGDIOBJ old = SelectObject(dc, text_font());
    const std::wstring shown = wide(text(PropertyId::text));
    DrawTextW(dc, shown.c_str(), int(shown.size()), &area, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
}

} // namespace vorn::win32
