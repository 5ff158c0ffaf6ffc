#include "runtime/win32/controls/edit_box.h"

#include "forms/events.h"
#include "runtime/core/engine/engine.h"
#include "runtime/win32/gdi.h"
#include "runtime/win32/text.h"
#include "runtime/win32/win32_desktop.h"

#include <vector>

namespace vorn::win32 {

namespace {

constexpr std::int64_t kWholeNumbers = 3;

} // namespace

bool EditBox::open(HWND parent) {
    static const WindowClass edit_class = register_class(L"VornEditBox", L"EDIT", 0);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | ES_LEFT | ES_AUTOHSCROLL |
                  (integer(PropertyId::visible) != 0 ? WS_VISIBLE : 0) |
                  (integer(PropertyId::focusable) != 0 ? WS_TABSTOP : 0);
    if (integer(PropertyId::input_mode) == kWholeNumbers)
        style |= ES_NUMBER;
    mirroring_ = true; // the initial text is the model's already
    const bool made =
        create(edit_class, style, WS_EX_CLIENTEDGE, wide(text(PropertyId::text)), bounds(), parent);
    if (made)
        SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);
    mirroring_ = false;
    return made;
}

void EditBox::property_changed(PropertyId property) {
    if (hwnd() == nullptr || element() == nullptr)
        return;
    if (property == PropertyId::input_mode) {
        const LONG_PTR style = GetWindowLongPtrW(hwnd(), GWL_STYLE);
        SetWindowLongPtrW(hwnd(), GWL_STYLE,
                          integer(PropertyId::input_mode) == kWholeNumbers ? style | ES_NUMBER
                                                                           : style & ~LONG_PTR(ES_NUMBER));
        return;
    }
    if (property == PropertyId::text) {
        // Keep the caret where it is when the text does not really change.
        const std::wstring wanted = wide(text(PropertyId::text));
        std::vector<wchar_t> current(std::size_t(GetWindowTextLengthW(hwnd())) + 1);
        GetWindowTextW(hwnd(), current.data(), int(current.size()));
        if (wanted == current.data())
            return;
    }
    Control::property_changed(property);
}

void EditBox::on_command(WORD code) {
    if (code != EN_CHANGE || mirroring_ || element() == nullptr)
        return;
    std::vector<wchar_t> typed(std::size_t(GetWindowTextLengthW(hwnd())) + 1);
    GetWindowTextW(hwnd(), typed.data(), int(typed.size()));
    desktop_.engine().update_from_user(window_id(), element_id(), PropertyId::text, gbk(typed.data()));
    raise(forms::event::kContentChanged);
}

std::optional<LRESULT> EditBox::on_control_colour(HDC dc) {
    const COLORREF back = colour_or_system(integer(PropertyId::back_colour), COLOR_WINDOW);
    SetBkColor(dc, back);
    SetTextColor(dc, colour_or_system(integer(PropertyId::text_colour), COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(brush_for(back));
}

} // namespace vorn::win32
