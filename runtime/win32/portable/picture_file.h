// Pictures as the controls show them: icon files keep their transparency (the
// picture buttons draw them over their own face colour); every other format
// goes through the runtime's decoder and is opaque.
#pragma once

#include "base/bytes.h"
#include "base/result.h"
#include "runtime/core/picture/bitmap.h"

#include <cstdint>
#include <vector>

namespace vorn::win32 {

struct Picture {
    picture::Image image;
    // One coverage value per pixel (255 opaque, 0 transparent); empty when the
    // whole picture is opaque.
    std::vector<std::uint8_t> alpha;

    bool empty() const { return image.empty(); }
};

// Windows icon files (.ico): the largest image of the directory, with its
// alpha channel or its AND mask as the coverage. Images stored as PNG inside
// the icon are decoded as opaque pictures.
bool looks_like_icon(ByteView file);
Result<Picture> decode_icon(ByteView file);

// Icons through decode_icon, everything else through picture::decode_picture.
Result<Picture> decode_any_picture(ByteView file);

// The picture composed over a plain background colour (0x00RRGGBB). The
// second form reuses the source's pixels.
picture::Image flatten(const Picture& source, picture::Pixel background);
picture::Image flatten(Picture&& source, picture::Pixel background);

} // namespace vorn::win32
