#include "forms/font.h"

#include <algorithm>
#include <cstring>

namespace vorn::forms {

static_assert(5 * 4 + 8 + kFaceNameSize == kLogFontSize, "LOGFONTA is five LONGs, eight BYTEs and the face");

std::string Font::face_name() const {
    const auto end = std::find(face.begin(), face.end(), std::uint8_t(0));
    return std::string(face.begin(), end);
}

void Font::set_face_name(std::string_view name) {
    face.fill(0);
    const std::size_t length = std::min(name.size(), kFaceNameSize - 1);
    std::memcpy(face.data(), name.data(), length);
}

Result<Font> decode_font(ByteView record, std::string_view context, std::uint64_t base_offset) {
    ByteCursor in(record, std::string(context), base_offset);
    if (record.size() != kLogFontSize)
        return in.error_at(0, "font record of " + std::to_string(record.size()) + " bytes, expected " +
                                  std::to_string(kLogFontSize));
    Font font;
    VORN_TRY_ASSIGN(font.height, in.i32("font height"));
    VORN_TRY_ASSIGN(font.width, in.i32("font width"));
    VORN_TRY_ASSIGN(font.escapement, in.i32("font escapement"));
    VORN_TRY_ASSIGN(font.orientation, in.i32("font orientation"));
    VORN_TRY_ASSIGN(font.weight, in.i32("font weight"));
    for (std::uint8_t* byte :
         {&font.italic, &font.underline, &font.strike_out, &font.charset, &font.out_precision,
          &font.clip_precision, &font.quality, &font.pitch_and_family}) {
        VORN_TRY_ASSIGN(*byte, in.u8("font attribute"));
    }
    VORN_TRY_ASSIGN(ByteView face, in.take(kFaceNameSize, "font face name"));
    std::copy(face.begin(), face.end(), font.face.begin());
    return font;
}

Bytes encode_font(const Font& font) {
    ByteWriter out;
    for (std::int32_t value : {font.height, font.width, font.escapement, font.orientation, font.weight})
        out.i32(value);
    for (std::uint8_t value : {font.italic, font.underline, font.strike_out, font.charset, font.out_precision,
                               font.clip_precision, font.quality, font.pitch_and_family})
        out.u8(value);
    out.bytes(font.face);
    return out.take();
}

} // namespace vorn::forms
