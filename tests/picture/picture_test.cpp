#include "runtime/core/picture/bitmap.h"
#include "runtime/core/picture/decode.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace vorn;
using namespace vorn::picture;

namespace {

Image gradient(std::int32_t width, std::int32_t height) {
    Image image(width, height);
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x)
            image.at(x, y) = rgb(std::uint8_t(x * 7), std::uint8_t(y * 13), std::uint8_t(x + y));
    return image;
}

// A bitmap file written field by field, independently of the encoder.
Bytes handmade_bmp(std::int32_t width, std::int32_t height, std::uint16_t bits, bool top_down,
                   std::uint32_t palette_entries = 0) {
    const std::uint32_t stride = ((std::uint32_t(width) * bits + 31) / 32) * 4;
    const std::uint32_t offset = 14 + 40 + 4 * palette_entries;
    ByteWriter out;
    out.u8('B');
    out.u8('M');
    out.u32(offset + stride * std::uint32_t(height));
    out.u32(0);
    out.u32(offset);
    out.u32(40);
    out.i32(width);
    out.i32(top_down ? -height : height);
    out.u32(1u | std::uint32_t(bits) << 16);
    out.u32(0);
    out.zeros(20);
    out.zeros(4 * palette_entries);
    for (std::int32_t row = 0; row < height; ++row) {
        const std::int32_t y = top_down ? row : height - 1 - row;
        for (std::int32_t x = 0; x < width; ++x) {
            out.u8(std::uint8_t(10 * x)); // blue
            out.u8(std::uint8_t(20 * y)); // green
            out.u8(std::uint8_t(x + y));  // red
            if (bits == 32)
                out.u8(0);
        }
        out.zeros(stride - std::uint32_t(width) * bits / 8);
    }
    return out.take();
}

} // namespace

TEST(Bitmap, RoundTripsEveryShapeIncludingRowPadding) {
    for (auto [w, h] : {std::pair{1, 1}, {3, 2}, {16, 16}, {33, 7}}) {
        const Image image = gradient(w, h);
        Result<Image> back = decode_bmp(encode_bmp(image));
        ASSERT_TRUE(back) << back.error().message;
        EXPECT_EQ(*back, image) << w << "x" << h;
    }
    Result<Image> empty = decode_bmp(encode_bmp(Image()));
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
}

TEST(Bitmap, ReadsBothRowOrdersDepthsAndColourTables) {
    // The graphic buttons' files: 24 bits with an unused 216-entry colour table.
    for (auto [bits, top_down, palette] :
         {std::tuple{24, false, 216u}, {24, true, 0u}, {32, false, 0u}, {32, true, 0u}}) {
        Result<Image> image = decode_bmp(handmade_bmp(5, 3, std::uint16_t(bits), top_down, palette));
        ASSERT_TRUE(image) << image.error().message;
        EXPECT_EQ(image->at(4, 0), rgb(4, 0, 40)) << bits << top_down;
        EXPECT_EQ(image->at(1, 2), rgb(3, 40, 10)) << bits << top_down;
    }
    EXPECT_EQ(handmade_bmp(16, 16, 24, false, 216).size(), 1686u);
}

TEST(Bitmap, RefusesMalformedFiles) {
    const Bytes good = handmade_bmp(4, 4, 24, false);
    EXPECT_TRUE(decode_bmp(good));
    // Pixel data ending exactly at the end is fine; one byte short is not.
    Bytes short_by_one(good.begin(), good.end() - 1);
    EXPECT_FALSE(decode_bmp(short_by_one));
    Bytes huge = good;
    store_u32(huge.data() + 18, 0x7FFFFFFF); // width
    EXPECT_NE(decode_bmp(huge).error().message.find("out of range"), std::string::npos);
    Bytes far_offset = good;
    store_u32(far_offset.data() + 10, 0xFFFFFFFF);
    EXPECT_FALSE(decode_bmp(far_offset));
    Bytes eight_bit = good;
    eight_bit[28] = 8;
    EXPECT_NE(decode_bmp(eight_bit).error().message.find("8 bits"), std::string::npos);
    EXPECT_FALSE(decode_bmp(Bytes{'B', 'M'}));
    EXPECT_FALSE(decode_picture(Bytes{1, 2, 3}));
}

