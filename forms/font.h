// A label's font as stored in its class block: a byte block that is either
// empty (the default font) or a 60-byte Windows LOGFONTA record.
#pragma once

#include "base/bytes.h"
#include "base/result.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vorn::forms {

inline constexpr std::size_t kLogFontSize = 60;
inline constexpr std::size_t kFaceNameSize = 32;
inline constexpr std::uint8_t kChineseCharset = 134; // GB2312_CHARSET
inline constexpr std::int32_t kNormalWeight = 400;

// Every byte of the record has a field here, so encoding a decoded font gives
// the stored bytes back, including whatever follows the face name's zero.
struct Font {
    std::int32_t height = 0; // negative: character height in pixels
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = kNormalWeight;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strike_out = 0;
    std::uint8_t charset = kChineseCharset;
    std::uint8_t out_precision = 0;
    std::uint8_t clip_precision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitch_and_family = 0;
    std::array<std::uint8_t, kFaceNameSize>
        face{}; // GBK, zero-terminated; empty = the charset's default face

    // The face name up to its first zero byte.
    std::string face_name() const;
    // Replaces the face bytes; a name longer than 31 bytes is cut to fit the terminator.
    void set_face_name(std::string_view name);

    bool operator==(const Font&) const = default;
};

Result<Font> decode_font(ByteView record, std::string_view context, std::uint64_t base_offset);
Bytes encode_font(const Font& font);

} // namespace vorn::forms
