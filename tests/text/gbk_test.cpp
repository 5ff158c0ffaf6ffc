#include "text/gbk.h"
#include "text/utf.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace vorn::text;

namespace {

std::string bytes(std::initializer_list<std::uint8_t> list) {
    return std::string(list.begin(), list.end());
}

constexpr char16_t fffd = replacement_character;

TEST(Gbk, ProductTextsHaveTheirCodePageBytesAndComeBack) {
    struct Case {
        const char* utf8;
        std::string gbk;
    };
    const std::vector<Case> cases = {
        {"设置.ini", bytes({0xC9, 0xE8, 0xD6, 0xC3, '.', 'i', 'n', 'i'})},
        {"截图时隐藏", bytes({0xBD, 0xD8, 0xCD, 0xBC, 0xCA, 0xB1, 0xD2, 0xFE, 0xB2, 0xD8})},
        {"真", bytes({0xD5, 0xE6})},
        {"假", bytes({0xBC, 0xD9})},
        {"Vorn截图工具V6.0", "Vorn" + bytes({0xBD, 0xD8, 0xCD, 0xBC, 0xB9, 0xA4, 0xBE, 0xDF}) + "V6.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(utf8_to_gbk(c.utf8), c.gbk);
        EXPECT_EQ(gbk_to_utf8(c.gbk), c.utf8);
        EXPECT_EQ(gbk_to_utf16(c.gbk), utf8_to_utf16(c.utf8));
    }
}

TEST(Gbk, FullWidthFormsAndTheEuroSign) {
    const std::string full_width = "ＡＢＣ１２３，。！？（）　";
    const std::string gbk = utf8_to_gbk(full_width);
    EXPECT_EQ(gbk.size(), 2 * 13u);
    EXPECT_EQ(gbk.substr(0, 2), bytes({0xA3, 0xC1}));
    EXPECT_EQ(gbk.substr(gbk.size() - 2), bytes({0xA1, 0xA1})); // ideographic space
    EXPECT_EQ(gbk_to_utf8(gbk), full_width);

    // The single byte 0x80 is code page 936's euro sign, both ways.
    EXPECT_EQ(gbk_to_utf16(bytes({0x80})), u"\u20AC");
    EXPECT_EQ(utf16_to_gbk(u"\u20AC"), bytes({0x80}));
}

TEST(Gbk, EveryMappedPairRoundTrips) {
    std::string all_pairs;
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail)
            if (trail != 0x7F)
                all_pairs += bytes({std::uint8_t(lead), std::uint8_t(trail)});
    const std::u16string decoded = gbk_to_utf16(all_pairs);
    // Each well-formed pair is one character, mapped or not: nothing shifts.
    ASSERT_EQ(decoded.size(), all_pairs.size() / 2);

    std::string mapped_pairs;
    std::u16string mapped_text;
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        if (decoded[i] == fffd)
            continue;
        mapped_pairs += all_pairs.substr(2 * i, 2);
        mapped_text += decoded[i];
    }
    EXPECT_GT(mapped_text.size(), 21000u); // GBK holds 21,886 characters
    EXPECT_EQ(utf16_to_gbk(mapped_text), mapped_pairs);
}

