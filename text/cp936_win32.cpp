#include "text/cp936.h"

#include "text/wide.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace vorn::text::detail {

namespace {

constexpr UINT code_page = 936;

} // namespace

struct Cp936::Handles {};

Cp936::Cp936() = default;

Cp936::~Cp936() = default;

bool Cp936::decode(std::string_view character, std::u16string& out) {
    wchar_t units[4];
    // MB_ERR_INVALID_CHARS makes an unmapped pair fail instead of becoming
    // the code page's default character, so the caller's U+FFFD is used.
    const int count = MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, character.data(),
                                          static_cast<int>(character.size()), units, 4);
    if (count <= 0)
        return false;
    out += from_wide(std::wstring_view(units, static_cast<std::size_t>(count)));
    return true;
}

bool Cp936::encode(std::u16string_view character, std::string& out) {
    const std::wstring units = to_wide(character);
    char bytes[8];
    BOOL used_default = FALSE;
    // Without WC_NO_BEST_FIT_CHARS Windows would write a look-alike (an
    // accented letter as its plain letter), which iconv never does.
    const int size =
        WideCharToMultiByte(code_page, WC_NO_BEST_FIT_CHARS, units.data(), static_cast<int>(units.size()),
                            bytes, sizeof bytes, nullptr, &used_default);
    if (size <= 0 || used_default)
        return false;
    out.append(bytes, static_cast<std::size_t>(size));
    return true;
}

} // namespace vorn::text::detail
