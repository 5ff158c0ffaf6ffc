#include "runtime/core/picture/bitmap.h"

#include <algorithm>
#include <cstring>

namespace vorn::picture {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
static_assert(kFileHeaderSize + kInfoHeaderSize == kBmpPixelOffset);
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;

std::uint32_t row_stride(std::int32_t width, std::uint32_t bits) {
    return ((std::uint32_t(width) * bits + 31) / 32) * 4;
}

// Rows are read byte by byte: a file's rows need not be aligned for Pixel.
void read_row_32(const std::uint8_t* from, Pixel* to, std::int32_t width) {
    for (std::int32_t x = 0; x < width; ++x, from += 4)
        to[x] = rgb(from[2], from[1], from[0]);
}

void read_row_24(const std::uint8_t* from, Pixel* to, std::int32_t width) {
    for (std::int32_t x = 0; x < width; ++x, from += 3)
        to[x] = rgb(from[2], from[1], from[0]);
}

} // namespace

std::uint32_t bmp_stride_24(std::int32_t width) {
    return row_stride(std::max(width, 0), 24);
}

std::size_t bmp_file_size_24(std::int32_t width, std::int32_t height) {
    return kBmpPixelOffset + std::size_t(bmp_stride_24(width)) * std::size_t(std::max(height, 0));
}

void write_bmp_headers(std::span<std::uint8_t> file, std::int32_t width, std::int32_t height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    const std::uint32_t data_size = bmp_stride_24(width) * std::uint32_t(height);
    ByteWriter out;
    out.u8('B');
    out.u8('M');
    out.u32(kFileHeaderSize + kInfoHeaderSize + data_size);
    out.u32(0);
    out.u32(kFileHeaderSize + kInfoHeaderSize);
    out.u32(kInfoHeaderSize);
    out.i32(width);
    out.i32(height);        // positive: bottom-up, as every reader expects
    out.u32(1 | 24u << 16); // planes, bits per pixel
    out.u32(kBiRgb);
    out.u32(data_size);
    out.u32(3780); // 96 dpi in pixels per metre
    out.u32(3780);
    out.u32(0);
    out.u32(0);
    const Bytes& headers = out.buffer();
    std::copy(headers.begin(), headers.end(), file.begin());
}

Bytes blank_bmp(std::int32_t width, std::int32_t height) {
    Bytes file(bmp_file_size_24(width, height), 0);
    write_bmp_headers(file, width, height);
    return file;
}

void write_bmp_rows(std::span<std::uint8_t> file, const Pixel* rows, std::size_t row_pixels,
                    std::int32_t width, std::int32_t height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    write_bmp_headers(file, width, height);
    const std::uint32_t stride = bmp_stride_24(width);
    for (std::int32_t y = 0; y < height; ++y) {
        const Pixel* from = rows + std::size_t(y) * row_pixels;
        std::uint8_t* to = file.data() + kBmpPixelOffset + std::size_t(height - 1 - y) * stride;
        for (std::int32_t x = 0; x < width; ++x, to += 3) {
            const Pixel p = from[x];
            to[0] = std::uint8_t(p);
            to[1] = std::uint8_t(p >> 8);
            to[2] = std::uint8_t(p >> 16);
        }
    }
}

Bytes encode_bmp(const Image& image) {
    const std::int32_t width = std::max(image.width, 0), height = std::max(image.height, 0);
    Bytes bytes(bmp_file_size_24(width, height));
    write_bmp_rows(bytes, image.pixels.data(), std::size_t(width), width, height);
    return bytes;
}

bool looks_like_bmp(ByteView file) {
    return file.size() >= 2 && file[0] == 'B' && file[1] == 'M';
}

