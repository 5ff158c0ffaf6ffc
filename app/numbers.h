// Text to integer as the program's boxes need it: the number the text starts
// with, 0 when it starts with none ("abc", empty). Leading blanks and a sign
// are allowed; a number beyond the 32-bit range is held at its end.
#pragma once

#include <cstdint>
#include <string_view>

namespace vorn::app {

std::int32_t to_integer(std::string_view text);

} // namespace vorn::app
