#include "runtime/win32/controls/push_button.h"

#include "forms/events.h"
#include "runtime/win32/gdi.h"
#include "runtime/win32/text.h"

namespace vorn::win32 {

bool PushButton::open(HWND parent) {
    static const WindowClass button_class = register_class(L"VornPushButton", L"BUTTON", 0);
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | BS_PUSHBUTTON |
                        (integer(PropertyId::visible) != 0 ? WS_VISIBLE : 0) |
                        (integer(PropertyId::focusable) != 0 ? WS_TABSTOP : 0);
    if (!create(button_class, style, 0, wide(text(PropertyId::text)), bounds(), parent))
        return false;
    SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(default_font(dpi())), FALSE);
    return true;
}

void PushButton::on_command(WORD code) {
    if (code == BN_CLICKED)
        raise(forms::event::kClicked);
}

} // namespace vorn::win32