Result<BmpLayout> read_bmp_layout(ByteView file) {
    ByteCursor in(file, "bitmap file");
    VORN_TRY_ASSIGN(ByteView magic, in.take(2, "signature"));
    if (magic[0] != 'B' || magic[1] != 'M')
        return in.error_at(0, "not a bitmap file (no \"BM\" signature)");
    VORN_TRY_STATUS(in.seek(10, "pixel offset"));
    VORN_TRY_ASSIGN(std::uint32_t pixel_offset, in.u32("pixel offset"));
    VORN_TRY_ASSIGN(std::uint32_t header_size, in.u32("info header size"));
    if (header_size < kInfoHeaderSize)
        return in.error_at(14, "info header of " + std::to_string(header_size) + " bytes is not supported");
    VORN_TRY_ASSIGN(std::int32_t width, in.i32("width"));
    VORN_TRY_ASSIGN(std::int32_t raw_height, in.i32("height"));
    VORN_TRY_ASSIGN(std::uint32_t planes_bits, in.u32("planes and bit count"));
    VORN_TRY_ASSIGN(std::uint32_t compression, in.u32("compression"));
    const std::uint32_t bits = planes_bits >> 16;
    if (bits != 24 && bits != 32)
        return in.error_at(28, std::to_string(bits) + " bits per pixel are not supported");
    if (compression != kBiRgb && !(compression == kBiBitfields && bits == 32))
        return in.error_at(30, "compressed bitmaps are not supported");
    const bool top_down = raw_height < 0;
    const std::int64_t height = top_down ? -std::int64_t(raw_height) : raw_height;
    if (width < 0 || width > kMaxDimension || height > kMaxDimension ||
        std::uint64_t(width) * std::uint64_t(height) > kMaxPixels)
        return in.error_at(18, "size " + std::to_string(width) + " x " + std::to_string(height) +
                                   " is out of range");
    const std::uint32_t stride = row_stride(width, bits);
    if (!fits(pixel_offset, std::uint64_t(stride) * std::uint64_t(height), file.size()))
        return in.error_at(pixel_offset, "pixel data runs past the end of the file");
    return BmpLayout{width, std::int32_t(height), top_down, bits, compression == kBiBitfields, pixel_offset,
                     stride};
}

namespace {

// Where column `left` of row y, counted from the top, lies in a file
// read_bmp_layout has checked.
const std::uint8_t* stored_pixel(ByteView file, const BmpLayout& layout, std::int32_t left, std::int32_t y) {
    const std::int32_t stored = layout.top_down ? y : layout.height - 1 - y;
    return file.data() + layout.pixel_offset + std::size_t(stored) * layout.stride +
           std::size_t(left) * (layout.bits / 8);
}

void read_row(ByteView file, const BmpLayout& layout, std::int32_t y, Pixel* to) {
    const std::uint8_t* row = stored_pixel(file, layout, 0, y);
    if (layout.bits == 32)
        read_row_32(row, to, layout.width);
    else
        read_row_24(row, to, layout.width);
}

// Where block i of `blocks` equal parts of `length` starts; block i ends
// where block i + 1 starts.
std::int32_t block_start(std::int32_t i, std::int32_t blocks, std::int32_t length) {
    return std::int32_t(std::int64_t(i) * length / blocks);
}

std::uint8_t average(std::uint64_t sum, std::uint64_t count) {
    return std::uint8_t((sum + count / 2) / count);
}

} // namespace

void read_bmp_rows(ByteView file, const BmpLayout& layout, std::int32_t left, std::int32_t top,
                   std::int32_t width, std::int32_t height, const Rows24& to, std::int32_t to_left,
                   std::int32_t to_top) {
    if (left < 0 || top < 0 || left >= layout.width || top >= layout.height || to_left < 0 || to_top < 0 ||
        to_left >= to.width || to_top >= to.height)
        return;
    width = std::min({width, layout.width - left, to.width - to_left});
    height = std::min({height, layout.height - top, to.height - to_top});
    for (std::int32_t y = 0; y < height; ++y) {
        const std::uint8_t* from = stored_pixel(file, layout, left, top + y);
        std::uint8_t* into = to.row(to_top + y) + std::size_t(to_left) * 3;
        if (layout.bits == 24) {
            std::memcpy(into, from, std::size_t(std::max(width, 0)) * 3);
            continue;
        }
        for (std::int32_t x = 0; x < width; ++x, from += 4, into += 3) {
            into[0] = from[0];
            into[1] = from[1];
            into[2] = from[2];
        }
    }
}

