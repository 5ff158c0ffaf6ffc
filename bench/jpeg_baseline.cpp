// The least a JPEG save can cost here: the same encoder the tool's converter
// uses, at quality 70, on the picture in memory, timed alone (no file, no
// dialog). The save benchmark sets the tool's save against this figure.
//   jpeg_baseline BITMAP_FILE RUNS
// prints "encode MEDIAN_MS BYTES".
#include "bench/canvas_timing.h"
#include "runtime/core/picture/decode.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: jpeg_baseline BITMAP_FILE RUNS\n", stderr);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const vorn::Bytes file{std::istreambuf_iterator<char>(in), {}};
    vorn::Result<vorn::picture::Image> image = vorn::picture::decode_picture(file);
    if (!image) {
        std::fprintf(stderr, "%s: %s\n", argv[1], image.error().message.c_str());
        return 1;
    }
    std::size_t bytes = 0;
    const double ms = vorn::bench::median_ms(
        std::atoi(argv[2]), [&] { bytes = vorn::picture::encode_jpeg(*image, 70).value().size(); });
    std::printf("encode %.1f %zu\n", ms, bytes);
    return 0;
}
