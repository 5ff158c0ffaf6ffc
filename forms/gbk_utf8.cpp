#include "forms/gbk_utf8.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace vorn::forms::detail {
namespace {

void append_escape(std::string& out, unsigned char byte) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "\\x%02x", byte);
    out += buf;
}

bool is_ascii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// Length of the character starting at `text[0]`: one byte for ASCII, else a
// lead and a trail byte. GBK has no longer sequences.
std::size_t char_length(std::string_view text) {
    return static_cast<unsigned char>(text[0]) < 0x80 || text.size() < 2 ? 1 : 2;
}

#ifdef _WIN32
// One character at a time, so that an invalid one is escaped on its own
// instead of failing the whole text.
bool convert_char(std::string_view gbk, std::string& out) {
    wchar_t wide[2];
    int count =
        MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, gbk.data(), static_cast<int>(gbk.size()), wide, 2);
    if (count <= 0)
        return false;
    char utf8[8];
    int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, count, utf8, sizeof utf8, nullptr, nullptr);
    if (bytes <= 0)
        return false;
    out.append(utf8, static_cast<std::size_t>(bytes));
    return true;
}
#endif

} // namespace

std::string gbk_to_utf8(std::string_view gbk) {
    if (is_ascii(gbk))
        return std::string(gbk);
    std::string out;
#ifdef _WIN32
    while (!gbk.empty()) {
        const std::size_t length = char_length(gbk);
        if (length == 1 && static_cast<unsigned char>(gbk[0]) < 0x80)
            out += gbk[0];
        else if (length == 1 || !convert_char(gbk.substr(0, length), out)) {
            append_escape(out, static_cast<unsigned char>(gbk[0]));
            gbk.remove_prefix(1);
            continue;
        }
        gbk.remove_prefix(length);
    }
#else
    iconv_t cd = iconv_open("UTF-8", "GBK");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        for (char c : gbk)
            if (static_cast<unsigned char>(c) < 0x80)
                out += c;
            else
                append_escape(out, static_cast<unsigned char>(c));
        return out;
    }
    while (!gbk.empty()) {
        const std::size_t length = char_length(gbk);
        char in_buf[2] = {gbk[0], length > 1 ? gbk[1] : '\0'};
        char out_buf[8];
        char* in_ptr = in_buf;
        char* out_ptr = out_buf;
        std::size_t in_left = length;
        std::size_t out_left = sizeof out_buf;
        if (iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left) == static_cast<std::size_t>(-1) ||
            in_left != 0) {
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            append_escape(out, static_cast<unsigned char>(gbk[0]));
            gbk.remove_prefix(1);
            continue;
        }
        out.append(out_buf, sizeof out_buf - out_left);
        gbk.remove_prefix(length);
    }
    iconv_close(cd);
#endif
    return out;
}

} // namespace vorn::forms::detail