void write_bmp_rows(std::span<std::uint8_t> file, const Rows24& rows, std::int32_t width,
                    std::int32_t height) {
    width = std::clamp(width, 0, std::max(rows.width, 0));
    height = std::clamp(height, 0, std::max(rows.height, 0));
    write_bmp_headers(file, width, height);
    const std::size_t stride = bmp_stride_24(width);
    for (std::int32_t y = 0; y < height; ++y) {
        std::uint8_t* to = file.data() + kBmpPixelOffset + std::size_t(height - 1 - y) * stride;
        std::memcpy(to, rows.row(y), std::size_t(width) * 3);
        std::fill(to + std::size_t(width) * 3, to + stride, std::uint8_t(0)); // the row's padding
    }
}

Result<Image> decode_bmp(ByteView file) {
    VORN_TRY_ASSIGN(BmpLayout layout, read_bmp_layout(file));
    Image image(layout.width, layout.height);
    for (std::int32_t y = 0; y < layout.height; ++y)
        read_row(file, layout, y, image.pixels.data() + std::size_t(y) * std::size_t(layout.width));
    return image;
}

Result<Image> decode_bmp_shrunk(ByteView file, std::int32_t width, std::int32_t height) {
    VORN_TRY_ASSIGN(BmpLayout layout, read_bmp_layout(file));
    if (layout.width == 0 || layout.height == 0)
        return Image(layout.width, layout.height);
    width = std::clamp(width, 1, layout.width);
    height = std::clamp(height, 1, layout.height);
    if (width == layout.width && height == layout.height)
        return decode_bmp(file);
    std::vector<std::int32_t> column_start(std::size_t(width) + 1);
    for (std::int32_t x = 0; x <= width; ++x)
        column_start[std::size_t(x)] = block_start(x, width, layout.width);
    Image image(width, height);
    std::vector<Pixel> row(std::size_t(layout.width));
    // Red, green and blue sums per target column; a block of a picture at the
    // largest size could overflow 32 bits.
    std::vector<std::uint64_t> sums(std::size_t(width) * 3);
    for (std::int32_t y = 0; y < height; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        const std::int32_t first_row = block_start(y, height, layout.height);
        const std::int32_t end_row = block_start(y + 1, height, layout.height);
        for (std::int32_t source_y = first_row; source_y < end_row; ++source_y) {
            read_row(file, layout, source_y, row.data());
            for (std::int32_t x = 0; x < width; ++x) {
                std::uint64_t* sum = &sums[std::size_t(x) * 3];
                for (std::int32_t source_x = column_start[std::size_t(x)];
                     source_x < column_start[std::size_t(x) + 1]; ++source_x) {
                    const Pixel pixel = row[std::size_t(source_x)];
                    sum[0] += pixel >> 16 & 0xFF;
                    sum[1] += pixel >> 8 & 0xFF;
                    sum[2] += pixel & 0xFF;
                }
            }
        }
        for (std::int32_t x = 0; x < width; ++x) {
            const std::uint64_t count =
                std::uint64_t(end_row - first_row) *
                std::uint64_t(column_start[std::size_t(x) + 1] - column_start[std::size_t(x)]);
            const std::uint64_t* sum = &sums[std::size_t(x) * 3];
            image.at(x, y) = rgb(average(sum[0], count), average(sum[1], count), average(sum[2], count));
        }
    }
    return image;
}

Image crop(const Image& source, std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height,
           Pixel fill) {
    Image out(std::max(width, 0), std::max(height, 0), fill);
    for (std::int32_t y = 0; y < out.height; ++y) {
        const std::int64_t sy = std::int64_t(top) + y;
        if (sy < 0 || sy >= source.height)
            continue;
        for (std::int32_t x = 0; x < out.width; ++x) {
            const std::int64_t sx = std::int64_t(left) + x;
            if (sx >= 0 && sx < source.width)
                out.at(x, y) = source.at(std::int32_t(sx), std::int32_t(sy));
        }
    }
    return out;
}

void blit(Image& target, const Image& source, std::int32_t left, std::int32_t top) {
    for (std::int32_t y = 0; y < source.height; ++y) {
        const std::int64_t ty = std::int64_t(top) + y;
        if (ty < 0 || ty >= target.height)
            continue;
        for (std::int32_t x = 0; x < source.width; ++x) {
            const std::int64_t tx = std::int64_t(left) + x;
            if (tx >= 0 && tx < target.width)
                target.at(std::int32_t(tx), std::int32_t(ty)) = source.at(x, y);
        }
    }
}

} // namespace vorn::picture
