// GBK to UTF-8 for the dump only; the definitions themselves keep GBK bytes.
// Private to forms/: the runtime has its own text conversion.
#pragma once

#include <string>
#include <string_view>

namespace vorn::forms::detail {

// Bytes that are not valid GBK come out as \xNN escapes, so nothing is lost
// from a dump of damaged data.
std::string gbk_to_utf8(std::string_view gbk);

} // namespace vorn::forms::detail
