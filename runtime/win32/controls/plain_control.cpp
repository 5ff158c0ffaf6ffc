#include "runtime/win32/controls/plain_control.h"

#include "runtime/win32/gdi.h"

namespace vorn::win32 {

bool PlainControl::open(HWND parent) {
    static const WindowClass plain_class = register_class(L"VornPlainControl", nullptr, CS_DBLCLKS);
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (integer(PropertyId::visible) != 0 ? WS_VISIBLE : 0);
    return create(plain_class, style, 0, L"", bounds(), parent);
}

LRESULT PlainControl::handle(UINT message, WPARAM wparam, LPARAM lparam) {
    if (element() != nullptr && message == WM_ERASEBKGND) {
        RECT client{};
        GetClientRect(hwnd(), &client);
        const COLORREF back = element()->has(PropertyId::back_colour)
                                  ? colour_or_system(integer(PropertyId::back_colour), COLOR_BTNFACE)
                                  : GetSysColor(COLOR_BTNFACE);
        FillRect(reinterpret_cast<HDC>(wparam), &client, brush_for(back));
        return 1;
    }
    return Control::handle(message, wparam, lparam);
}

} // namespace vorn::win32
