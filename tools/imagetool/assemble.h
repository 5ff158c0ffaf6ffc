// Turns the program's content into image parts, and renders images for people.
#pragma once

#include "base/result.h"
#include "image/image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vorn::imagetool {

// The program's image and where its constants went.
struct ProductImage {
    image::ImageParts parts;
    // Offset in the const data of each of the program's texts, indexed by app::Text.
    std::vector<std::uint32_t> text_offsets;
    std::uint32_t sound_offset = 0; // the capture sound's binary constant
};

// The whole program image: the DLL command and support-library tables, the
// texts and the capture sound as constants, the six windows, the help area,
// the code section's entry directory and service stubs with their fix-ups,
// the variables and the remapping groups of the code's operands.
Result<ProductImage> product_image();
Result<image::ImageParts> product_image_parts();

// A small image that uses every feature of the format (fix-ups of each kind in
// unsorted order, all four groups, group 4 running past the declared size, code
// memory beyond its stored bytes); the fuzz seeds start from it.
Result<image::ImageParts> sample_image_parts();

// The program's pictures drawn again at each of the contract's scales,
// named as the runtime looks them up among the executable's resources.
struct ScaledPicture {
    std::string name;
    Bytes bytes;
};
Result<std::vector<ScaledPicture>> scaled_pictures();

// The readable listing that `imagetool dump` prints.
std::string dump_image(const image::Image& image);

// Checks of an image beyond the format's: the window definitions read, and
// every handler they bind lies inside the code section. Each problem is a
// full sentence; empty when there is none.
std::vector<std::string> program_problems(const image::Image& image);

} // namespace vorn::imagetool
