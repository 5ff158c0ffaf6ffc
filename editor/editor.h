// What the editing window's handlers share.
#pragma once

#include "runtime/facade/runtime.h"

#include <cstdint>
#include <string>

namespace vorn::editor {

// The width in pixels of the text box's text in the text box's font,
// measured on the hidden measuring canvas.
std::int64_t measure_text_width(const facade::Runtime& runtime);

// The text tool's press on the canvas at (x, y): the text box floats there.
void place_text_box(const facade::Runtime& runtime, std::int64_t x, std::int64_t y);

// The current tool's name (GBK), or empty before the first choice.
const std::string& current_tool();
bool text_tool_current();

} // namespace vorn::editor