// Writers that fill a blank file's rows themselves (the screen grab) and
// readers that hand rows on as they are (the clipboard's bitmap) rely on
// this layout matching a bottom-up 24-bit DIB.
TEST(Bitmap, BlankFileAndLayoutDescribeTheRowsInPlace) {
    const Bytes blank = blank_bmp(5, 3);
    ASSERT_EQ(blank.size(), kBmpPixelOffset + 3 * bmp_stride_24(5));
    EXPECT_EQ(bmp_stride_24(5), 16u);
    Result<BmpLayout> layout = read_bmp_layout(blank);
    ASSERT_TRUE(layout) << layout.error().message;
    EXPECT_EQ(layout->pixel_offset, kBmpPixelOffset);
    EXPECT_EQ(layout->stride, 16u);
    EXPECT_FALSE(layout->top_down);
    EXPECT_EQ(layout->bits, 24u);
    EXPECT_EQ(*decode_bmp(blank), Image(5, 3));

    // A row written in place at the bottom of the file is the picture's last.
    Bytes file = blank;
    file[kBmpPixelOffset + 2] = 0xAB; // red of (0, 2)
    EXPECT_EQ(decode_bmp(file)->at(0, 2), rgb(0xAB, 0, 0));

    Result<BmpLayout> top_down = read_bmp_layout(handmade_bmp(4, 2, 32, true, 3));
    ASSERT_TRUE(top_down);
    EXPECT_TRUE(top_down->top_down);
    EXPECT_EQ(top_down->height, 2);
    EXPECT_EQ(top_down->pixel_offset, 14u + 40u + 12u);
    EXPECT_FALSE(read_bmp_layout(Bytes(file.begin(), file.end() - 1)));
}

// 24-bit rows of a surface, bottom-up or top-down, every byte `fill` first
// (the padding at each row's end included).
struct Surface24 {
    Surface24(std::int32_t width, std::int32_t height, bool bottom_up, std::uint8_t fill = 0xA5)
        : fill(fill),
          bytes(std::size_t(bmp_stride_24(width)) * std::size_t(height), fill), rows{bytes.data(),
                                                                                     bmp_stride_24(width),
                                                                                     width, height,
                                                                                     bottom_up} {}
    Pixel filled() const { return rgb(fill, fill, fill); }
    std::uint8_t fill;
    Bytes bytes;
    Rows24 rows;
};

// A canvas paints its background from the file's rows onto a surface that
// may be wider or narrower than the picture, either way up: only the overlap
// is written, in its place, and what lies beyond keeps its fill.
TEST(Bitmap, RowsAreReadIntoASurfaceOfAnotherSize) {
    for (int bits : {24, 32})
        for (bool top_down : {false, true})
            for (bool bottom_up : {true, false}) {
                const Bytes file = handmade_bmp(5, 3, std::uint16_t(bits), top_down);
                const Result<BmpLayout> layout = read_bmp_layout(file);
                ASSERT_TRUE(layout);
                const Image decoded = *decode_bmp(file);

                Surface24 wide(8, 4, bottom_up); // wider and taller than the picture
                read_bmp_rows(file, *layout, 0, 0, 8, 4, wide.rows);
                for (std::int32_t y = 0; y < 4; ++y)
                    for (std::int32_t x = 0; x < 8; ++x)
                        EXPECT_EQ(wide.rows.at(x, y), x < 5 && y < 3 ? decoded.at(x, y) : wide.filled())
                            << bits << top_down << bottom_up << " at " << x << "," << y;

                Surface24 narrow(3, 2, bottom_up); // a canvas smaller than its picture
                read_bmp_rows(file, *layout, 0, 0, 3, 2, narrow.rows);
                for (std::int32_t y = 0; y < 2; ++y)
                    for (std::int32_t x = 0; x < 3; ++x)
                        EXPECT_EQ(narrow.rows.at(x, y), decoded.at(x, y)) << bits << top_down << bottom_up;
                EXPECT_EQ(narrow.bytes[9], 0xA5) << "the row's padding is left alone";
            }
    // A rectangle of the picture to the same place of the surface, one that
    // runs past the picture's corner, and one that runs past the surface's.
    for (int bits : {24, 32}) {
        const Bytes file = handmade_bmp(5, 3, std::uint16_t(bits), false);
        const Image decoded = *decode_bmp(file);
        Surface24 part(6, 6, true);
        read_bmp_rows(file, *read_bmp_layout(file), 2, 1, 4, 4, part.rows, 2, 1);
        for (std::int32_t y = 0; y < 6; ++y)
            for (std::int32_t x = 0; x < 6; ++x)
                EXPECT_EQ(part.rows.at(x, y),
                          x >= 2 && x < 5 && y >= 1 && y < 3 ? decoded.at(x, y) : part.filled())
                    << bits << " at " << x << "," << y;
        Surface24 small(3, 3, true);
        read_bmp_rows(file, *read_bmp_layout(file), 0, 0, 5, 3, small.rows, 1, 2);
        for (std::int32_t y = 0; y < 3; ++y)
            for (std::int32_t x = 0; x < 3; ++x)
                EXPECT_EQ(small.rows.at(x, y), x >= 1 && y == 2 ? decoded.at(x - 1, 0) : small.filled())
                    << bits << " at " << x << "," << y;
    }
    Surface24 untouched(2, 2, true);
    const Bytes before = untouched.bytes;
    const Bytes file = handmade_bmp(2, 2, 24, false);
    read_bmp_rows(file, *read_bmp_layout(file), 0, 0, -1, 5, untouched.rows);
    read_bmp_rows(file, *read_bmp_layout(file), 2, 0, 1, 1, untouched.rows);
    read_bmp_rows(file, *read_bmp_layout(file), -1, 0, 1, 1, untouched.rows);
    read_bmp_rows(file, *read_bmp_layout(file), 0, 0, 1, 1, untouched.rows, 2, 0);
    read_bmp_rows(file, *read_bmp_layout(file), 0, 0, 1, 1, untouched.rows, 0, -1);
    EXPECT_EQ(untouched.bytes, before);
}

