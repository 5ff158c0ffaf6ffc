// The editor's rubber band under Wine: per pointer move the relay canvas
// takes a fresh copy of the cache (the canvas as the drag began), the shape
// is drawn on it, and the whole relay is copied onto the shown foreground,
// which repaints what changed. Measured from the move's handling to the
// foreground painted, against a bare BitBlt of the whole size into the same
// window in the same run:
//   editor_bench WIDTH HEIGHT MOVES
// prints "move MS" (median per move), "move_worst MS", "baseline MS".
#include "bench/canvas_timing.h"
#include "runtime/core/engine/canvas.h"
#include "runtime/core/engine/raster.h"
#include "runtime/core/picture/decode.h"
#include "runtime/win32/gdi_canvas.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace vorn;

namespace {

win32::GdiCanvas* g_shown = nullptr;

LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_PAINT && g_shown != nullptr) {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(hwnd, &paint);
        const RECT& dirty = paint.rcPaint;
        BitBlt(dc, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, g_shown->dc(),
               dirty.left, dirty.top, SRCCOPY);
        EndPaint(hwnd, &paint);
        return 0;
    }
    if (message == WM_ERASEBKGND)
        return 1;
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

runtime::DrawOp shape(runtime::DrawKind kind, std::vector<std::int32_t> coords, std::int32_t pen_width) {
    runtime::DrawOp op{kind, {}, std::move(coords), ""};
    op.state.pen_width = pen_width;
    op.state.pen_colour = 0x000000FF;
    op.state.draw_mode = 12;
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
    description.lpszClassName = L"EditorBench";
    RegisterClassW(&description);
    HWND hwnd = CreateWindowExW(0, L"EditorBench", L"editor", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                                nullptr, nullptr, description.hInstance, nullptr);
    if (hwnd == nullptr)
        return 1;
    win32::GdiCanvas foreground(hwnd, width, height, RGB(192, 192, 192));
    win32::GdiCanvas cache(nullptr, width, height, RGB(255, 255, 255));
    win32::GdiCanvas relay(nullptr, width, height, RGB(255, 255, 255));
    g_shown = &foreground;
    foreground.set_background(picture::encode_bmp(bench::noise(width, height)), 0xC0C0C0);
    UpdateWindow(hwnd);
    pump();

    const runtime::CopyRect whole{0, 0, width, height};
    // The press: the foreground as the drag begins goes to the cache.
    cache.copy_from(foreground, whole, 0, 0, runtime::kSourceCopy);
    std::vector<double> times;
    const std::int32_t x0 = width / 20, y0 = height / 20;
    for (int i = 0; i < moves; ++i) {
        const double t = double(i % 100) / 99.0;
        const double along = i / 100 % 2 == 0 ? t : 1.0 - t;
        const auto x = std::int32_t(x0 + along * (width - 2 * x0));
        const auto y = std::int32_t(y0 + along * (height - 2 * y0));
        const auto start = std::chrono::steady_clock::now();
        relay.copy_from(cache, whole, 0, 0, runtime::kSourceCopy);
        // An arrow: the line, then its filled head.
        relay.draw(shape(runtime::DrawKind::line, {x0, y0, x, y}, 3));
        runtime::DrawOp head = shape(runtime::DrawKind::polygon, {x, y, x - 9, y + 5, x - 9, y - 5}, 3);
        head.state.brush_type = 1;
        head.state.brush_colour = 0x000000FF;
        relay.draw(head);
        foreground.copy_from(relay, whole, 0, 0, runtime::kSourceCopy);
        UpdateWindow(hwnd);
        GdiFlush();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        pump();
    }
    std::sort(times.begin(), times.end());
    std::printf("move %.2f\n", times[times.size() / 2]);
    std::printf("move_worst %.2f\n", times.back());

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
    g_shown = nullptr;
    DestroyWindow(hwnd);
    return 0;
}
