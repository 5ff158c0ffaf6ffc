#include "runtime/win32/text.h"

#include "text/gbk.h"
#include "text/utf.h"
#include "text/wide.h"

namespace vorn::win32 {

std::wstring wide(std::string_view gbk_text) {
    return text::to_wide(text::gbk_to_utf16(gbk_text));
}

std::string gbk(std::wstring_view wide_text) {
    return text::utf16_to_gbk(text::from_wide(wide_text));
}

std::wstring wide_from_utf8(std::string_view utf8_text) {
    return text::to_wide(text::utf8_to_utf16(utf8_text));
}

std::string utf8(std::wstring_view wide_text) {
    return text::utf16_to_utf8(text::from_wide(wide_text));
}

std::string utf8_from_gbk(std::string_view gbk_text) {
    return text::gbk_to_utf8(gbk_text);
}

} // namespace vorn::win32
