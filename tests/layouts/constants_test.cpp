// The program's texts and capture sound: one table in the source, GBK in the
// image's const section, exactly as the code hands them to the runtime.
#include "app/texts.h"
#include "tests/layouts/built_image.h"

#include <gtest/gtest.h>

namespace vorn::testing {
namespace {

using app::Text;

std::string stored_text(std::uint32_t offset) {
    const ByteView data = built_image().section(image::SectionKind::Const).stored;
    std::string out;
    for (std::size_t at = offset; at < data.size() && data[at] != 0; ++at)
        out.push_back(static_cast<char>(data[at]));
    return out;
}

TEST(Texts, AreStoredInTheConstSectionAsGbkThatReadsBackTheSame) {
    const auto texts = app::all_texts();
    ASSERT_EQ(built_image().text_offsets.size(), texts.size());
    for (const app::TextInfo& text : texts) {
        SCOPED_TRACE(std::string(text.name));
        const std::string stored = stored_text(built_image().text_offsets[static_cast<std::size_t>(text.id)]);
        EXPECT_EQ(stored, app::gbk(text.id));
        EXPECT_EQ(utf8(stored), text.utf8) << "no character was lost on the way to GBK";
    }
    // Converted once: every call hands out the same bytes.
    EXPECT_EQ(app::gbk(Text::product_caption).data(), app::gbk(Text::product_caption).data());
}

TEST(Texts, NoShotMessagesDifferOnlyInTheirExclamationMark) {
    const std::string full_width = std::string(app::gbk(Text::no_shot_copy));
    const std::string ascii = std::string(app::gbk(Text::no_shot));
    ASSERT_GE(full_width.size(), 2u);
    EXPECT_EQ(full_width.substr(full_width.size() - 2), "\xA3\xA1"); // ！
    EXPECT_EQ(ascii.back(), '!');
    EXPECT_EQ(full_width.substr(0, full_width.size() - 2), ascii.substr(0, ascii.size() - 1));
}

TEST(Texts, AboutBoxLeadsWithTheProductCentredBetweenTwentySpaces) {
    const std::string about(app::utf8(Text::about_text));
    const std::string padding(20, ' ');
    const std::string line = padding + std::string(app::utf8(Text::product_caption)) + padding;
    ASSERT_EQ(about.rfind(line + "\r\n\r\n", 0), 0u) << about;
    EXPECT_GT(about.size(), line.size() + 4) << "contact lines follow the blank line";
    EXPECT_EQ(app::utf8(Text::about_title), "关于本软件");
}

std::uint32_t u32(ByteView bytes, std::size_t at) {
    return load_u32(bytes.data() + at);
}
std::uint16_t u16(ByteView bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}
std::string tag(ByteView bytes, std::size_t at) {
    return std::string(bytes.begin() + std::ptrdiff_t(at), bytes.begin() + std::ptrdiff_t(at + 4));
}

TEST(CaptureSound, IsABinaryConstantHoldingShortMonoPcmWave) {
    const ByteView data = built_image().section(image::SectionKind::Const).stored;
    const std::uint32_t at = built_image().sound_offset;
    ASSERT_LE(at + 8u, data.size());
    EXPECT_EQ(u32(data, at), 1u) << "binary constants start with 1";
    ASSERT_EQ(u32(data, at + 4), 3419u);
    ASSERT_LE(at + 8u + 3419u, data.size());
    const ByteView wave = data.subspan(at + 8, 3419);
    EXPECT_EQ(tag(wave, 0), "RIFF");
    EXPECT_EQ(u32(wave, 4), 3419u - 8);
    EXPECT_EQ(tag(wave, 8), "WAVE");
    EXPECT_EQ(tag(wave, 12), "fmt ");
    EXPECT_EQ(u16(wave, 20), 1) << "PCM";
    EXPECT_EQ(u16(wave, 22), 1) << "mono";
    EXPECT_EQ(u32(wave, 24), 22050u);
    EXPECT_EQ(u16(wave, 34), 8) << "bits per sample";
    const std::size_t data_chunk = 20 + u32(wave, 16);
    EXPECT_EQ(tag(wave, data_chunk), "data");
    EXPECT_EQ(u32(wave, data_chunk + 4), 3375u);
    EXPECT_EQ(data_chunk + 8 + 3375, wave.size());
}

} // namespace
} // namespace vorn::testing
