// How the editing window is laid out around the shot: the canvas at the
// shot's size (shrunk once by a tenth when it would not fit the screen), a
// frame 4 pixels round it but never narrower than the tool row, the canvas
// centred in the frame, and the window centred on the screen. Pure, for the
// table of cases in the tests.
#pragma once

#include <cstdint>

namespace vorn::editor {

struct EditorLayout {
    std::int64_t canvas_width = 0;
    std::int64_t canvas_height = 0;
    std::int64_t canvas_left = 0; // inside the frame
    std::int64_t canvas_top = 0;
    std::int64_t frame_width = 0;
    std::int64_t frame_height = 0;
    std::int64_t window_left = 0;
    std::int64_t window_top = 0;
    std::int64_t window_width = 0;
    std::int64_t window_height = 0;
    bool operator==(const EditorLayout&) const = default;
};

// `canvas_width` × `canvas_height`: the canvas as it stands once given the
// shot's size.
EditorLayout lay_out_editor(std::int64_t canvas_width, std::int64_t canvas_height, std::int64_t screen_width,
                            std::int64_t screen_height);

} // namespace vorn::editor
