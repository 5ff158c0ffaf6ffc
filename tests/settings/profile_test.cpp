#include "runtime/core/settings/profile.h"
#include "text/gbk.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace vorn::settings;
using vorn::text::utf8_to_gbk;

namespace {

// Tests are written in UTF-8; the file holds GBK.
std::string gbk(std::string_view utf8) {
    return utf8_to_gbk(utf8);
}

std::optional<std::string> read(std::string_view text, std::string_view section, std::string_view key) {
    const auto value = find_value(text, gbk(section), gbk(key));
    return value ? std::optional<std::string>(*value) : std::nullopt;
}

std::string write(std::string_view text, std::string_view section, std::string_view key,
                  std::string_view value) {
    auto out = with_value_set(text, gbk(section), gbk(key), gbk(value));
    EXPECT_TRUE(out.ok()) << (out.ok() ? "" : out.error().message);
    return out.ok() ? out.value() : std::string();
}

TEST(Profile, OddSpellingsAndSpacingReadSanely) {
    struct Case {
        const char* text;
        const char* section;
        const char* key;
        std::optional<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"[截图时隐藏]\r\n是否隐藏本窗口=真\r\n", "截图时隐藏", "是否隐藏本窗口", "真"},
        {"[截图时声音]\n是否播放=假", "截图时声音", "是否播放", "假"},
        {" \t[ 编辑截图 ]\t\r\n  字体 \t=  宋体 \t\r\n", "编辑截图", "字体", "宋体"},
        {"[编辑截图] ; 注释\n\n\n箭头线条粗细=3\r", "编辑截图", "箭头线条粗细", "3"},
        {"[s]\nk=\n", "s", "k", ""},
        {"[s]\nk=a=b ; \"c\"\n", "s", "k", "a=b ; \"c\""},
        {"[s]\n;k=1\n junk\n[broken\nk=2\n", "s", "k", "2"},
        {"[s]\n; k=1\n", "s", "k", std::nullopt},
        {"k=1\n[s]\nother=2\n", "s", "k", std::nullopt},
        {"[S]\nk=1\n", "s", "k", std::nullopt},
        {"[s]\nK=1\n", "s", "k", std::nullopt},
        {"[s]\n[t]\nk=1\n", "s", "k", std::nullopt},
        {"[s]\nk=1\nk=2\n", "s", "k", "1"},
        {"[s]\na=1\n[t]\n[s]\nk=2\n", "s", "k", std::nullopt},
        {"", "s", "k", std::nullopt},
        // Lone carriage returns end lines, as old Mac editors wrote them.
        {"[s]\rk=1\r", "s", "k", "1"},
        {"[t]\rk=0\r[s]\r\rk=2", "s", "k", "2"},
        {"[s]\r\n\rk=3\n", "s", "k", "3"},
        {"[s] k=4", "s", "k", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(read(gbk(c.text), c.section, c.key),
                  c.expected ? std::optional(gbk(*c.expected)) : std::nullopt);
    }
}

TEST(Profile, WriteChangesOnlyWhatItMust) {
    struct Case {
        const char* before;
        const char* section;
        const char* key;
        const char* after;
    };
    const std::vector<Case> cases = {
        {"[编辑截图]\r\n字体 = 宋体 \r\n字体大小=12\r\n", "编辑截图", "字体",
         "[编辑截图]\r\n字体 = v \r\n字体大小=12\r\n"},
        {"[s]\nk=\n", "s", "k", "[s]\nk=v\n"},
        {"[s]\r\na=1\r\n\r\n[t]\r\n", "s", "k", "[s]\r\na=1\r\nk=v\r\n\r\n[t]\r\n"},
        {"[s]\na=1\n; about t\n[t]\n", "s", "k", "[s]\na=1\nk=v\n; about t\n[t]\n"},
        {"[s]\n[t]\n", "s", "k", "[s]\nk=v\n[t]\n"},
        {"[s]\na=1", "s", "k", "[s]\na=1\nk=v\n"},
        {"[s]\r\na=1\r", "s", "k", "[s]\r\na=1\r\nk=v\r\n"},
        {"[t]\r\nb=2", "s", "k", "[t]\r\nb=2\r\n[s]\r\nk=v\r\n"},
        {"a\r\nb\nc\n", "s", "k", "a\r\nb\nc\n[s]\nk=v\n"},
        {"", "s", "k", "[s]\r\nk=v\r\n"},
        {"[s]\nk=1\nk=2\n", "s", "k", "[s]\nk=v\nk=2\n"},
        {"[s]\na=1\n\n[s]\nb=2\n", "s", "k", "[s]\na=1\nk=v\n\n[s]\nb=2\n"},
        {"k=1\n[s]\n", "s", "k", "k=1\n[s]\nk=v\n"},
        {"[s]\ra=1\r[t]\r", "s", "k", "[s]\ra=1\rk=v\r[t]\r"},
        {"[t]\rb=2", "s", "k", "[t]\rb=2\r[s]\rk=v\r"},
        {"[s]\ra=1\r", "s", "a", "[s]\ra=v\r"},
        // A blank "\n" line after the new one stays a line of its own.
        {"[s]\ra=1\n\n[t]\r\r", "s", "k", "[s]\ra=1\nk=v\r\n\n[t]\r\r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        EXPECT_EQ(write(gbk(c.before), c.section, c.key, "v"), gbk(c.after));
    }
}

// A file as a user might leave it: every rewrite of an existing value with
// itself must give back the same bytes, and a new value must not disturb the
// others.
TEST(Profile, ReadThenWriteGivesTheSameText) {
    const std::string text = gbk("; 设置\r\n"
                                 "orphan=1\r\n"
                                 "[截图时隐藏]\r\n"
                                 "是否隐藏本窗口 = 真\r\n"
                                 "\r\n"
                                 "[编辑截图]\n"
                                 "箭头线条粗细=3\n"
                                 "箭头颜色\t=\t255\n"
                                 "junk\n"
                                 "字体=宋体\n"
                                 "[别的]\r\n"
                                 "未知=保留");
    const std::vector<std::pair<const char*, const char*>> keys = {{"截图时隐藏", "是否隐藏本窗口"},
                                                                   {"编辑截图", "箭头线条粗细"},
                                                                   {"编辑截图", "箭头颜色"},
                                                                   {"编辑截图", "字体"},
                                                                   {"别的", "未知"}};
    for (const auto& [section, key] : keys) {
        SCOPED_TRACE(key);
        const auto value = read(text, section, key);
        ASSERT_TRUE(value);
        EXPECT_EQ(with_value_set(text, gbk(section), gbk(key), *value).value(), text);

        const std::string changed = write(text, section, key, "新");
        EXPECT_EQ(read(changed, section, key), gbk("新"));
        for (const auto& [other_section, other_key] : keys) {
            if (other_key != key) {
                EXPECT_EQ(read(changed, other_section, other_key), read(text, other_section, other_key));
            }
        }
    }
}

TEST(Profile, RefusesNamesAndValuesThatWouldNotReadBack) {
    const std::vector<std::vector<std::string>> refused = {
        {"a]b", "k", "v"}, {"a\nb", "k", "v"}, {" s", "k", "v"},  {"s", "a=b", "v"},      {"s", ";k", "v"},
        {"s", "[k", "v"},  {"s", "k\t", "v"},  {"s", "k\r", "v"}, {"s", "k", "1\r\n[t]"},
    };
    for (const auto& names : refused) {
        SCOPED_TRACE(names[0] + "|" + names[1] + "|" + names[2]);
        EXPECT_FALSE(with_value_set("[s]\n", names[0], names[1], names[2]).ok());
    }
    // Spaces around a value could not be read back, so they are not stored.
    EXPECT_EQ(with_value_set("[s]\nk = 1\n", "s", "k", " 12\t").value(), "[s]\nk = 12\n");
}

// The fuzz target checks that lines tile any text; here, that NULs and
// stray high bytes are plain value bytes.
TEST(Profile, BinaryBytesAreJustText) {
    const std::string text("[s]\n\0\xFF\x01=\x80\n\xFF\xFE\r\r\nk= v\0w \n", 23);
    EXPECT_EQ(find_value(text, "s", "k"), std::string_view("v\0w", 3));
    const auto updated = with_value_set(text, "s", "k", std::string_view("\0", 1));
    EXPECT_EQ(updated.value(), std::string("[s]\n\0\xFF\x01=\x80\n\xFF\xFE\r\r\nk= \0 \n", 21));
}

} // namespace