// A surface's rows become a whole bitmap file that decodes to them, padding
// zeroed, from either way up, and cut to the size asked for.
TEST(Bitmap, SurfaceRowsBecomeAFileOfTheSizeAsked) {
    for (bool bottom_up : {true, false}) {
        const Bytes source = handmade_bmp(5, 3, 24, false);
        Surface24 surface(5, 3, bottom_up);
        read_bmp_rows(source, *read_bmp_layout(source), 0, 0, 5, 3, surface.rows);

        Bytes whole(bmp_file_size_24(5, 3), 0xEE);
        write_bmp_rows(whole, surface.rows, 5, 3);
        EXPECT_EQ(*decode_bmp(whole), *decode_bmp(source)) << bottom_up;
        EXPECT_EQ(whole, encode_bmp(*decode_bmp(source))) << "headers and zeroed padding, " << bottom_up;

        Bytes part(bmp_file_size_24(4, 2), 0xEE);
        write_bmp_rows(part, surface.rows, 4, 2);
        EXPECT_EQ(*decode_bmp(part), crop(*decode_bmp(source), 0, 0, 4, 2)) << bottom_up;

        Bytes clipped(bmp_file_size_24(5, 3), 0xEE);
        write_bmp_rows(clipped, surface.rows, 9, 7); // larger than the surface: its own size
        EXPECT_EQ(clipped, whole) << bottom_up;
    }
}

TEST(Bitmap, ShrinksByAveragingTheBlocksItCovers) {
    // Left half red, right half blue, one green row at the bottom.
    Image halves(8, 5, rgb(255, 0, 0));
    for (std::int32_t y = 0; y < 5; ++y)
        for (std::int32_t x = 4; x < 8; ++x)
            halves.at(x, y) = rgb(0, 0, 255);
    for (std::int32_t x = 0; x < 8; ++x)
        halves.at(x, 4) = rgb(0, 255, 0);
    const Bytes file = encode_bmp(halves);

    Result<Image> two = decode_bmp_shrunk(file, 2, 4);
    ASSERT_TRUE(two) << two.error().message;
    ASSERT_EQ(two->width, 2);
    ASSERT_EQ(two->height, 4);
    EXPECT_EQ(two->at(0, 0), rgb(255, 0, 0));
    EXPECT_EQ(two->at(1, 2), rgb(0, 0, 255));
    // The last row's block takes two rows, one of them green; 127.5 rounds up.
    EXPECT_EQ(two->at(0, 3), rgb(128, 128, 0));
    // Three columns over eight: the middle block straddles both halves (2 of
    // its 3 columns red), the whole height a fifth green.
    Result<Image> three = decode_bmp_shrunk(file, 3, 1);
    ASSERT_TRUE(three);
    EXPECT_EQ(three->at(0, 0), rgb(204, 51, 0));
    EXPECT_EQ(three->at(1, 0), rgb(136, 51, 68));
    EXPECT_EQ(three->at(2, 0), rgb(0, 51, 204));

    // Sizes outside 1 .. the picture's own are clamped; the full size is the picture.
    EXPECT_EQ(*decode_bmp_shrunk(file, 0, -3), *decode_bmp_shrunk(file, 1, 1));
    EXPECT_EQ(*decode_bmp_shrunk(file, 100, 100), halves);
    // Every row order and depth shrinks alike.
    const Result<Image> reference = decode_bmp_shrunk(handmade_bmp(9, 7, 24, false), 4, 3);
    ASSERT_TRUE(reference);
    for (auto [bits, top_down] : {std::pair{24, true}, {32, false}, {32, true}})
        EXPECT_EQ(*decode_bmp_shrunk(handmade_bmp(9, 7, std::uint16_t(bits), top_down, 0), 4, 3), *reference);
    EXPECT_FALSE(decode_bmp_shrunk(Bytes{'B', 'M', 0}, 1, 1));
    EXPECT_TRUE(decode_bmp_shrunk(encode_bmp(Image()), 5, 5)->empty());
}

