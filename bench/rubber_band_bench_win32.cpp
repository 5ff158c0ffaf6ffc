// The region overlay's rubber band under Wine: per pointer move the overlay
// clears its canvas (repainting the frozen picture where the last band was)
// and draws the new band, and the window repaints what changed. Measured
// from the move's handling to the window painted, against a bare BitBlt of
// the whole size into the same window in the same run:
//   rubber_band_bench WIDTH HEIGHT MOVES
// prints "band MS" (median per move), "band_worst MS", "baseline MS".
#include "bench/canvas_window.h"
#include "runtime/core/engine/canvas.h"
#include "runtime/core/picture/decode.h"
#include "runtime/win32/portable/dpi_scale.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace vorn;

namespace {

runtime::DrawOp band(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    runtime::DrawOp op{runtime::DrawKind::rectangle, {}, {x1, y1, x2, y2}, ""};
    op.state.pen_width = 2;
    op.state.pen_colour = 0x000000FF;
    op.state.draw_mode = 5; // the overlay's stored mode: inverting
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
    win32::GdiCanvas canvas(window.hwnd(), width, height, RGB(255, 255, 255), win32::kUnitDpi);
    window.show(canvas);
    canvas.set_background(picture::encode_bmp(bench::noise(width, height)), 0xFFFFFF);
    window.repaint();
    window.pump();

    window.time_drag("band", moves, [&](std::int32_t x0, std::int32_t y0, std::int32_t x, std::int32_t y) {
        canvas.clear(0xFFFFFF);
        canvas.draw(band(x0, y0, x, y));
    });
    std::printf("baseline %.2f\n", window.bare_blit_ms());
    return 0;
}
