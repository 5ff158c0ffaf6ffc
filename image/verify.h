// Consistency checks beyond what reading needs: an image can be well-formed
// and still not be one our runtime should be handed.
#pragma once

#include "image/image.h"

#include <string>
#include <vector>

namespace vorn::image {

// Each problem found, as a full sentence naming what and where; empty when the
// image is consistent.
std::vector<std::string> consistency_problems(const Image& image);

} // namespace vorn::image
