// Reads and validates a stored program image.
#pragma once

#include "base/bytes.h"
#include "base/result.h"
#include "image/image.h"

namespace vorn::image {

// `bytes` starts with the image and may continue past it (the image sits in an
// executable's data section); Image::extent tells how much of it the image
// occupies. Any malformed input gives an Error naming what and where.
Result<Image> read_image(ByteView bytes);

// Printable form of a name or text taken from outside bytes, for messages.
std::string printable(std::string_view text);

} // namespace vorn::image
