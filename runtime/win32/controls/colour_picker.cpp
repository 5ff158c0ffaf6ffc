#include "runtime/win32/controls/colour_picker.h"

#include "forms/events.h"
#include "runtime/core/engine/engine.h"
#include "runtime/win32/gdi.h"
#include "runtime/win32/portable/dpi_scale.h"
#include "runtime/win32/win32_desktop.h"

#include <commdlg.h>
#include <windowsx.h>

namespace vorn::win32 {

namespace {

constexpr int kSwatchMargin = 4;

} // namespace

bool ColourPicker::open(HWND parent) {
    static const WindowClass picker_class = register_class(L"VornColourPicker", nullptr, 0);
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (integer(PropertyId::visible) != 0 ? WS_VISIBLE : 0) |
                        (integer(PropertyId::focusable) != 0 ? WS_TABSTOP : 0);
    return create(picker_class, style, 0, L"", bounds(), parent);
}

void ColourPicker::paint() {
    BufferedPaint painting(hwnd());
    HDC dc = painting.dc();
    RECT area = painting.client();
    DrawFrameControl(dc, &area, DFC_BUTTON, DFCS_BUTTONPUSH | (held_ ? DFCS_PUSHED : 0));
    InflateRect(&area, -to_pixels(kSwatchMargin, dpi()), -to_pixels(kSwatchMargin, dpi()));
    FillRect(dc, &area, brush_for(colour_or_system(integer(PropertyId::colour), COLOR_WINDOWTEXT)));
    FrameRect(dc, &area, brush_for(GetSysColor(COLOR_BTNSHADOW)));
}

void ColourPicker::choose() {
    // The user's custom colours live as long as the program.
    static COLORREF custom[16] = {};
    CHOOSECOLORW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = GetAncestor(hwnd(), GA_ROOT);
    request.rgbResult = colour_or_system(integer(PropertyId::colour), COLOR_WINDOWTEXT);
    request.lpCustColors = custom;
    request.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorW(&request) || element() == nullptr)
        return;
    desktop_.engine().update_from_user(window_id(), element_id(), PropertyId::colour,
                                       std::int64_t(request.rgbResult & 0x00FFFFFF));
    InvalidateRect(hwnd(), nullptr, FALSE);
    raise(forms::event::kColourChosen);
}

LRESULT ColourPicker::handle(UINT message, WPARAM wparam, LPARAM lparam) {
    if (element() == nullptr)
        return Control::handle(message, wparam, lparam);
    switch (message) {
    case WM_LBUTTONDOWN:
        held_ = true;
        SetCapture(hwnd());
        InvalidateRect(hwnd(), nullptr, FALSE);
        break;
    case WM_LBUTTONUP: {
        RECT client{};
        GetClientRect(hwnd(), &client);
        const bool clicked = held_ && PtInRect(&client, POINT{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
        held_ = false;
        if (GetCapture() == hwnd())
            ReleaseCapture();
        InvalidateRect(hwnd(), nullptr, FALSE);
        const LRESULT result = Control::handle(message, wparam, lparam);
        if (clicked && alive())
            choose();
        return result;
    }
    case WM_CAPTURECHANGED:
        held_ = false;
        InvalidateRect(hwnd(), nullptr, FALSE);
        break;
    default:
        break;
    }
    return Control::handle(message, wparam, lparam);
}

} // namespace vorn::win32
