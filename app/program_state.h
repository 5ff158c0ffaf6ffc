// The program-wide variables, in declaration order. They carry state from one
// event handler to the next; handlers of different windows share state only
// through them and the settings file.
#pragma once

#include "base/bytes.h"
#include "runtime/facade/runtime.h"

#include <cstdint>
#include <string>

namespace vorn::app {

// A WINDOWPLACEMENT record, laid out flat as GetWindowPlacement fills it:
// length, flags, show command, minimised x, y, maximised x, y, normal left,
// top, right, bottom; all 32-bit.
class WindowPlacement {
  public:
    static constexpr std::uint32_t kSize = 44;

    WindowPlacement() = default;
    // The record lives in a block from the runtime's allocator for the whole run.
    void allocate(const facade::Runtime& runtime);
    void release(const facade::Runtime& runtime);
    bool allocated() const { return block_ != nullptr; }

    // Where GetWindowPlacement writes; the length field is set first.
    std::uint64_t prepare_for_query();
    std::int32_t field(std::uint32_t index) const;
    std::int32_t normal_left() const { return field(7); }
    std::int32_t normal_top() const { return field(8); }
    std::int32_t normal_right() const { return field(9); }
    std::int32_t normal_bottom() const { return field(10); }

  private:
    std::uint8_t* block_ = nullptr;
};

struct ProgramState {
    std::int32_t window_pick_mode = 0; // 1 while a window capture is armed
    facade::Block current_shot;        // picture data of the last full-screen or window snapshot
    std::uint64_t target_window = 0;
    std::int32_t target_width = 0;
    std::int32_t target_height = 0;
    std::int32_t press_counter = 0;
    WindowPlacement hovered_placement;
    std::uint64_t framed_window = 0; // the window the highlight frame outlines now
    std::int32_t press_x = 0;        // region overlay: last left press
    std::int32_t press_y = 0;
    std::int32_t dragging = 0;
    std::string current_tool; // GBK: "文字", "圆框", "箭头", "方框" or empty
    std::int32_t drawing = 0; // editing window: a shape is being dragged
    std::int32_t draw_start_x = 0;
    std::int32_t draw_start_y = 0;
};

// The one instance; handlers reach it through program_state().
ProgramState& program_state();

// Run first by the start routine: allocates the hovered window placement.
void global_initialisation(const facade::Runtime& runtime);
// Handed to the runtime at start-up and run when the program ends: releases
// the current shot, the placement and the current tool text.
void global_cleanup(const facade::Runtime& runtime);

} // namespace vorn::app
