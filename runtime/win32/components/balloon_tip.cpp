#include "runtime/win32/components/balloon_tip.h"

#include "runtime/win32/controls/control.h"
#include "runtime/win32/dpi.h"
#include "runtime/win32/gdi.h"

#include <commctrl.h>

#include <algorithm>

namespace vorn::win32 {

namespace {

// Wide enough for the longest hint on one line, and makes long ones wrap.
constexpr int kMaxTipWidth = 300;

TOOLINFOW tool_for(HWND root, HWND control, const std::wstring* text) {
    TOOLINFOW tool{};
    // The version 2 size is the one every comctl32 accepts, with or without
    // the application asking for the newer controls.
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = root;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text != nullptr ? const_cast<wchar_t*>(text->c_str()) : nullptr;
    return tool;
}

} // namespace

BalloonTip::BalloonTip(Win32Desktop& desktop, runtime::LiveWindow& window, runtime::LiveElement& element)
    : Component(desktop, window, element) {}

BalloonTip::~BalloonTip() {
    if (tooltip_ != nullptr)
        DestroyWindow(tooltip_);
}

void BalloonTip::attach(HWND control, const std::wstring& text) {
    if (tooltip_ == nullptr) {
        // No owner: under Wine a window that owns a topmost window cannot be
        // made topmost itself (SetWindowPos succeeds and changes nothing), and
        // the program keeps its main window on top while it shows tips.
        tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_BALLOON | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                   runtime_module(), nullptr);
        if (tooltip_ == nullptr)
            return;
        // In units, like every size the runtime sets: at the DPI of the
        // screen the tips show on.
        const std::uint32_t dpi = screen_dpi();
        SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, to_pixels(kMaxTipWidth, dpi));
        SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(default_font(dpi)), FALSE);
    }
    auto known =
        std::find_if(tools_.begin(), tools_.end(), [&](const Tool& t) { return t.control == control; });
    if (known != tools_.end()) {
        TOOLINFOW tool = tool_for(known->root, control, &text);
        SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
        return;
    }
    const HWND root = GetAncestor(control, GA_ROOT);
    TOOLINFOW tool = tool_for(root, control, &text);
    if (SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)))
        tools_.push_back({control, root});
}

void BalloonTip::forget(HWND control) {
    auto it = std::find_if(tools_.begin(), tools_.end(), [&](const Tool& t) { return t.control == control; });
    if (it == tools_.end() || tooltip_ == nullptr)
        return;
    TOOLINFOW tool = tool_for(it->root, control, nullptr);
    SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    tools_.erase(it);
}

void BalloonTip::detach() {
    Component::detach();
    if (tooltip_ != nullptr)
        DestroyWindow(tooltip_);
    tooltip_ = nullptr;
    tools_.clear();
}

} // namespace vorn::win32
