// Writes a program image from its parts, and turns a read image back into parts.
#pragma once

#include "base/bytes.h"
#include "base/result.h"
#include "image/image.h"

namespace vorn::image {

// Lays out header, DLL command table, support-library table and the six
// sections (const, form, help, code, var, @reloc1), each section's stored bytes
// directly after its header. Inconsistent parts give an Error and no bytes.
Result<Bytes> write_image(const ImageParts& parts);

// The parts that write_image() turns back into the same layout. Sections other
// than the six known ones, service values the writer computes (field 84, the
// section fields 32 and 52, flags) and padding after the groups are not kept,
// so write_image(parts_of(read_image(x))) == x holds for images in the
// writer's own layout.
ImageParts parts_of(const Image& image);

// Bytes of the @reloc1 groups, counts and positions, before any padding.
Bytes encode_groups(const RemapGroups& groups);

} // namespace vorn::image
