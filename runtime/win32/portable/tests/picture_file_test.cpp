#include "runtime/win32/portable/picture_file.h"

#include "runtime/core/picture/bitmap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

namespace vorn::win32 {
namespace {

using picture::Pixel;
using picture::rgb;

// One icon image as a test writes it: `value(x, y)` gives the top-down
// pixel (a palette index below 9 bits, else 0xAARRGGBB), `transparent(x, y)`
// the mask bit.
struct DibSpec {
    std::int32_t width = 2;
    std::int32_t height = 2;
    std::uint16_t bits = 32;
    std::vector<Pixel> palette;
    std::function<std::uint32_t(int, int)> value = [](int, int) { return 0xFF000000u; };
    std::function<bool(int, int)> transparent = [](int, int) { return false; };
    bool with_mask = true;
    std::uint32_t header_size = 40;
    std::uint32_t compression = 0;
    std::uint32_t colours_used = 0;
    std::int32_t stored_height = 0; // 0: twice the height, as icons store it
};

void u16(ByteWriter& out, std::uint16_t value) {
    out.u8(std::uint8_t(value));
    out.u8(std::uint8_t(value >> 8));
}

std::uint32_t stride(std::int32_t width, std::uint16_t bits) {
    return (std::uint32_t(width) * bits + 31) / 32 * 4;
}

Bytes dib(const DibSpec& spec) {
    ByteWriter out;
    out.u32(spec.header_size);
    out.i32(spec.width);
    out.i32(spec.stored_height != 0 ? spec.stored_height : 2 * spec.height);
    u16(out, 1);
    u16(out, spec.bits);
    out.u32(spec.compression);
    out.zeros(12);
    out.u32(spec.colours_used);
    out.u32(0);
    if (spec.header_size > 40) // a refused smaller size is only stored, never laid out
        out.zeros(spec.header_size - 40);
    for (Pixel colour : spec.palette) {
        out.u8(std::uint8_t(colour));
        out.u8(std::uint8_t(colour >> 8));
        out.u8(std::uint8_t(colour >> 16));
        out.u8(0);
    }
    for (int y = spec.height - 1; y >= 0; --y) {
        Bytes row(stride(spec.width, spec.bits), 0);
        for (int x = 0; x < spec.width; ++x) {
            const std::uint32_t v = spec.value(x, y);
            switch (spec.bits) {
            case 32:
                row[4 * x] = std::uint8_t(v), row[4 * x + 1] = std::uint8_t(v >> 8);
                row[4 * x + 2] = std::uint8_t(v >> 16), row[4 * x + 3] = std::uint8_t(v >> 24);
                break;
            case 24:
                row[3 * x] = std::uint8_t(v), row[3 * x + 1] = std::uint8_t(v >> 8);
                row[3 * x + 2] = std::uint8_t(v >> 16);
                break;
            case 8:
                row[x] = std::uint8_t(v);
                break;
            case 4:
                row[x / 2] |= std::uint8_t(v << (x % 2 == 0 ? 4 : 0));
                break;
            default:
                row[x / 8] |= std::uint8_t(v << (7 - x % 8));
            }
        }
        out.bytes(row);
    }
    if (spec.with_mask) {
        for (int y = spec.height - 1; y >= 0; --y) {
            Bytes row(stride(spec.width, 1), 0);
            for (int x = 0; x < spec.width; ++x)
                if (spec.transparent(x, y))
                    row[x / 8] |= std::uint8_t(0x80 >> (x % 8));
            out.bytes(row);
        }
    }
    return out.take();
}

struct Stored {
    Bytes data;
    std::uint8_t width = 0;
    std::uint8_t height = 0;
    std::uint16_t bits = 32;
};

// The directory, then the images in order; `size_delta` and `offset` (when
// set) falsify the first entry's fields.
Bytes icon_file(const std::vector<Stored>& images, std::int64_t size_delta = 0,
                std::optional<std::uint32_t> offset = {}) {
    ByteWriter out;
    u16(out, 0);
    u16(out, 1);
    u16(out, std::uint16_t(images.size()));
    std::uint32_t at = 6 + 16 * std::uint32_t(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const Stored& image = images[i];
        out.u8(image.width);
        out.u8(image.height);
        out.u8(0);
        out.u8(0);
        u16(out, 1);
        u16(out, image.bits);
        out.u32(std::uint32_t(std::int64_t(image.data.size()) + (i == 0 ? size_delta : 0)));
        out.u32(i == 0 && offset ? *offset : at);
        at += std::uint32_t(image.data.size());
    }
    for (const Stored& image : images)
        out.bytes(image.data);
    return out.take();
}

Bytes single(const DibSpec& spec) {
    return icon_file({{dib(spec), std::uint8_t(spec.width), std::uint8_t(spec.height), spec.bits}});
}

// A 2 x 1 RGBA PNG: opaque red, opaque blue.
const Bytes kPng = {0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44,
                    0x52, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0xf4,
                    0x22, 0x7f, 0x8a, 0x00, 0x00, 0x00, 0x0e, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9c, 0x63, 0xf8,
                    0xcf, 0xc0, 0x00, 0x42, 0xff, 0x01, 0x0f, 0xf9, 0x03, 0xfd, 0x85, 0x11, 0x99, 0x76, 0x00,
                    0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

TEST(IconFile, ThirtyTwoBitImageKeepsColoursAndAlphaTopDown) {
    DibSpec spec;
    spec.value = [](int x, int y) {
        return std::uint32_t(0x40 * (1 + x + 2 * y)) << 24 | (x == 0 ? 0xFF0000u : 0x0000FFu) |
               (y == 0 ? 0x00FF00u : 0u);
    };
    Result<Picture> icon = decode_icon(single(spec));
    ASSERT_TRUE(icon) << icon.error().message;
    ASSERT_EQ(icon->image.width, 2);
    ASSERT_EQ(icon->image.height, 2);
    EXPECT_EQ(icon->image.at(0, 0), rgb(0xFF, 0xFF, 0x00));
    EXPECT_EQ(icon->image.at(1, 0), rgb(0x00, 0xFF, 0xFF));
    EXPECT_EQ(icon->image.at(0, 1), rgb(0xFF, 0x00, 0x00));
    EXPECT_EQ(icon->alpha, (std::vector<std::uint8_t>{0x40, 0x80, 0xC0, 0x00}));
}

TEST(IconFile, AlphaComesFromTheMaskWhenTheImageHasNone) {
    DibSpec spec;
    spec.value = [](int, int) { return 0x00123456u; }; // alpha bytes all zero, as older tools wrote
    spec.transparent = [](int x, int y) { return x == 1 && y == 0; };
    Result<Picture> icon = decode_icon(single(spec));
    ASSERT_TRUE(icon) << icon.error().message;
    EXPECT_EQ(icon->alpha, (std::vector<std::uint8_t>{255, 0, 255, 255}));

    // A 32-bit image with alpha may come without its mask.
    spec.value = [](int, int) { return 0x80123456u; };
    spec.with_mask = false;
    icon = decode_icon(single(spec));
    ASSERT_TRUE(icon) << icon.error().message;
    EXPECT_EQ(icon->alpha, (std::vector<std::uint8_t>(4, 0x80)));
}

TEST(IconFile, PaletteAndTrueColourImagesUseTheirMask) {
    // Width 3 pads every row, and sub-byte pixels share bytes.
    const std::vector<Pixel> palette16 = {rgb(0, 0, 0), rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255)};
    for (std::uint16_t bits : {1, 4, 8, 24}) {
        SCOPED_TRACE("bits " + std::to_string(bits));
        DibSpec spec;
        spec.width = 3;
        spec.bits = bits;
        if (bits <= 8) {
            spec.palette = bits == 1 ? std::vector<Pixel>{rgb(0, 0, 0), rgb(255, 0, 0)} : palette16;
            spec.colours_used = std::uint32_t(spec.palette.size());
            spec.value = [bits](int x, int y) {
                return std::uint32_t(bits == 1 ? (x + y) % 2 : (x + y) % 4);
            };
        } else {
            spec.value = [](int x, int) { return x == 2 ? 0x0000FFu : 0xFF0000u; };
        }
        spec.transparent = [](int x, int y) { return x == 2 && y == 1; };
        Result<Picture> icon = decode_icon(single(spec));
        ASSERT_TRUE(icon) << icon.error().message;
        ASSERT_EQ(icon->image.width, 3);
        EXPECT_EQ(icon->image.at(1, 0), rgb(255, 0, 0));
        if (bits > 1) {
            EXPECT_EQ(icon->image.at(2, 1), rgb(0, 0, 255));
        }
        EXPECT_EQ(icon->alpha, (std::vector<std::uint8_t>{255, 255, 255, 255, 255, 0}));
    }
}

TEST(IconFile, TheLargestDeepestImageIsTaken) {
    DibSpec small;
    small.value = [](int, int) { return 0xFF00FF00u; };
    DibSpec large = small;
    large.width = large.height = 4;
    large.value = [](int, int) { return 0xFFFF0000u; };
    DibSpec large_shallow = large;
    large_shallow.bits = 24;
    large_shallow.value = [](int, int) { return 0x0000FFu; };
    Result<Picture> icon = decode_icon(
        icon_file({{dib(small), 2, 2, 32}, {dib(large_shallow), 4, 4, 24}, {dib(large), 4, 4, 32}}));
    ASSERT_TRUE(icon) << icon.error().message;
    EXPECT_EQ(icon->image.width, 4);
    EXPECT_EQ(icon->image.at(3, 3), rgb(255, 0, 0));
}

TEST(IconFile, PngImagesInsideAnIconAreDecodedOpaque) {
    Result<Picture> icon = decode_icon(icon_file({{kPng, 2, 1, 32}}));
    ASSERT_TRUE(icon) << icon.error().message;
    EXPECT_EQ(icon->image.at(0, 0), rgb(255, 0, 0));
    EXPECT_EQ(icon->image.at(1, 0), rgb(0, 0, 255));
    EXPECT_TRUE(icon->alpha.empty());
}

TEST(IconFile, ImageDataMustLieInsideTheFile) {
    const DibSpec spec;
    const Bytes image = dib(spec);
    EXPECT_TRUE(decode_icon(icon_file({{image, 2, 2, 32}}, 0)));
    EXPECT_FALSE(decode_icon(icon_file({{image, 2, 2, 32}}, 1)));
    EXPECT_FALSE(decode_icon(icon_file({{image, 2, 2, 32}}, 0, 22 + 1)));
    EXPECT_FALSE(decode_icon(icon_file({{image, 2, 2, 32}}, 0, std::numeric_limits<std::uint32_t>::max())));
    const Result<Picture> past =
        decode_icon(icon_file({{image, 2, 2, 32}}, std::int64_t(UINT32_MAX) - std::int64_t(image.size())));
    ASSERT_FALSE(past);
    EXPECT_NE(past.error().message.find("past the end"), std::string::npos) << past.error().message;
}

TEST(IconFile, MalformedFilesAreRefusedWithTheReason) {
    struct Case {
        const char* name;
        std::function<void(DibSpec&)> change;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"small header", [](DibSpec& s) { s.header_size = 12; }, "header size"},
        {"16 bits", [](DibSpec& s) { s.bits = 16; }, "bits per pixel"},
        {"bit fields", [](DibSpec& s) { s.compression = 3; }, "compression"},
        {"zero width", [](DibSpec& s) { s.width = 0; }, "not an icon image"},
        {"one row for image and mask", [](DibSpec& s) { s.stored_height = 1; }, "not an icon image"},
        {"257 wide", [](DibSpec& s) { s.width = 257; }, "not an icon image"},
        {"too many colours",
         [](DibSpec& s) {
             s.bits = 1;
             s.palette = {0, 0, 0};
             s.colours_used = 3;
             s.value = [](int, int) { return 0u; };
         },
         "colours for 1 bits"},
        {"no mask after a palette image",
         [](DibSpec& s) {
             s.bits = 8;
             s.palette = {0};
             s.colours_used = 1;
             s.value = [](int, int) { return 0u; };
             s.with_mask = false;
         },
         "mask needs"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DibSpec spec;
        c.change(spec);
        Result<Picture> icon = decode_icon(single(spec));
        ASSERT_FALSE(icon);
        EXPECT_NE(icon.error().message.find(c.reason), std::string::npos) << icon.error().message;
    }

    EXPECT_FALSE(decode_icon(Bytes{0, 0, 1, 0, 0, 0}));         // no image
    EXPECT_FALSE(decode_icon(Bytes{0, 0, 2, 0, 1, 0}));         // a cursor, not an icon
    EXPECT_FALSE(decode_icon(Bytes{0, 0, 1, 0, 2, 0, 32, 32})); // directory cut short
}

TEST(PictureFile, OtherFormatsAreOpaqueAndFlatteningBlendsOverTheBackground) {
    picture::Image two(2, 1, rgb(10, 20, 30));
    Result<Picture> bitmap = decode_any_picture(picture::encode_bmp(two));
    ASSERT_TRUE(bitmap) << bitmap.error().message;
    EXPECT_TRUE(bitmap->alpha.empty());
    EXPECT_EQ(flatten(*bitmap, rgb(255, 255, 255)), two);
    EXPECT_FALSE(decode_any_picture(Bytes{1, 2, 3}));

    Picture half{picture::Image(1, 1, rgb(255, 0, 0)), {128}};
    EXPECT_EQ(flatten(half, rgb(0, 0, 255)).at(0, 0), rgb(128, 0, 127));
}

} // namespace
} // namespace vorn::win32