TEST(Bitmap, CropAndBlitClipAtEveryEdge) {
    const Image source = gradient(4, 3);
    const Image part = crop(source, 2, 1, 4, 4, rgb(1, 2, 3));
    EXPECT_EQ(part.at(0, 0), source.at(2, 1));
    EXPECT_EQ(part.at(1, 1), source.at(3, 2));
    EXPECT_EQ(part.at(2, 0), rgb(1, 2, 3)); // beyond the source
    EXPECT_EQ(crop(source, -1, -1, 2, 2).at(1, 1), source.at(0, 0));
    EXPECT_TRUE(crop(source, 0, 0, 0, 5).empty());

    Image target(3, 3, 0);
    blit(target, source, -2, 1);
    EXPECT_EQ(target.at(0, 1), source.at(2, 0));
    EXPECT_EQ(target.at(1, 2), source.at(3, 1));
    EXPECT_EQ(target.at(2, 1), 0u);
}

TEST(Jpeg, EncodesAtTheRequestedQualityAndDecodesBack) {
    const Image image = gradient(64, 48);
    Result<Bytes> low = encode_jpeg(image, 10);
    Result<Bytes> seventy = encode_jpeg(image, 70);
    ASSERT_TRUE(low && seventy);
    EXPECT_EQ((*seventy)[0], 0xFF);
    EXPECT_EQ((*seventy)[1], 0xD8);
    EXPECT_LT(low->size(), seventy->size()); // the quality really reaches the encoder
    Result<PictureSize> size = picture_size(*seventy);
    ASSERT_TRUE(size);
    EXPECT_EQ(size->width, 64);
    EXPECT_EQ(size->height, 48);
    EXPECT_FALSE(encode_jpeg(Image(), 70));
}

TEST(Jpeg, FromABitmapFileItsRowsGiveTheSameJpegAsTheDecodedPicture) {
    for (auto [bits, top_down, palette] :
         {std::tuple{24, false, 216u}, {24, true, 0u}, {32, false, 0u}, {32, true, 0u}}) {
        const Bytes file = handmade_bmp(5, 3, std::uint16_t(bits), top_down, palette);
        EXPECT_EQ(encode_jpeg_file(file, 70).value(), encode_jpeg(decode_bmp(file).value(), 70).value())
            << bits << top_down;
    }
    const Image image = gradient(33, 7); // row padding
    EXPECT_EQ(encode_jpeg_file(encode_bmp(image), 70).value(), encode_jpeg(image, 70).value());
    // What is no picture is refused.
    EXPECT_FALSE(encode_jpeg_file(Bytes{'B', 'M', 1, 2}, 70));
    EXPECT_FALSE(encode_jpeg_file(encode_bmp(Image()), 70));
    EXPECT_FALSE(encode_jpeg_file(Bytes{1, 2, 3}, 70));
}

TEST(Jpeg, SizeReaderStaysInsideTheFile) {
    Result<Bytes> jpeg = encode_jpeg(gradient(300, 2), 70);
    ASSERT_TRUE(jpeg);
    for (std::size_t cut : {std::size_t(2), std::size_t(4), std::size_t(20)}) {
        Bytes truncated(jpeg->begin(), jpeg->begin() + std::ptrdiff_t(cut));
        EXPECT_FALSE(picture_size(truncated)) << cut;
    }
    EXPECT_EQ(picture_size(*jpeg)->width, 300);
}

TEST(Picture, FuzzFoundInputsAreRefusedCleanly) {
    // Once made the packaged JPEG decoder write past a Huffman table.
    Result<Bytes> file = [] {
        std::FILE* f = std::fopen(VORN_TEST_DATA "/picture/regressions/stb-jpeg-huffman-overflow.jpg", "rb");
        Bytes bytes;
        if (f == nullptr)
            return Result<Bytes>(Error{"missing regression file"});
        for (int c; (c = std::fgetc(f)) != EOF;)
            bytes.push_back(std::uint8_t(c));
        std::fclose(f);
        return Result<Bytes>(bytes);
    }();
    ASSERT_TRUE(file) << file.error().message;
    EXPECT_FALSE(decode_picture(*file));
    EXPECT_FALSE(picture_size(*file));
}
