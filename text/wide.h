// On Windows wchar_t is a UTF-16 code unit, so the W functions take our
// std::u16string texts unchanged; only the character type differs.
#pragma once

#ifdef _WIN32

#include <string>
#include <string_view>

namespace vorn::text {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wchar_t holds UTF-16");

inline std::wstring to_wide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

inline std::u16string from_wide(std::wstring_view text) {
    return std::u16string(text.begin(), text.end());
}

} // namespace vorn::text

#endif
