// The runtime speaks UTF-16 to Windows; the program's texts are GBK and
// the trace is UTF-8. Every crossing goes through these.
#pragma once

#include <string>
#include <string_view>

namespace vorn::win32 {

std::wstring wide(std::string_view gbk);
std::string gbk(std::wstring_view text);
std::wstring wide_from_utf8(std::string_view utf8);
std::string utf8(std::wstring_view text);
std::string utf8_from_gbk(std::string_view gbk);

} // namespace vorn::win32
