// The region overlay's rubber band under Wine: per pointer move the overlay
// clears its canvas (repainting the frozen picture where the last band was)
// and draws the new band, and the window repaints what changed. Measured
// from the move's handling to the window painted, against a bare BitBlt of
// the whole size into the same window in the same run:
//   rubber_band_bench WIDTH HEIGHT MOVES
// prints "band MS" (median per move), "band_worst MS", "baseline MS".
#include "bench/canvas_timing.h"
#include "runtime/core/engine/canvas.h"
#include "runtime/core/picture/decode.h"
#include "runtime/win32/gdi_canvas.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace vorn;

namespace {

win32::GdiCanvas* g_canvas = nullptr;

// What the runtime's canvas control does on WM_PAINT: only what changed.
LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_PAINT && g_canvas != nullptr) {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(hwnd, &paint);
        const RECT& dirty = paint.rcPaint;
        BitBlt(dc, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, g_canvas->dc(),
               dirty.left, dirty.top, SRCCOPY);
        EndPaint(hwnd, &paint);
        return 0;
    }
    if (message == WM_ERASEBKGND)
        return 1;
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

runtime::DrawOp band(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    runtime::DrawOp op{runtime::DrawKind::rectangle, {}, {x1, y1, x2, y2}, ""};
    op.state.pen_width = 2;
    op.state.pen_colour = 0x000000FF;
    op.state.draw_mode = 5; // the overlay's stored mode: inverting
    op.state.brush_type = 0;
    return op;
}

void pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
}

} // namespace

int main(int argc, char** argv) {
    const int width = argc > 1 ? std::atoi(argv[1]) : 1920;
    const int height = argc > 2 ? std::atoi(argv[2]) : 1080;
    const int moves = argc > 3 ? std::max(std::atoi(argv[3]), 1) : 200;

    WNDCLASSW description{};
    description.lpfnWndProc = procedure;
    description.hInstance = GetModuleHandleW(nullptr);
    description.lpszClassName = L"BandBench";
    RegisterClassW(&description);
    HWND hwnd = CreateWindowExW(0, L"BandBench", L"band", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                                nullptr, description.hInstance, nullptr);
    if (hwnd == nullptr)
        return 1;
    win32::GdiCanvas canvas(hwnd, width, height, RGB(255, 255, 255));
    g_canvas = &canvas;
    canvas.set_background(picture::encode_bmp(bench::noise(width, height)), 0xFFFFFF);
    UpdateWindow(hwnd);
    pump();

    // The drag: from near the top-left corner to near the bottom-right one
    // and back, so bands of every size are drawn.
    std::vector<double> times;
    const std::int32_t x0 = width / 20, y0 = height / 20;
    for (int i = 0; i < moves; ++i) {
        const double t = double(i % 100) / 99.0;
        const double along = i / 100 % 2 == 0 ? t : 1.0 - t;
        const auto x = std::int32_t(x0 + along * (width - 2 * x0));
        const auto y = std::int32_t(y0 + along * (height - 2 * y0));
        const auto start = std::chrono::steady_clock::now();
        canvas.clear(0xFFFFFF);
        canvas.draw(band(x0, y0, x, y));
        UpdateWindow(hwnd);
        GdiFlush();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        pump();
    }
    std::sort(times.begin(), times.end());
    std::printf("band %.2f\n", times[times.size() / 2]);
    std::printf("band_worst %.2f\n", times.back());

    win32::MemorySurface source;
    if (!win32::MemorySurface::make(width, height, source))
        return 1;
    RECT all{0, 0, width, height};
    FillRect(source.dc(), &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    std::printf("baseline %.2f\n", bench::median_ms(15, [&] {
                    HDC dc = GetDC(hwnd);
                    BitBlt(dc, 0, 0, width, height, source.dc(), 0, 0, SRCCOPY);
                    ReleaseDC(hwnd, dc);
                    GdiFlush();
                }));
    g_canvas = nullptr;
    DestroyWindow(hwnd);
    return 0;
}
