// The two settings every capture reads afresh: whether the main window hides
// while the shot is taken, and whether the capture sound plays.
#pragma once

#include "runtime/facade/runtime.h"

namespace vorn::capture {

// Only the exact word "真" hides; anything else, or nothing, leaves the window.
bool hide_while_capturing(const facade::Runtime& runtime);

// Plays the capture sound unless the setting is exactly "假".
void play_capture_sound(const facade::Runtime& runtime);

} // namespace vorn::capture
