// What the two drag benchmarks share under Wine: a borderless window at the
// screen's top-left that shows a canvas surface as the runtime's canvas
// control does (WM_PAINT copies only the dirty rectangle), a drag across it
// timed per pointer move, and the bare BitBlt of the whole size into the
// same window that the moves are set against.
#pragma once

#include "bench/canvas_timing.h"
#include "runtime/win32/gdi_canvas.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace vorn::bench {

class CanvasWindow {
  public:
    CanvasWindow(int width, int height) : width_(width), height_(height) {
        static const ATOM registered = [] {
            WNDCLASSW description{};
            description.lpfnWndProc = &CanvasWindow::procedure;
            description.hInstance = GetModuleHandleW(nullptr);
            description.lpszClassName = L"VornBenchCanvas";
            return RegisterClassW(&description);
        }();
        (void)registered;
        hwnd_ = CreateWindowExW(0, L"VornBenchCanvas", L"bench", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                                nullptr, nullptr, GetModuleHandleW(nullptr), this);
    }
    ~CanvasWindow() {
        if (hwnd_ != nullptr)
            DestroyWindow(hwnd_);
    }
    CanvasWindow(const CanvasWindow&) = delete;
    CanvasWindow& operator=(const CanvasWindow&) = delete;

    explicit operator bool() const { return hwnd_ != nullptr; }
    HWND hwnd() const { return hwnd_; }
    void show(win32::GdiCanvas& canvas) { shown_ = &canvas; }

    // Paints what changed now, as the next WM_PAINT would.
    void repaint() const {
        UpdateWindow(hwnd_);
        GdiFlush();
    }

    void pump() const {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }

    // The drag: from near the top-left corner to near the bottom-right one
    // and back, so shapes of every size are drawn. `move(x0, y0, x, y)` is
    // one pointer movement from the press at (x0, y0); the window is
    // repainted within its time. Prints "NAME MS" (median) and "NAME_worst MS".
    template <typename Move> void time_drag(const char* name, int moves, Move&& move) const {
        std::vector<double> times;
        const std::int32_t x0 = width_ / 20, y0 = height_ / 20;
        for (int i = 0; i < moves; ++i) {
            const double t = double(i % 100) / 99.0;
            const double along = i / 100 % 2 == 0 ? t : 1.0 - t;
            const auto x = std::int32_t(x0 + along * (width_ - 2 * x0));
            const auto y = std::int32_t(y0 + along * (height_ - 2 * y0));
            const auto start = std::chrono::steady_clock::now();
            move(x0, y0, x, y);
            repaint();
            times.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
            pump();
        }
        std::sort(times.begin(), times.end());
        std::printf("%s %.2f\n", name, times[times.size() / 2]);
        std::printf("%s_worst %.2f\n", name, times.back());
    }

    // Milliseconds of a bare BitBlt of the whole size into the window, the
    // median of 15; negative when there is no memory for the source.
    double bare_blit_ms() const {
        win32::MemorySurface source;
        if (!win32::MemorySurface::make(width_, height_, source, win32::MemorySurface::Depth::rgb32))
            return -1.0;
        RECT all{0, 0, width_, height_};
        FillRect(source.dc(), &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        return median_ms(15, [&] {
            HDC dc = GetDC(hwnd_);
            BitBlt(dc, 0, 0, width_, height_, source.dc(), 0, 0, SRCCOPY);
            ReleaseDC(hwnd_, dc);
            GdiFlush();
        });
    }

  private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
        if (message == WM_NCCREATE)
            SetWindowLongPtrW(
                hwnd, GWLP_USERDATA,
                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams));
        auto* self = reinterpret_cast<CanvasWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (message == WM_PAINT && self != nullptr && self->shown_ != nullptr) {
            PAINTSTRUCT paint{};
            HDC dc = BeginPaint(hwnd, &paint);
            const RECT& dirty = paint.rcPaint;
            BitBlt(dc, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top,
                   self->shown_->dc(), dirty.left, dirty.top, SRCCOPY);
            EndPaint(hwnd, &paint);
            return 0;
        }
        if (message == WM_ERASEBKGND)
            return 1;
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }

    int width_;
    int height_;
    HWND hwnd_ = nullptr;
    win32::GdiCanvas* shown_ = nullptr;
};

} // namespace vorn::bench
