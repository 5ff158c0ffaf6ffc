// GBK (Windows code page 936) is the encoding of the program's own texts and
// of the settings file. Everything else in the runtime speaks UTF-16 (the W
// functions) or UTF-8 (logs, tests), so every crossing goes through here.
//
// The conversions never fail and never read past their input:
//  - GBK to UTF-16 or UTF-8: a byte that cannot start a character (0xFF), a
//    lead byte not followed by a trail byte (also at the very end of the
//    text), and a well-formed pair that the code page does not map each
//    become one U+FFFD. A lead byte followed by a non-trail byte costs only
//    the lead byte, so a digit, space or line break after it survives
//    (letters from 0x40 on are trail bytes and pair up with it).
//  - UTF-16 or UTF-8 to GBK: a character the code page cannot hold, a lone
//    surrogate and a malformed UTF-8 sequence each become one '?'.
//  - NUL is an ordinary character: embedded NULs are kept in both directions.
//    Callers that hand a text to a zero-terminated interface cut it there
//    themselves.
//  - Byte 0x80 is the euro sign, as in Windows' code page 936.
//
// Natively the tables come from iconv ("CP936"); glibc has no mapping for the
// user-defined areas (0xAAA1-0xAFFE, 0xF8A1-0xFEFE, 0xA140-0xA7A0), which
// Windows maps to the private use area, so there those pairs read as U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace vorn::text {

std::u16string gbk_to_utf16(std::string_view gbk);
std::string utf16_to_gbk(std::u16string_view text);

std::string gbk_to_utf8(std::string_view gbk);
std::string utf8_to_gbk(std::string_view text);

// Every occurrence of `from` replaced by `to`, from the first character on,
// matching only at character boundaries: the trail byte of a double-byte
// character never starts a match. Case-sensitive; an empty `from` changes
// nothing.
std::string gbk_replace_all(std::string_view text, std::string_view from, std::string_view to);

} // namespace vorn::text
