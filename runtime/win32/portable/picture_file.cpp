#include "runtime/win32/portable/picture_file.h"

#include "runtime/core/picture/decode.h"

#include <algorithm>
#include <string>

namespace vorn::win32 {

namespace {

// Wire sizes of the icon format.
constexpr std::size_t kDirectoryHeaderSize = 6;
constexpr std::size_t kDirectoryEntrySize = 16;
constexpr std::size_t kInfoHeaderMinSize = 40;
constexpr std::uint32_t kInfoHeaderMaxSize = 124; // BITMAPV5HEADER
constexpr std::uint16_t kTypeIcon = 1;
constexpr std::uint32_t kCompressionNone = 0; // BI_RGB
// An icon image is at most 256 pixels each way; the directory stores 256 as 0.
constexpr std::int32_t kMaxIconDimension = 256;
constexpr std::uint8_t kOpaque = 255;

const std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

std::uint16_t load_u16(const std::uint8_t* at) {
    return std::uint16_t(at[0] | at[1] << 8);
}

struct Entry {
    std::size_t index = 0;
    std::uint32_t width = 0; // as stored: 0 means 256
    std::uint32_t height = 0;
    std::uint16_t bit_count = 0;
    std::uint32_t size = 0;
    std::uint32_t offset = 0;

