#include "text/gbk.h"

#include "text/cp936.h"
#include "text/utf.h"

#include <cstdint>

namespace vorn::text {

namespace {

bool is_lead_byte(std::uint8_t byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

// 0x7F is excluded: it is DEL, never the second half of a character.
bool is_trail_byte(std::uint8_t byte) {
    return byte >= 0x40 && byte <= 0xFE && byte != 0x7F;
}

bool is_high_surrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool is_low_surrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

} // namespace

std::u16string gbk_to_utf16(std::string_view gbk) {
    std::u16string out;
    out.reserve(gbk.size());
    detail::Cp936 code_page;
    std::size_t at = 0;
    while (at < gbk.size()) {
        const auto byte = static_cast<std::uint8_t>(gbk[at]);
        if (byte < 0x80) {
            out.push_back(byte);
            ++at;
            continue;
        }
        std::size_t length = 1;
        if (is_lead_byte(byte)) {
            if (at + 1 >= gbk.size() || !is_trail_byte(static_cast<std::uint8_t>(gbk[at + 1]))) {
                out.push_back(replacement_character);
                ++at;
                continue;
            }
            length = 2;
        }
        if (!code_page.decode(gbk.substr(at, length), out))
            out.push_back(replacement_character);
        at += length;
    }
    return out;
}

std::string utf16_to_gbk(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    detail::Cp936 code_page;
    std::size_t at = 0;
    while (at < text.size()) {
        const char16_t unit = text[at];
        if (unit < 0x80) {
            out.push_back(static_cast<char>(unit));
            ++at;
            continue;
        }
        std::size_t length = 1;
        if (is_high_surrogate(unit) && at + 1 < text.size() && is_low_surrogate(text[at + 1]))
            length = 2;
        else if (is_high_surrogate(unit) || is_low_surrogate(unit)) {
            out.push_back('?');
            ++at;
            continue;
        }
        if (!code_page.encode(text.substr(at, length), out))
            out.push_back('?');
        at += length;
    }
    return out;
}

std::string gbk_replace_all(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty())
        return std::string(text);
    std::string out;
    std::size_t at = 0;
    while (at < text.size()) {
        if (text.compare(at, from.size(), from) == 0) {
            out += to;
            at += from.size();
            continue;
        }
        const bool pair = is_lead_byte(std::uint8_t(text[at])) && at + 1 < text.size() &&
                          is_trail_byte(std::uint8_t(text[at + 1]));
        const std::size_t step = pair ? 2 : 1;
        out.append(text.substr(at, step));
        at += step;
    }
    return out;
}

std::string gbk_to_utf8(std::string_view gbk) {
    return utf16_to_utf8(gbk_to_utf16(gbk));
}

std::string utf8_to_gbk(std::string_view text) {
    return utf16_to_gbk(utf8_to_utf16(text));
}

} // namespace vorn::text
