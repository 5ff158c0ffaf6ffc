// Full-screen capture and the window snapshot routine: each takes a picture,
// keeps it as the current shot, shows it, puts it on the clipboard and plays
// the capture sound unless the user silenced it.
#pragma once

#include "runtime/facade/runtime.h"

namespace vorn::capture {

void capture_full_screen(const facade::Runtime& runtime);

// Photographs the target window the window capture chose (handle, width and
// height from the program state) and keeps the main window on top. Hiding
// and showing the main window around it is the caller's business.
void take_window_snapshot(const facade::Runtime& runtime);

} // namespace vorn::capture
