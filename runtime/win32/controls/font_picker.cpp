#include "runtime/win32/controls/font_picker.h"

#include "runtime/win32/portable/dpi_scale.h"

#include "forms/events.h"
#include "runtime/core/engine/engine.h"
#include "runtime/win32/gdi.h"
#include "runtime/win32/text.h"
#include "runtime/win32/win32_desktop.h"

#include <set>
#include <vector>

namespace vorn::win32 {

namespace {

// The drop-down list's height below the box itself.
constexpr int kListHeight = 240;

int CALLBACK add_face(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM faces) {
    // Vertical variants ("@宋体") are for vertical text only.
    if (font->lfFaceName[0] != L'@')
        reinterpret_cast<std::set<std::wstring>*>(faces)->insert(font->lfFaceName);
    return 1;
}

std::set<std::wstring> installed_faces() {
    std::set<std::wstring> faces;
    HDC screen = GetDC(nullptr);
    LOGFONTW all{};
    all.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(screen, &all, add_face, reinterpret_cast<LPARAM>(&faces), 0);
    ReleaseDC(nullptr, screen);
    return faces;
}

forms::Font font_of(const runtime::LiveElement& element) {
    if (const auto* font = std::get_if<forms::Font>(&element.get(PropertyId::font)))
        return *font;
    forms::Font chosen;
    chosen.height = -12; // the runtime's 9 points at 96 dots per inch
    return chosen;
}

} // namespace

bool FontPicker::open(HWND parent) {
    static const WindowClass picker_class = register_class(L"VornFontPicker", L"COMBOBOX", 0);
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT |
                        CBS_HASSTRINGS | (integer(PropertyId::visible) != 0 ? WS_VISIBLE : 0) |
                        (integer(PropertyId::focusable) != 0 ? WS_TABSTOP : 0);
    RECT area = bounds();
    area.bottom += to_pixels(kListHeight, dpi());
    if (!create(picker_class, style, 0, L"", area, parent))
        return false;
    SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(default_font(dpi())), FALSE);
    for (const std::wstring& face : installed_faces())
        SendMessageW(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(face.c_str()));
    show_face();
    return true;
}

void FontPicker::show_face() {
    const std::wstring face = wide(font_of(*element()).face_name());
    if (face.empty()) {
        SendMessageW(hwnd(), CB_SETCURSEL, WPARAM(-1), 0);
        return;
    }
    LRESULT index =
        SendMessageW(hwnd(), CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(face.c_str()));
    if (index == CB_ERR)
        index = SendMessageW(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(face.c_str()));
    SendMessageW(hwnd(), CB_SETCURSEL, WPARAM(index), 0);
}

void FontPicker::apply_size() {
    RECT area = bounds();
    SetWindowPos(hwnd(), nullptr, area.left, area.top, area.right - area.left,
                 area.bottom - area.top + to_pixels(kListHeight, dpi()), SWP_NOZORDER | SWP_NOACTIVATE);
}

void FontPicker::property_changed(PropertyId property) {
    if (hwnd() == nullptr || element() == nullptr)
        return;
    switch (property) {
    case PropertyId::font:
        show_face();
        break;
    case PropertyId::left:
    case PropertyId::top:
    case PropertyId::width:
    case PropertyId::height:
        apply_size();
        break;
    default:
        Control::property_changed(property);
        break;
    }
}

void FontPicker::on_command(WORD code) {
    if (code != CBN_SELCHANGE || element() == nullptr)
        return;
    const LRESULT index = SendMessageW(hwnd(), CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
        return;
    std::vector<wchar_t> face(std::size_t(SendMessageW(hwnd(), CB_GETLBTEXTLEN, WPARAM(index), 0)) + 1);
    SendMessageW(hwnd(), CB_GETLBTEXT, WPARAM(index), reinterpret_cast<LPARAM>(face.data()));
    forms::Font chosen = font_of(*element());
    chosen.set_face_name(gbk(face.data()));
    desktop_.engine().update_from_user(window_id(), element_id(), PropertyId::font, chosen);
    raise(forms::event::kFontChosen);
}

} // namespace vorn::win32
