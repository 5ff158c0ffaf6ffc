// Turns the program's content into image parts, and renders images for people.
#pragma once

#include "base/result.h"
#include "image/image.h"

#include <string>

namespace vorn::imagetool {

// The program's image as far as it exists: the DLL command and support-library
// tables, the constants they reference, an empty window directory, the help
// area, the placeholder code, the variables and four empty remapping groups.
Result<image::ImageParts> product_image_parts();

// A small image that uses every feature of the format (fix-ups of each kind in
// unsorted order, all four groups, group 4 running past the declared size, code
// memory beyond its stored bytes); the fuzz seeds start from it.
Result<image::ImageParts> sample_image_parts();

// The readable listing that `imagetool dump` prints.
std::string dump_image(const image::Image& image);

} // namespace vorn::imagetool