TEST(Gbk, MalformedBytesBecomeReplacementCharacters) {
    struct Case {
        const char* what;
        std::string gbk;
        std::u16string expected;
    };
    const std::vector<Case> cases = {
        {"0xFF starts nothing", bytes({'a', 0xFF, 'b'}), u"a\uFFFDb"},
        {"lead byte before a digit keeps the digit", bytes({0xD5, '1', 0xD5, 0xE6}), u"\uFFFD1真"},
        // Letters from 0x40 on are trail bytes: a stray lead byte takes one with it.
        {"lead byte before a letter", bytes({0xD5, 'A'}), u"\u8A82"},
        {"lead byte before DEL", bytes({0xD5, 0x7F}), u"\uFFFD\x7F"},
        {"lead byte before a control character", bytes({0xD5, '\n'}), u"\uFFFD\n"},
        {"truncated final lead byte", bytes({0xD5, 0xE6, 0xBC}), u"真\uFFFD"},
        {"lone lead byte", bytes({0x81}), u"\uFFFD"},
        // glibc leaves the user-defined area unmapped: the pair is one character.
        {"well-formed but unmapped pair", bytes({0xAA, 0xA1, 'x'}), u"\uFFFDx"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(gbk_to_utf16(c.gbk), c.expected);
    }
    EXPECT_EQ(gbk_to_utf8(bytes({0xFF})), "\xEF\xBF\xBD");
}

TEST(Gbk, UnencodableTextBecomesQuestionMarks) {
    EXPECT_EQ(utf8_to_gbk("한글"), "??");                       // Hangul is not in GBK
    EXPECT_EQ(utf8_to_gbk("a😀b"), "a?b");                       // one '?' per code point, not per unit
    EXPECT_EQ(utf16_to_gbk(u"\xD800x\xDC00"), "?x?");           // lone surrogates
    EXPECT_EQ(utf16_to_gbk(std::u16string(1, u'\xD83D')), "?"); // high surrogate at the end
    EXPECT_EQ(utf8_to_gbk("\xE7\x9C"), "?");                    // truncated UTF-8
    EXPECT_EQ(utf8_to_gbk("真\xFF假"), bytes({0xD5, 0xE6, '?', 0xBC, 0xD9}));
}

TEST(Gbk, EmptyTextsAndEmbeddedNuls) {
    EXPECT_TRUE(gbk_to_utf16("").empty() && utf16_to_gbk(u"").empty());
    EXPECT_TRUE(gbk_to_utf8("").empty() && utf8_to_gbk("").empty());

    const std::string gbk_with_nul = bytes({0xD5, 0xE6, 0x00, 0xBC, 0xD9, 0x00});
    const std::u16string utf16_with_nul(u"真\0假\0", 4);
    EXPECT_EQ(gbk_to_utf16(gbk_with_nul), utf16_with_nul);
    EXPECT_EQ(utf16_to_gbk(utf16_with_nul), gbk_with_nul);
    // A NUL right after a lead byte is not a trail byte: it survives too.
    EXPECT_EQ(gbk_to_utf16(bytes({0xD5, 0x00})), std::u16string(u"\uFFFD\0", 2));
}

TEST(Utf, MalformedUtf8IsReplacedByMaximalSubparts) {
    const std::vector<std::pair<std::string, std::u16string>> cases = {
        {"\xC0\xAF", u"\uFFFD\uFFFD"},                     // overlong '/'
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},           // encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}, // past U+10FFFF
        {"\xE4\xB8"
         "1",
         u"\uFFFD1"},          // truncated
        {"\x80x", u"\uFFFDx"}, // stray continuation
        {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
    };
    for (const auto& [utf8, expected] : cases)
        EXPECT_EQ(utf8_to_utf16(utf8), expected) << utf8;
    EXPECT_EQ(utf16_to_utf8(u"é真\U0001F600\xDC00"), "é真\xF0\x9F\x98\x80\xEF\xBF\xBD");
}

} // namespace

TEST(Gbk, ReplaceMatchesOnlyAtCharacterBoundaries) {
    EXPECT_EQ(gbk_replace_all("myexe.exe", "exe", "EXE"), "myEXE.EXE");
    EXPECT_EQ(gbk_replace_all("exeexe", "exe", "EXE"), "EXEEXE");
    EXPECT_EQ(gbk_replace_all("VornShot.EXE", "exe", "EXE"), "VornShot.EXE");
    EXPECT_EQ(gbk_replace_all("abc", "", "x"), "abc");
    // "\x81" "e" is one character whose trail byte is 'e': no match starts there.
    EXPECT_EQ(gbk_replace_all("\x81"
                              "exe",
                              "exe", "EXE"),
              "\x81"
              "exe");
    EXPECT_EQ(gbk_replace_all("\x81"
                              "exexe",
                              "exe", "EXE"),
              "\x81"
              "exEXE");
    EXPECT_EQ(gbk_replace_all(utf8_to_gbk("截图exe.exe"), "exe", "EXE"), utf8_to_gbk("截图EXE.EXE"));
}
