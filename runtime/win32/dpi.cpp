#include "runtime/win32/dpi.h"

namespace vorn::win32 {

namespace {

using DpiForWindow = UINT(WINAPI*)(HWND);
using DpiForSystem = UINT(WINAPI*)();
using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

struct DpiFunctions {
    DpiForWindow for_window = nullptr;
    DpiForSystem for_system = nullptr;
    AdjustForDpi adjust = nullptr;
};

template <class Function> Function look_up(HMODULE module, const char* name) {
    return module != nullptr
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
               : nullptr;
}

const DpiFunctions& functions() {
    static const DpiFunctions found = [] {
        HMODULE user = GetModuleHandleW(L"user32.dll");
        return DpiFunctions{look_up<DpiForWindow>(user, "GetDpiForWindow"),
                            look_up<DpiForSystem>(user, "GetDpiForSystem"),
                            look_up<AdjustForDpi>(user, "AdjustWindowRectExForDpi")};
    }();
    return found;
}

std::uint32_t device_dpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? std::uint32_t(dpi) : kUnitDpi;
}

} // namespace

std::uint32_t screen_dpi() {
    const UINT dpi = functions().for_system != nullptr ? functions().for_system() : 0;
    return dpi != 0 ? dpi : device_dpi();
}

std::uint32_t window_dpi(HWND window) {
    const UINT dpi =
        window != nullptr && functions().for_window != nullptr ? functions().for_window(window) : 0;
    return dpi != 0 ? dpi : screen_dpi();
}

FrameSize frame_size(DWORD style, DWORD ex_style, std::uint32_t dpi) {
    RECT rect{0, 0, 0, 0};
    if (functions().adjust != nullptr) {
        functions().adjust(&rect, style, FALSE, ex_style, dpi);
    } else {
        // Without the DPI functions every window has the system's DPI, and
        // its frame; the frame at another DPI is scaled from it.
        AdjustWindowRectEx(&rect, style, FALSE, ex_style);
        const std::uint32_t system = screen_dpi();
        if (dpi != system)
            return {to_pixels(to_units(rect.right - rect.left, system), dpi),
                    to_pixels(to_units(rect.bottom - rect.top, system), dpi)};
    }
    return {rect.right - rect.left, rect.bottom - rect.top};
}

} // namespace vorn::win32
