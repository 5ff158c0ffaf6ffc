// Pictures in memory and as Windows bitmap files (the picture data that the
// snapshot service produces and every consumer accepts).
#pragma once

#include "base/bytes.h"
#include "base/result.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vorn::picture {

// 0x00RRGGBB, the layout of a 32-bit DIB pixel in memory.
using Pixel = std::uint32_t;

inline constexpr Pixel rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return Pixel(r) << 16 | Pixel(g) << 8 | Pixel(b);
}
// Colours in the program are 0x00BBGGRR.
inline constexpr Pixel from_colorref(std::uint32_t colour) {
    return rgb(std::uint8_t(colour), std::uint8_t(colour >> 8), std::uint8_t(colour >> 16));
}

// Largest picture accepted from outside: far beyond any screen, small enough
// that width * height * 4 cannot overflow or exhaust memory.
inline constexpr std::int32_t kMaxDimension = 32768;
inline constexpr std::uint64_t kMaxPixels = 1ull << 28;

// Top-down rows of `width` pixels.
struct Image {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<Pixel> pixels;

    Image() = default;
    Image(std::int32_t w, std::int32_t h, Pixel fill = 0)
        : width(w), height(h), pixels(std::size_t(w) * std::size_t(h), fill) {}
    bool empty() const { return width <= 0 || height <= 0; }
    Pixel at(std::int32_t x, std::int32_t y) const { return pixels[std::size_t(y) * std::size_t(width) + x]; }
    Pixel& at(std::int32_t x, std::int32_t y) { return pixels[std::size_t(y) * std::size_t(width) + x]; }
    bool operator==(const Image&) const = default;
};

// A 24-bit bottom-up bitmap file; a 0 × 0 picture gives a valid file of that size.
Bytes encode_bmp(const Image& image);
// The same file with every pixel black, for a writer that fills the rows
// itself: they start at kBmpPixelOffset, bmp_stride_24(width) bytes each,
// bottom row first, as a 24-bit bottom-up DIB lays them out.
inline constexpr std::uint32_t kBmpPixelOffset = 54;
std::uint32_t bmp_stride_24(std::int32_t width);
std::size_t bmp_file_size_24(std::int32_t width, std::int32_t height);
Bytes blank_bmp(std::int32_t width, std::int32_t height);
// Writes the headers of that file into the first kBmpPixelOffset bytes of
// `file`, which must hold bmp_file_size_24 bytes.
void write_bmp_headers(std::span<std::uint8_t> file, std::int32_t width, std::int32_t height);
// Writes the whole file (headers and rows) of the top-left width × height of
// 32-bit top-down rows `row_pixels` apart into `file`, which must hold
// bmp_file_size_24 bytes: a canvas's picture is made straight in the block
// the program receives.
void write_bmp_rows(std::span<std::uint8_t> file, const Pixel* rows, std::size_t row_pixels,
                    std::int32_t width, std::int32_t height);
// Bitmap files of 24 or 32 bits per pixel (BI_RGB), top-down or bottom-up,
// with or without a colour table before the pixels.
Result<Image> decode_bmp(ByteView file);

// The same picture shrunk to width × height (each clamped to 1 .. the
// picture's own), every pixel the average of the block of the picture it
// covers. It is read row by row: a view smaller than a shot never holds the
// whole shot decoded.
Result<Image> decode_bmp_shrunk(ByteView file, std::int32_t width, std::int32_t height);

// Where a bitmap file's pixels lie, checked as decode_bmp checks them: the
// rows are inside the file. For a reader that hands the rows on as they are.
struct BmpLayout {
    std::int32_t width = 0;
    std::int32_t height = 0; // rows, whichever way they are stored
    bool top_down = false;
    std::uint32_t bits = 0; // 24 or 32
    bool bitfields = false; // 32-bit pixels with colour masks
    std::uint32_t pixel_offset = 0;
    std::uint32_t stride = 0;
};
Result<BmpLayout> read_bmp_layout(ByteView file);
bool looks_like_bmp(ByteView file);
// 24-bit rows as a 24-bit DIB lays them out, `stride` bytes apart, the top
// row stored last when bottom-up: the layout of the program's picture files,
// so that a canvas kept this way takes a picture's rows, and gives its own,
// a row copy at a time.
struct Rows24 {
    std::uint8_t* base = nullptr;
    std::size_t stride = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool bottom_up = true;

    // Row y counted from the top.
    std::uint8_t* row(std::int32_t y) const {
        return base + std::size_t(bottom_up ? height - 1 - y : y) * stride;
    }
    Pixel at(std::int32_t x, std::int32_t y) const {
        const std::uint8_t* p = row(y) + std::size_t(x) * 3;
        return rgb(p[2], p[1], p[0]);
    }
};

// The rectangle at (left, top) of a file laid out by read_bmp_layout, each
// side clipped to the picture and to `to` (nothing when a corner lies outside
// either), its top-left pixel going to (to_left, to_top) of `to`: a canvas
// paints its background straight onto its surface, with no decoded copy of
// the whole picture on the way.
void read_bmp_rows(ByteView file, const BmpLayout& layout, std::int32_t left, std::int32_t top,
                   std::int32_t width, std::int32_t height, const Rows24& to, std::int32_t to_left = 0,
                   std::int32_t to_top = 0);
// The whole file (headers and rows) of the top-left width × height of
// `rows`, each side clipped to them, into `file`, which must hold
// bmp_file_size_24 bytes of the clipped size.
void write_bmp_rows(std::span<std::uint8_t> file, const Rows24& rows, std::int32_t width,
                    std::int32_t height);

// The part of `source` at (left, top) of the given size, clipped to the
// source; what lies outside stays `fill`.
Image crop(const Image& source, std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height,
           Pixel fill = 0);
// Copies `source` onto `target` at (left, top), clipped to the target.
void blit(Image& target, const Image& source, std::int32_t left, std::int32_t top);

} // namespace vorn::picture
