// The simulated canvas surface natively: whole-canvas copy and clear with a
// background picture, as the native tests run them.
//   canvas_bench_sim WIDTH HEIGHT RUNS     prints "copy MS" and "clear MS"
#include "bench/canvas_timing.h"
#include "runtime/core/engine/raster.h"
#include "runtime/sim/canvas.h"

#include <cstdio>
#include <cstdlib>

using namespace vorn;

int main(int argc, char** argv) {
    const int width = argc > 1 ? std::atoi(argv[1]) : 1920;
    const int height = argc > 2 ? std::atoi(argv[2]) : 1080;
    const int runs = argc > 3 ? std::atoi(argv[3]) : 15;
    sim::Trace trace;
    const sim::TextMetric metric;
    sim::SimCanvas source("bench.source", width, height, 0xFFFFFF, trace, metric);
    sim::SimCanvas target("bench.target", width, height, 0xFFFFFF, trace, metric);
    source.set_background(picture::encode_bmp(bench::noise(width, height)), 0xFFFFFF);
    const runtime::CopyRect whole{0, 0, width, height};
    std::printf("copy %.2f\n",
                bench::median_ms(runs, [&] { target.copy_from(source, whole, 0, 0, runtime::kSourceCopy); }));
    std::printf("clear %.2f\n", bench::median_ms(runs, [&] { source.clear(0xFFFFFF); }));
    return 0;
}
