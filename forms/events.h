// Event numbers, as the window definitions bind them and the runtime raises
// them. A class's own events count from 0, so one number names different
// events on different classes; the events that every control with a window
// shares are negative. The numbers are stored in the definitions: never
// renumber one. The class table (class_table.cpp) names each for dumps and
// checks which class has which.
#pragma once

#include <cstdint>

namespace vorn::forms::event {

// A window's own element.
inline constexpr std::int32_t kCreated = 0;
inline constexpr std::int32_t kBeingDestroyed = 1;
// Push, graphic and picture buttons and check boxes.
inline constexpr std::int32_t kClicked = 0;
inline constexpr std::int32_t kContentChanged = 0;  // edit box
inline constexpr std::int32_t kIntervalElapsed = 0; // timer
inline constexpr std::int32_t kColourChosen = 0;    // colour picker
inline constexpr std::int32_t kFontChosen = 0;      // font picker
// Input device: the pointer moved (x, y); a key or mouse button went down
// or up (its code).
inline constexpr std::int32_t kMouseInput = 2;
inline constexpr std::int32_t kKeyInput = 3;
// The codes that key input gives the mouse buttons.
inline constexpr std::int64_t kLeftButtonCode = 0x100;
inline constexpr std::int64_t kRightButtonCode = 0x101;

// Shared by every control with a window: pointer position and modifier
// keys, or for a key its code and the modifier keys.
inline constexpr std::int32_t kLeftButtonDown = -1;
inline constexpr std::int32_t kLeftButtonUp = -2;
inline constexpr std::int32_t kDoubleClicked = -3;
inline constexpr std::int32_t kRightButtonDown = -4;
inline constexpr std::int32_t kMouseMoved = -6;
inline constexpr std::int32_t kKeyDown = -9;

} // namespace vorn::forms::event
