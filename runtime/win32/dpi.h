// The DPI of windows and of the screen, for the conversions of
// portable/dpi_scale.h.
//
// The executable's manifest makes the process per-monitor DPI aware (v2).
// A screenshot tool needs that: an unaware or system-aware process is shown
// stretched on a monitor of another DPI, and Windows then hands it scaled
// coordinates and blurred pictures, so a shot would lose the screen's own
// pixels. Aware, the runtime scales everything it places itself, by the DPI
// of the window it places it in; Windows scales the frames and sends
// WM_DPICHANGED when a window moves to a monitor of another DPI.
//
// The functions that take a DPI appeared with Windows 10 (1607); they are
// looked up once, and before them the system's DPI, as the screen's device
// context reports it, serves for every window.
#pragma once

#include "runtime/win32/portable/dpi_scale.h"
#include "runtime/win32/win32_api.h"

#include <cstdint>

namespace vorn::win32 {

// The DPI of the monitor the window is on.
std::uint32_t window_dpi(HWND window);
// The DPI by which the program's screen coordinates (window positions, the
// pointer, the screen's size, other programs' windows) are converted: the
// system's, which is the primary monitor's.
std::uint32_t screen_dpi();
// What a window of this style adds round its client area at the DPI.
FrameSize frame_size(DWORD style, DWORD ex_style, std::uint32_t dpi);

} // namespace vorn::win32
