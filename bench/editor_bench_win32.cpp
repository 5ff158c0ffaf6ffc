// The editor's rubber band under Wine: per pointer move the relay canvas
// takes a fresh copy of the cache (the canvas as the drag began), the shape
// is drawn on it, and the whole relay is copied onto the shown foreground,
// which repaints what changed. Measured from the move's handling to the
// foreground painted, against a bare BitBlt of the whole size into the same
// window in the same run:
//   editor_bench WIDTH HEIGHT MOVES
// prints "move MS" (median per move), "move_worst MS", "baseline MS".
#include "bench/canvas_window.h"
#include "runtime/core/engine/canvas.h"
#include "runtime/core/engine/raster.h"
#include "runtime/core/picture/decode.h"
#include "runtime/win32/portable/dpi_scale.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace vorn;

namespace {

runtime::DrawOp shape(runtime::DrawKind kind, std::vector<std::int32_t> coords, std::int32_t pen_width) {
    runtime::DrawOp op{kind, {}, std::move(coords), ""};
    op.state.pen_width = pen_width;
    op.state.pen_colour = 0x000000FF;
    op.state.draw_mode = 12;
    op.state.brush_type = 0;
    return op;
}

} // namespace

int main(int argc, char** argv) {
    const int width = argc > 1 ? std::atoi(argv[1]) : 1920;
    const int height = argc > 2 ? std::atoi(argv[2]) : 1080;
    const int moves = argc > 3 ? std::max(std::atoi(argv[3]), 1) : 200;

    bench::CanvasWindow window(width, height);
    if (!window)
        return 1;
    win32::GdiCanvas foreground(window.hwnd(), width, height, RGB(192, 192, 192), win32::kUnitDpi);
    win32::GdiCanvas cache(nullptr, width, height, RGB(255, 255, 255), win32::kUnitDpi);
    win32::GdiCanvas relay(nullptr, width, height, RGB(255, 255, 255), win32::kUnitDpi);
    window.show(foreground);
    foreground.set_background(picture::encode_bmp(bench::noise(width, height)), 0xC0C0C0);
    window.repaint();
    window.pump();

    const runtime::CopyRect whole{0, 0, width, height};
    // The press: the foreground as the drag begins goes to the cache.
    cache.copy_from(foreground, whole, 0, 0, runtime::kSourceCopy);
    window.time_drag("move", moves, [&](std::int32_t x0, std::int32_t y0, std::int32_t x, std::int32_t y) {
        relay.copy_from(cache, whole, 0, 0, runtime::kSourceCopy);
        // An arrow: the line, then its filled head.
        relay.draw(shape(runtime::DrawKind::line, {x0, y0, x, y}, 3));
        runtime::DrawOp head = shape(runtime::DrawKind::polygon, {x, y, x - 9, y + 5, x - 9, y - 5}, 3);
        head.state.brush_type = 1;
        head.state.brush_colour = 0x000000FF;
        relay.draw(head);
        foreground.copy_from(relay, whole, 0, 0, runtime::kSourceCopy);
    });
    std::printf("baseline %.2f\n", window.bare_blit_ms());
    return 0;
}
