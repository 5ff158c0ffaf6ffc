#include "text/utf.h"

#include <cstdint>

namespace vorn::text {

namespace {

void append_utf16(std::u16string& out, std::uint32_t code_point) {
    if (code_point < 0x10000) {
        out.push_back(static_cast<char16_t>(code_point));
        return;
    }
    code_point -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (code_point >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (code_point & 0x3FF)));
}

void append_utf8(std::string& out, std::uint32_t code_point) {
    if (code_point < 0x80) {
        out.push_back(static_cast<char>(code_point));
    } else if (code_point < 0x800) {
        out.push_back(static_cast<char>(0xC0 | code_point >> 6));
        out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
    } else if (code_point < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | code_point >> 12));
        out.push_back(static_cast<char>(0x80 | (code_point >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | code_point >> 18));
        out.push_back(static_cast<char>(0x80 | (code_point >> 12 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code_point >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
    }
}

} // namespace

std::u16string utf8_to_utf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const auto lead = static_cast<std::uint8_t>(text[at]);
        if (lead < 0x80) {
            out.push_back(lead);
            ++at;
            continue;
        }
        // The allowed range of the second byte excludes overlong forms,
        // surrogates and code points past U+10FFFF; later bytes are 80..BF.
        std::size_t length = 0;
        std::uint32_t code_point = 0;
        std::uint8_t low = 0x80, high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code_point = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code_point = lead & 0x0F;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code_point = lead & 0x07;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            out.push_back(replacement_character);
            ++at;
            continue;
        }
        std::size_t taken = 1;
        for (; taken < length && at + taken < text.size(); ++taken) {
            const auto byte = static_cast<std::uint8_t>(text[at + taken]);
            if (byte < low || byte > high)
                break;
            code_point = code_point << 6 | (byte & 0x3F);
            low = 0x80;
            high = 0xBF;
        }
        // A malformed sequence is replaced as a whole, up to the first byte
        // that does not fit; that byte starts the next character.
        if (taken < length)
            out.push_back(replacement_character);
        else
            append_utf16(out, code_point);
        at += taken;
    }
    return out;
}

std::string utf16_to_utf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const char16_t unit = text[at++];
        if (unit >= 0xD800 && unit <= 0xDBFF && at < text.size() && text[at] >= 0xDC00 &&
            text[at] <= 0xDFFF) {
            append_utf8(out, 0x10000 + ((std::uint32_t(unit) - 0xD800) << 10) + (text[at++] - 0xDC00));
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            append_utf8(out, replacement_character);
        } else {
            append_utf8(out, unit);
        }
    }
    return out;
}

} // namespace vorn::text
