#include "runtime/win32/controls/check_box.h"

#include "forms/events.h"
#include "runtime/core/engine/engine.h"
#include "runtime/win32/gdi.h"
#include "runtime/win32/text.h"
#include "runtime/win32/win32_desktop.h"

namespace vorn::win32 {

bool CheckBox::open(HWND parent) {
    static const WindowClass check_class = register_class(L"VornCheckBox", L"BUTTON", 0);
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | BS_AUTOCHECKBOX |
                        (integer(PropertyId::visible) != 0 ? WS_VISIBLE : 0) |
                        (integer(PropertyId::focusable) != 0 ? WS_TABSTOP : 0);
    if (!create(check_class, style, 0, wide(text(PropertyId::text)), bounds(), parent))
        return false;
    SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(default_font(dpi())), FALSE);
    SendMessageW(hwnd(), BM_SETCHECK, integer(PropertyId::checked) != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
    return true;
}

void CheckBox::property_changed(PropertyId property) {
    if (property == PropertyId::checked && hwnd() != nullptr && element() != nullptr) {
        SendMessageW(hwnd(), BM_SETCHECK, integer(PropertyId::checked) != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
        return;
    }
    Control::property_changed(property);
}

void CheckBox::on_command(WORD code) {
    if (code != BN_CLICKED || element() == nullptr)
        return;
    const bool checked = SendMessageW(hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED;
    desktop_.engine().update_from_user(window_id(), element_id(), PropertyId::checked, std::int64_t(checked));
    raise(forms::event::kClicked);
}

std::optional<LRESULT> CheckBox::on_control_colour(HDC dc) {
    // The box and its caption sit on whatever lies under them.
    Control* under = backdrop();
    const COLORREF back = under != nullptr ? under->background_colour() : GetSysColor(COLOR_BTNFACE);
    SetBkColor(dc, back);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    return reinterpret_cast<LRESULT>(brush_for(back));
}

} // namespace vorn::win32
