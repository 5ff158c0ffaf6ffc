#include "runtime/core/picture/decode.h"

#include <climits>

// stb's decoder and encoder are header-only and compiled here alone; their
// headers are included as system headers, outside our warning rules. Only the
// PNG decoder is built: fuzzing found the JPEG decoder of the packaged stb
// writing past a Huffman table, and nothing here needs to decode JPEG.
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_FAILURE_USERMSG
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image.h>
#include <stb_image_write.h>

namespace vorn::picture {

namespace {

Result<Image> decode_with_stb(ByteView file) {
    if (file.size() > INT_MAX)
        return Error{"picture: " + std::to_string(file.size()) + " bytes are too many"};
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(file.data(), int(file.size()), &width, &height, &channels))
        return Error{std::string("picture: ") + stbi_failure_reason()};
    if (width <= 0 || height <= 0 || width > kMaxDimension || height > kMaxDimension ||
        std::uint64_t(width) * std::uint64_t(height) > kMaxPixels)
        return Error{"picture: size " + std::to_string(width) + " x " + std::to_string(height) +
                     " is out of range"};
    unsigned char* rgba = stbi_load_from_memory(file.data(), int(file.size()), &width, &height, &channels, 4);
    if (rgba == nullptr)
        return Error{std::string("picture: ") + stbi_failure_reason()};
    Image image(width, height);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        const unsigned char* p = rgba + 4 * i;
        // Transparent parts show white, as on the white background of the views.
        const unsigned alpha = p[3];
        auto over_white = [&](unsigned c) { return std::uint8_t((c * alpha + 255 * (255 - alpha)) / 255); };
        image.pixels[i] = rgb(over_white(p[0]), over_white(p[1]), over_white(p[2]));
    }
    stbi_image_free(rgba);
    return image;
}

// Width and height from a JPEG file's frame header, reading marker segments
// within the file's bounds only.
Result<PictureSize> jpeg_size(ByteView file) {
    ByteCursor in(file, "JPEG file");
    VORN_TRY_ASSIGN(ByteView start, in.take(2, "start marker"));
    if (start[0] != 0xFF || start[1] != 0xD8)
        return in.error_at(0, "not a JPEG file");
    for (;;) {
        VORN_TRY_ASSIGN(std::uint8_t prefix, in.u8("marker"));
        if (prefix != 0xFF)
            return in.error_at(in.position() - 1, "expected a marker");
        VORN_TRY_ASSIGN(std::uint8_t marker, in.u8("marker"));
        if (marker == 0xFF || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // fill bytes and markers without a segment
        VORN_TRY_ASSIGN(ByteView length_bytes, in.take(2, "segment length"));
        const std::uint32_t length = std::uint32_t(length_bytes[0]) << 8 | length_bytes[1];
        if (length < 2)
            return in.error_at(in.position() - 2, "segment length below 2");
        VORN_TRY_ASSIGN(ByteView segment, in.take(length - 2, "segment"));
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (segment.size() < 5)
                return in.error_at(in.position() - segment.size(), "frame header too short");
            return PictureSize{std::int32_t(segment[3]) << 8 | segment[4],
                               std::int32_t(segment[1]) << 8 | segment[2]};
        }
    }
}

void append(void* context, void* data, int size) {
    auto* out = static_cast<Bytes*>(context);
    auto* bytes = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

} // namespace

Result<Image> decode_picture(ByteView file) {
    if (looks_like_bmp(file))
        return decode_bmp(file);
    return decode_with_stb(file);
}

Result<PictureSize> picture_size(ByteView file) {
    if (looks_like_bmp(file)) {
        VORN_TRY_ASSIGN(Image image, decode_bmp(file));
        return PictureSize{image.width, image.height};
    }
    if (file.size() >= 2 && file[0] == 0xFF && file[1] == 0xD8)
        return jpeg_size(file);
    int width = 0, height = 0, channels = 0;
    if (file.size() > INT_MAX ||
        !stbi_info_from_memory(file.data(), int(file.size()), &width, &height, &channels))
        return Error{"picture: not a picture file this runtime reads"};
    return PictureSize{width, height};
}

// The encoder's input: top-down rows of R, G, B bytes.
Result<Bytes> encode_rgb(const std::vector<std::uint8_t>& rgb_bytes, std::int32_t width, std::int32_t height,
                         int quality) {
    Bytes out;
    out.reserve(rgb_bytes.size() / 8); // a shot's JPEG at quality 70 is rarely larger
    if (!stbi_write_jpg_to_func(append, &out, width, height, 3, rgb_bytes.data(), quality))
        return Error{"JPEG: the encoder failed"};
    return out;
}

Result<Bytes> encode_jpeg(const Image& image, int quality) {
    if (image.empty())
        return Error{"JPEG: the picture is empty"};
    std::vector<std::uint8_t> rgb_bytes(image.pixels.size() * 3);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        rgb_bytes[3 * i] = std::uint8_t(image.pixels[i] >> 16);
        rgb_bytes[3 * i + 1] = std::uint8_t(image.pixels[i] >> 8);
        rgb_bytes[3 * i + 2] = std::uint8_t(image.pixels[i]);
    }
    return encode_rgb(rgb_bytes, image.width, image.height, quality);
}

Result<Bytes> encode_jpeg_file(ByteView file, int quality) {
    Result<BmpLayout> layout = looks_like_bmp(file) ? read_bmp_layout(file) : Result<BmpLayout>(Error{});
    if (!layout || layout->bitfields || layout->width <= 0 || layout->height <= 0) {
        Result<Image> image = decode_picture(file);
        if (!image)
            return image.error();
        return encode_jpeg(*image, quality);
    }
    // B, G, R (and a fourth byte at 32 bits) per pixel, rows either way up.
    const std::size_t step = layout->bits / 8, width = std::size_t(layout->width);
    std::vector<std::uint8_t> rgb_bytes(width * std::size_t(layout->height) * 3);
    std::uint8_t* to = rgb_bytes.data();
    for (std::int32_t y = 0; y < layout->height; ++y) {
        const std::int32_t row = layout->top_down ? y : layout->height - 1 - y;
        const std::uint8_t* from = file.data() + layout->pixel_offset + std::size_t(row) * layout->stride;
        for (std::size_t x = 0; x < width; ++x, from += step, to += 3) {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
    }
    return encode_rgb(rgb_bytes, layout->width, layout->height, quality);
}

} // namespace vorn::picture
