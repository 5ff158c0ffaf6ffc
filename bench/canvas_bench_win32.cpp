// Canvas surfaces under Wine, against a bare BitBlt between two memory DCs
// holding DIB sections of the same size, in the same run:
//   canvas_bench WIDTH HEIGHT RUNS
// prints "copy MS", "clear MS", "baseline MS", and the previous path's
// figures ("copy_through_pictures MS", "clear_decoding MS"): the canvas took
// a copy out into a picture, cropped it, pasted it through a fresh DIB
// section and decoded its background for every clear.
#include "bench/canvas_timing.h"
#include "runtime/core/engine/raster.h"
#include "runtime/core/picture/decode.h"
#include "runtime/win32/gdi.h"
#include "runtime/win32/gdi_canvas.h"
#include "runtime/win32/portable/dpi_scale.h"

#include <cstdio>
#include <cstdlib>

using namespace vorn;

namespace {

void copy_through_pictures(win32::GdiCanvas& source, win32::GdiCanvas& target) {
    picture::Image pixels = source.pixels();
    picture::Image part = picture::crop(pixels, 0, 0, pixels.width, pixels.height);
    HBITMAP bitmap = win32::dib_section(part);
    HDC dc = CreateCompatibleDC(target.dc());
    HGDIOBJ old = SelectObject(dc, bitmap);
    BitBlt(target.dc(), 0, 0, part.width, part.height, dc, 0, 0, SRCCOPY);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    GdiFlush();
}

void clear_decoding(win32::GdiCanvas& canvas, const Bytes& background) {
    RECT all{0, 0, canvas.width(), canvas.height()};
    FillRect(canvas.dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (Result<picture::Image> decoded = picture::decode_picture(background))
        win32::draw_image(canvas.dc(), *decoded, 0, 0, decoded->width, decoded->height);
    GdiFlush();
}

} // namespace

int main(int argc, char** argv) {
    const int width = argc > 1 ? std::atoi(argv[1]) : 1920;
    const int height = argc > 2 ? std::atoi(argv[2]) : 1080;
    const int runs = argc > 3 ? std::atoi(argv[3]) : 15;
    const Bytes background = picture::encode_bmp(bench::noise(width, height));

    // Two sources taken in turns: a target that mirrors one source copies
    // only what differs from it, so each run copies the whole surface.
    win32::GdiCanvas source(nullptr, width, height, RGB(255, 255, 255), win32::kUnitDpi);
    win32::GdiCanvas other(nullptr, width, height, RGB(255, 255, 255), win32::kUnitDpi);
    win32::GdiCanvas target(nullptr, width, height, RGB(255, 255, 255), win32::kUnitDpi);
    source.set_background(background, 0xFFFFFF);
    const runtime::CopyRect whole{0, 0, width, height};
    bool turn = false;
    std::printf("copy %.2f\n", bench::median_ms(runs, [&] {
                    turn = !turn;
                    target.copy_from(turn ? source : other, whole, 0, 0, runtime::kSourceCopy);
                    GdiFlush();
                }));
    // Back colours in turns: a clear with the same colour repaints only
    // what was drawn since the last, so each run repaints the whole.
    std::printf("clear %.2f\n", bench::median_ms(runs, [&] {
                    turn = !turn;
                    source.clear(turn ? 0xFFFFFF : 0xFEFEFE);
                    GdiFlush();
                }));

    // The bare BitBlt: two memory DCs with DIB sections of the same size,
    // filled first so that neither run pays for first touches.
    win32::MemorySurface a, b;
    constexpr auto kDepth = win32::MemorySurface::Depth::rgb32; // the screen's own format
    if (!win32::MemorySurface::make(width, height, a, kDepth) ||
        !win32::MemorySurface::make(width, height, b, kDepth))
        return 1;
    RECT all{0, 0, width, height};
    FillRect(a.dc(), &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    FillRect(b.dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    std::printf("baseline %.2f\n", bench::median_ms(runs, [&] {
                    BitBlt(b.dc(), 0, 0, width, height, a.dc(), 0, 0, SRCCOPY);
                    GdiFlush();
                }));
    // The copy really happened: the target shows the source's pixels.
    target.copy_from(source, whole, 0, 0, runtime::kSourceCopy);
    if (target.pixels() != source.pixels()) {
        std::printf("copy: the target differs from the source\n");
        return 1;
    }

    std::printf("copy_through_pictures %.2f\n",
                bench::median_ms(runs, [&] { copy_through_pictures(source, target); }));
    std::printf("clear_decoding %.2f\n", bench::median_ms(runs, [&] { clear_decoding(source, background); }));
    return 0;
}
