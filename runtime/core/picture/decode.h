// Reading picture data of any format the program meets (bitmap files from
// snapshots, PNG and JPEG files, icons of the buttons) and writing JPEG.
#pragma once

#include "base/bytes.h"
#include "base/result.h"
#include "runtime/core/picture/bitmap.h"

namespace vorn::picture {

Result<Image> decode_picture(ByteView file);

struct PictureSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};
// Reads only as much as the size needs.
Result<PictureSize> picture_size(ByteView file);

// JPEG at `quality` (1..100).
Result<Bytes> encode_jpeg(const Image& image, int quality);
// The same from a picture file. A bitmap file's rows go to the encoder
// without a decoded copy of the whole picture, since a shot is tens of
// megabytes and every such buffer costs; other files are decoded first.
Result<Bytes> encode_jpeg_file(ByteView file, int quality);

} // namespace vorn::picture
