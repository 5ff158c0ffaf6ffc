// UTF-8 <-> UTF-16, the same on every platform so that logs and tests do not
// depend on the host's locale. Malformed input never fails: each maximal
// malformed UTF-8 subsequence and each lone surrogate becomes U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace vorn::text {

inline constexpr char16_t replacement_character = u'\uFFFD';

std::u16string utf8_to_utf16(std::string_view text);
std::string utf16_to_utf8(std::u16string_view text);

} // namespace vorn::text
