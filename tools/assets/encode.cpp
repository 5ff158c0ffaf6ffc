#include "tools/assets/encode.h"

#include <new>

// Only the PNG writer of stb is used, compiled here with internal linkage so
// that it cannot clash with the copy the runtime core builds.
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace vorn::assets {

namespace {

constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kPaletteEntries = 216;

void u16(ByteWriter& out, std::uint16_t value) {
    out.u8(std::uint8_t(value));
    out.u8(std::uint8_t(value >> 8));
}

void info_header(ByteWriter& out, std::int32_t width, std::int32_t height, std::uint16_t bits,
                 std::uint32_t image_size, std::uint32_t colours_used) {
    out.u32(kInfoHeaderSize);
    out.i32(width);
    out.i32(height);
    u16(out, 1); // planes
    u16(out, bits);
    out.u32(0); // BI_RGB
    out.u32(image_size);
    out.i32(0); // pixels per metre, both ways
    out.i32(0);
    out.u32(colours_used);
    out.u32(0); // important colours: all
}

// Every row of a DIB is padded to a multiple of four bytes.
std::uint32_t row_stride(int width, int bits) {
    return (std::uint32_t(width) * std::uint32_t(bits) + 31) / 32 * 4;
}

} // namespace

Bytes icon_file(const Canvas& picture) {
    const int w = picture.width(), h = picture.height();
    const std::uint32_t pixel_bytes = row_stride(w, 32) * std::uint32_t(h);
    const std::uint32_t mask_bytes = row_stride(w, 1) * std::uint32_t(h);
    const std::uint32_t resource_size = kInfoHeaderSize + pixel_bytes + mask_bytes;
    constexpr std::uint32_t kDirectorySize = 6 + 16;

    ByteWriter out;
    u16(out, 0); // reserved
    u16(out, 1); // type: icon
    u16(out, 1); // one image
    out.u8(std::uint8_t(w));
    out.u8(std::uint8_t(h));
    out.u8(0); // no colour table
    out.u8(0);
    u16(out, 1); // planes
    u16(out, 32);
    out.u32(resource_size);
    out.u32(kDirectorySize);

    // The stored height counts the image and the mask below it.
    info_header(out, w, 2 * h, 32, pixel_bytes, 0);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const Colour c = picture.at(x, y);
            out.u8(c.b);
            out.u8(c.g);
            out.u8(c.r);
            out.u8(c.a);
        }
    }
    // Screens that ignore alpha draw the colour wherever the mask bit is
    // clear, so the mask keeps the pixels that are at least half opaque.
    for (int y = h - 1; y >= 0; --y) {
        ByteWriter row;
        for (int x0 = 0; x0 < w; x0 += 8) {
            std::uint8_t bits = 0;
            for (int x = x0; x < x0 + 8; ++x)
                if (x >= w || picture.at(x, y).a < 128)
                    bits |= std::uint8_t(0x80 >> (x - x0));
            row.u8(bits);
        }
        row.zeros(row_stride(w, 1) - row.size());
        out.bytes(row.buffer());
    }
    return out.take();
}

Bytes png_file(const Canvas& picture) {
    const int w = picture.width(), h = picture.height();
    Bytes rgba;
    rgba.reserve(std::size_t(w) * std::size_t(h) * 4);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Colour c = picture.at(x, y);
            rgba.insert(rgba.end(), {c.r, c.g, c.b, c.a});
        }
    }
    Bytes file;
    auto append = [](void* context, void* data, int size) {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        static_cast<Bytes*>(context)->insert(static_cast<Bytes*>(context)->end(), bytes, bytes + size);
    };
    // The writer fails only when it cannot allocate its buffers.
    if (!stbi_write_png_to_func(append, &file, w, h, 4, rgba.data(), w * 4))
        throw std::bad_alloc();
    return file;
}

Bytes palette_bitmap_file(const Canvas& picture) {
    const int w = picture.width(), h = picture.height();
    const std::uint32_t stride = row_stride(w, 24);
    const std::uint32_t pixels_at = kFileHeaderSize + kInfoHeaderSize + 4 * kPaletteEntries;
    const std::uint32_t pixel_bytes = stride * std::uint32_t(h);

    ByteWriter out;
    out.u8('B');
    out.u8('M');
    out.u32(pixels_at + pixel_bytes);
    out.u32(0); // reserved
    out.u32(pixels_at);
    info_header(out, w, h, 24, pixel_bytes, kPaletteEntries);
    // The web palette, six steps of 0x33 per channel, blue varying fastest.
    for (std::uint32_t i = 0; i < kPaletteEntries; ++i) {
        out.u8(std::uint8_t(0x33 * (i % 6)));
        out.u8(std::uint8_t(0x33 * (i / 6 % 6)));
        out.u8(std::uint8_t(0x33 * (i / 36)));
        out.u8(0);
    }
    auto over_white = [](std::uint8_t c, std::uint8_t a) {
        return std::uint8_t((c * a + 255 * (255 - a) + 127) / 255);
    };
    for (int y = h - 1; y >= 0; --y) {
        ByteWriter row;
        for (int x = 0; x < w; ++x) {
            const Colour c = picture.at(x, y);
            row.u8(over_white(c.b, c.a));
            row.u8(over_white(c.g, c.a));
            row.u8(over_white(c.r, c.a));
        }
        row.zeros(stride - row.size());
        out.bytes(row.buffer());
    }
    return out.take();
}

Bytes wave_file(std::span<const std::uint8_t> samples, std::uint32_t samples_per_second) {
    constexpr std::uint32_t kFormatSize = 16;
    const std::uint32_t data_size = std::uint32_t(samples.size());
    ByteWriter out;
    out.bytes(as_bytes("RIFF"));
    // An odd-sized last chunk goes without the pad byte RIFF would have after
    // it: the file ends with the samples and its stored size says so, which
    // every player accepts.
    out.u32(4 + (8 + kFormatSize) + (8 + data_size));
    out.bytes(as_bytes("WAVE"));
    out.bytes(as_bytes("fmt "));
    out.u32(kFormatSize);
    u16(out, 1); // PCM
    u16(out, 1); // mono
    out.u32(samples_per_second);
    out.u32(samples_per_second); // bytes per second: one byte a sample
    u16(out, 1);                 // block align
    u16(out, 8);                 // bits per sample
    out.bytes(as_bytes("data"));
    out.u32(data_size);
    out.bytes(samples);
    return out.take();
}

} // namespace vorn::assets