    std::uint32_t area() const { return (width == 0 ? 256 : width) * (height == 0 ? 256 : height); }
};

// Every row of a DIB is padded to a multiple of four bytes.
std::uint64_t row_stride(std::uint64_t width, std::uint64_t bits) {
    return (width * bits + 31) / 32 * 4;
}

std::uint32_t bits_at(const std::uint8_t* row, std::int32_t x, std::uint16_t bits) {
    switch (bits) {
    case 1:
        return row[x / 8] >> (7 - x % 8) & 1u;
    case 4:
        return row[x / 2] >> (x % 2 == 0 ? 4 : 0) & 0xFu;
    default: // 8
        return row[x];
    }
}

Result<Picture> decode_dib(ByteView data, const std::string& context, std::uint64_t base) {
    ByteCursor in(data, context, base);
    VORN_TRY_ASSIGN(std::uint32_t header_size, in.u32("header size"));
    if (header_size < kInfoHeaderMinSize || header_size > kInfoHeaderMaxSize)
        return in.error_at(0, "header size " + std::to_string(header_size) + " is not a bitmap header");
    VORN_TRY_ASSIGN(std::int32_t width, in.i32("width"));
    VORN_TRY_ASSIGN(std::int32_t stored_height, in.i32("height"));
    VORN_TRY_ASSIGN(ByteView planes_and_bits, in.take(4, "planes and bit count"));
    VORN_TRY_ASSIGN(std::uint32_t compression, in.u32("compression"));
    VORN_TRY_ASSIGN(ByteView sizes_and_resolution, in.take(12, "image size and resolution"));
    VORN_TRY_ASSIGN(std::uint32_t colours_used, in.u32("colours used"));
    static_cast<void>(sizes_and_resolution);
    const std::uint16_t bits = load_u16(planes_and_bits.data() + 2);
    // The stored height counts the colour image and the mask below it.
    const std::int32_t height = stored_height / 2;
    if (width <= 0 || width > kMaxIconDimension || stored_height <= 0 || height <= 0 ||
        height > kMaxIconDimension)
        return in.error_at(4, "size " + std::to_string(width) + " x " + std::to_string(stored_height) +
                                  " is not an icon image's");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return in.error_at(14, std::to_string(bits) + " bits per pixel are not read");
    if (compression != kCompressionNone)
        return in.error_at(16, "compression " + std::to_string(compression) + " is not read");
    VORN_TRY_STATUS(in.seek(header_size, "colour table"));

    std::vector<picture::Pixel> palette;
    if (bits <= 8) {
        const std::uint32_t full = 1u << bits;
        const std::uint32_t count = colours_used == 0 ? full : colours_used;
        if (count > full)
            return in.error_at(32, std::to_string(count) + " colours for " + std::to_string(bits) +
                                       " bits per pixel");
        VORN_TRY_STATUS(in.expect_entries(count, 4, "colour table"));
        VORN_TRY_ASSIGN(ByteView table, in.take(std::uint64_t(count) * 4, "colour table"));
        for (std::uint32_t i = 0; i < count; ++i)
            palette.push_back(picture::rgb(table[4 * i + 2], table[4 * i + 1], table[4 * i]));
        palette.resize(full, 0); // indices beyond the stored table read as black
    }

    const std::uint64_t colour_stride = row_stride(std::uint64_t(width), bits);
    VORN_TRY_ASSIGN(ByteView colour, in.take(colour_stride * std::uint64_t(height), "colour image"));
    const std::uint64_t mask_stride = row_stride(std::uint64_t(width), 1);
    const std::uint64_t mask_size = mask_stride * std::uint64_t(height);
    // 32-bit images carry their own alpha; the mask after them may be missing.
    ByteView mask;
    if (bits != 32 || in.remaining() >= mask_size) {
        VORN_TRY_ASSIGN(ByteView stored_mask, in.take(mask_size, "mask"));
        mask = stored_mask;
    }

    Picture out;
    out.image = picture::Image(width, height);
    out.alpha.assign(out.image.pixels.size(), kOpaque);
    bool any_alpha = false;
    for (std::int32_t y = 0; y < height; ++y) {
        // Rows are stored bottom-up.
        const std::uint8_t* row = colour.data() + std::uint64_t(height - 1 - y) * colour_stride;
        for (std::int32_t x = 0; x < width; ++x) {
            picture::Pixel& pixel = out.image.at(x, y);
            std::uint8_t& alpha = out.alpha[std::size_t(y) * std::size_t(width) + std::size_t(x)];
            if (bits == 32) {
                const std::uint8_t* p = row + 4 * x;
                pixel = picture::rgb(p[2], p[1], p[0]);
                alpha = p[3];
                any_alpha = any_alpha || alpha != 0;
            } else if (bits == 24) {
                const std::uint8_t* p = row + 3 * x;
                pixel = picture::rgb(p[2], p[1], p[0]);
            } else {
                pixel = palette[bits_at(row, x, bits)];
            }
        }
    }
    // Without an alpha channel (or with one left all zero by older tools) the
    // mask decides: a set bit is a transparent pixel.
    if (bits != 32 || !any_alpha) {
        for (std::int32_t y = 0; y < height; ++y) {
            const std::uint8_t* row =
                mask.empty() ? nullptr : mask.data() + std::uint64_t(height - 1 - y) * mask_stride;
            for (std::int32_t x = 0; x < width; ++x)
                out.alpha[std::size_t(y) * std::size_t(width) + std::size_t(x)] =
                    row != nullptr && bits_at(row, x, 1) != 0 ? 0 : kOpaque;
        }
    }
    return out;
}

} // namespace

bool looks_like_icon(ByteView file) {
    return file.size() >= kDirectoryHeaderSize && load_u16(file.data()) == 0 &&
           load_u16(file.data() + 2) == kTypeIcon && load_u16(file.data() + 4) != 0;
}

Result<Picture> decode_icon(ByteView file) {
    ByteCursor in(file, "icon file");
    VORN_TRY_ASSIGN(ByteView header, in.take(kDirectoryHeaderSize, "icon directory"));
    if (load_u16(header.data()) != 0 || load_u16(header.data() + 2) != kTypeIcon)
        return in.error_at(0, "not an icon file");
    const std::uint16_t count = load_u16(header.data() + 4);
    if (count == 0)
        return in.error_at(4, "the icon holds no image");
    VORN_TRY_STATUS(in.expect_entries(count, kDirectoryEntrySize, "icon directory entries"));

    Entry best;
    for (std::size_t i = 0; i < count; ++i) {
        VORN_TRY_ASSIGN(ByteView raw, in.take(kDirectoryEntrySize, "icon directory entry"));
        Entry entry;
        entry.index = i;
        entry.width = raw[0];
        entry.height = raw[1];
        entry.bit_count = load_u16(raw.data() + 6);
        entry.size = load_u32(raw.data() + 8);
        entry.offset = load_u32(raw.data() + 12);
        if (i == 0 || entry.area() > best.area() ||
            (entry.area() == best.area() && entry.bit_count > best.bit_count))
            best = entry;
    }
    const std::uint64_t entry_at = kDirectoryHeaderSize + best.index * kDirectoryEntrySize;
    if (!fits(best.offset, best.size, file.size()))
        return in.error_at(entry_at + 8, "image " + std::to_string(best.index) + " (" +
                                             std::to_string(best.size) + " bytes at " + hex(best.offset) +
                                             ") lies past the end of the file (" + hex(file.size()) + ")");
    ByteView data = file.subspan(best.offset, best.size);
    if (data.size() >= sizeof kPngSignature &&
        std::equal(std::begin(kPngSignature), std::end(kPngSignature), data.begin())) {
        VORN_TRY_ASSIGN(picture::Image image, picture::decode_picture(data));
        return Picture{std::move(image), {}};
    }
    return decode_dib(data, "icon image " + std::to_string(best.index), best.offset);
}

Result<Picture> decode_any_picture(ByteView file) {
    if (looks_like_icon(file))
        return decode_icon(file);
    VORN_TRY_ASSIGN(picture::Image image, picture::decode_picture(file));
    return Picture{std::move(image), {}};
}

picture::Image flatten(const Picture& source, picture::Pixel background) {
    return flatten(Picture(source), background);
}

picture::Image flatten(Picture&& source, picture::Pixel background) {
    picture::Image out = std::move(source.image);
    if (source.alpha.size() != out.pixels.size())
        return out;
    for (std::size_t i = 0; i < out.pixels.size(); ++i) {
        const unsigned a = source.alpha[i];
        auto channel = [&](int shift) {
            const unsigned front = out.pixels[i] >> shift & 0xFF, back = background >> shift & 0xFF;
            return picture::Pixel((front * a + back * (255 - a) + 127) / 255) << shift;
        };
        out.pixels[i] = channel(16) | channel(8) | channel(0);
    }
    return out;
}

} // namespace vorn::win32
