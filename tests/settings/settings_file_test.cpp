#include "runtime/core/settings/settings_file.h"
#include "text/gbk.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

using namespace vorn::settings;
using vorn::text::utf8_to_gbk;
namespace fs = std::filesystem;

namespace {

std::string gbk(std::string_view utf8) {
    return utf8_to_gbk(utf8);
}

const std::string hide_section = gbk("截图时隐藏"), hide_key = gbk("是否隐藏本窗口");
const std::string sound_section = gbk("截图时声音"), sound_key = gbk("是否播放");
const std::string edit_section = gbk("编辑截图");
const std::string yes = gbk("真"), no = gbk("假");

// The real file system, with steps that can be made to fail.
class FlakyFileSystem final : public FileSystem {
  public:
    bool fail_read = false, fail_write = false, fail_replace = false;
    int writes = 0;

    vorn::Result<std::optional<std::string>> read(const fs::path& file, std::uint64_t max_size) override {
        if (fail_read)
            return vorn::Error{"read refused"};
        return real_file_system().read(file, max_size);
    }
    vorn::Status write(const fs::path& file, std::string_view bytes) override {
        ++writes;
        if (!fail_write)
            return real_file_system().write(file, bytes);
        // Interrupted half-way: part of the text is on disk.
        (void)real_file_system().write(file, bytes.substr(0, bytes.size() / 2));
        return vorn::Error{"disk full"};
    }
    vorn::Status replace(const fs::path& from, const fs::path& to) override {
        if (fail_replace)
            return vorn::Error{"replace refused"};
        return real_file_system().replace(from, to);
    }
    void remove(const fs::path& file) override { real_file_system().remove(file); }
};

class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vorn-settings-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        file_ = dir_ / fs::path(u8"设置.ini");
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string contents() const {
        std::ifstream in(file_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void put(std::string_view bytes) const {
        std::ofstream(file_, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    }
    bool only_the_file_is_left() const {
        return std::distance(fs::directory_iterator(dir_), fs::directory_iterator()) == 1 &&
               fs::exists(file_);
    }

    fs::path dir_, file_;
    FlakyFileSystem flaky_;
};

TEST_F(SettingsFile, MissingFileGivesDefaultsAndStaysMissing) {
    EXPECT_EQ(read_value(file_, hide_section, hide_key), "");
    EXPECT_EQ(read_value(file_, edit_section, gbk("字体"), gbk("宋体")), gbk("宋体"));
    EXPECT_FALSE(fs::exists(file_));
}

TEST_F(SettingsFile, FirstWriteCreatesACrlfFileAndLaterWritesReplaceTheValue) {
    ASSERT_TRUE(write_value(flaky_, file_, hide_section, hide_key, yes).ok());
    EXPECT_EQ(contents(), gbk("[截图时隐藏]\r\n是否隐藏本窗口=真\r\n"));
    ASSERT_TRUE(write_value(flaky_, file_, hide_section, hide_key, no).ok());
    EXPECT_EQ(read_value(file_, hide_section, hide_key), no);
    EXPECT_EQ(contents(), gbk("[截图时隐藏]\r\n是否隐藏本窗口=假\r\n"));
    EXPECT_TRUE(only_the_file_is_left());

    // Writing the value the file already holds leaves the file alone.
    ASSERT_TRUE(write_value(flaky_, file_, hide_section, hide_key, no).ok());
    EXPECT_EQ(flaky_.writes, 2);
}

TEST_F(SettingsFile, UnknownKeysSectionsAndCommentsSurviveARewrite) {
    put(gbk("; 手写的\n[截图时声音]\n是否播放 = 真\n未知键=1\n\n[未知节]\n甲=乙"));
    ASSERT_TRUE(write_value(file_, sound_section, sound_key, no).ok());
    ASSERT_TRUE(write_value(file_, edit_section, gbk("颜色"), "255").ok());
    ASSERT_TRUE(write_value(file_, sound_section, gbk("新键"), "2").ok());
    EXPECT_EQ(contents(), gbk("; 手写的\n[截图时声音]\n是否播放 = 假\n未知键=1\n新键=2\n\n[未知节]\n甲=乙\n"
                              "[编辑截图]\n颜色=255\n"));
}

TEST_F(SettingsFile, EveryAccessReadsTheFileAfresh) {
    ASSERT_TRUE(write_value(file_, sound_section, sound_key, yes).ok());
    EXPECT_EQ(read_value(file_, sound_section, sound_key), yes);
    put(gbk("[截图时声音]\r\n是否播放=假\r\n; 别人改的\r\n"));
    EXPECT_EQ(read_value(file_, sound_section, sound_key), no);
    ASSERT_TRUE(write_value(file_, hide_section, hide_key, yes).ok());
    EXPECT_EQ(contents(),
              gbk("[截图时声音]\r\n是否播放=假\r\n; 别人改的\r\n[截图时隐藏]\r\n是否隐藏本窗口=真\r\n"));
    fs::remove(file_);
    EXPECT_EQ(read_value(file_, sound_section, sound_key, "?"), "?");
}

TEST_F(SettingsFile, AFailedWriteLeavesTheOldFileWholeAndNoTemporary) {
    const std::string old_text = gbk("[截图时隐藏]\r\n是否隐藏本窗口=真\r\n");
    put(old_text);
    flaky_.fail_replace = true;
    EXPECT_FALSE(write_value(flaky_, file_, hide_section, hide_key, no).ok());
    EXPECT_EQ(contents(), old_text);
    EXPECT_TRUE(only_the_file_is_left());

    flaky_ = FlakyFileSystem();
    flaky_.fail_write = true;
    EXPECT_FALSE(write_value(flaky_, file_, hide_section, hide_key, no).ok());
    EXPECT_EQ(contents(), old_text);
    EXPECT_TRUE(only_the_file_is_left());

    // A file that cannot be read is never replaced by one holding a single key.
    flaky_ = FlakyFileSystem();
    flaky_.fail_read = true;
    EXPECT_FALSE(write_value(flaky_, file_, hide_section, hide_key, no).ok());
    EXPECT_EQ(flaky_.writes, 0);

    EXPECT_FALSE(write_value(file_, hide_section, hide_key, "1\r\n[x]").ok());
    EXPECT_EQ(contents(), old_text);
}

// Hand-edited in an editor that saves UTF-8 with its mark: the names are
// UTF-8 there, and stay so, mark and all, when a value is written.
TEST_F(SettingsFile, Utf8FileWithItsMarkIsReadAndWrittenInUtf8) {
    const std::string mark = "\xEF\xBB\xBF";
    const std::string old_text =
        mark + "[截图时声音]\r\n是否播放 = 假\r\n[编辑截图]\r\n字体=微软雅黑\r\n文字颜色=😀\r\n";
    put(old_text);
    EXPECT_EQ(read_value(file_, sound_section, sound_key), no);
    EXPECT_EQ(read_value(file_, edit_section, gbk("字体"), gbk("宋体")), gbk("微软雅黑"));
    // GBK has no such character: the value cannot be read.
    EXPECT_EQ(read_value(file_, edit_section, gbk("文字颜色"), "0"), "0");

    ASSERT_TRUE(write_value(file_, hide_section, hide_key, yes).ok());
    ASSERT_TRUE(write_value(file_, sound_section, sound_key, yes).ok());
    EXPECT_EQ(contents(), mark +
                              "[截图时声音]\r\n是否播放 = 真\r\n[编辑截图]\r\n字体=微软雅黑\r\n文字颜色=😀\r\n"
                              "[截图时隐藏]\r\n是否隐藏本窗口=真\r\n");
    EXPECT_EQ(read_value(file_, hide_section, hide_key), yes);
    EXPECT_TRUE(only_the_file_is_left());
}

TEST_F(SettingsFile, FileWithoutLineFeedsKeepsItsCarriageReturns) {
    put(gbk("[截图时声音]\r是否播放=假"));
    EXPECT_EQ(read_value(file_, sound_section, sound_key), no);
    ASSERT_TRUE(write_value(file_, hide_section, hide_key, yes).ok());
    EXPECT_EQ(contents(), gbk("[截图时声音]\r是否播放=假\r[截图时隐藏]\r是否隐藏本窗口=真\r"));
}

// Ten megabytes of someone else's lines around the program's own: the
// values are found, and a write keeps every other byte.
TEST_F(SettingsFile, TenMegabyteFileKeepsWorking) {
    const std::string head = gbk("[截图时声音]\r\n是否播放=假\r\n");
    std::string filler;
    for (int i = 0; filler.size() < 10u * 1024 * 1024; ++i)
        filler += "; line " + std::to_string(i) + " of a log that landed here\r\n";
    put(head + filler);
    EXPECT_EQ(read_value(file_, sound_section, sound_key), no);
    ASSERT_TRUE(write_value(file_, hide_section, hide_key, yes).ok());
    EXPECT_TRUE(contents() == head + filler + gbk("[截图时隐藏]\r\n是否隐藏本窗口=真\r\n"));
}

TEST_F(SettingsFile, SizeLimitIsExact) {
    std::string text = "[s]\r\nk=v\r\n";
    text.resize(max_file_size, '\n');
    put(text);
    EXPECT_EQ(read_value(file_, "s", "k"), "v");
    // The write would grow the file past the limit.
    EXPECT_FALSE(write_value(file_, "s", "k2", "v").ok());

    text += '\n';
    put(text);
    EXPECT_EQ(read_value(file_, "s", "k", "default"), "default");
}

// Bytes this process has read through system calls, where Linux tells.
std::optional<long long> bytes_read_so_far() {
    std::ifstream io("/proc/self/io");
    std::string field;
    long long value = 0;
    while (io >> field >> value)
        if (field == "rchar:")
            return value;
    return std::nullopt;
}

TEST_F(SettingsFile, HugeFileReadsDefaultsWithoutBeingReadAndIsNeverRewritten) {
    put("[s]\r\nk=v\r\n");
    const std::uintmax_t huge = 100ull * 1024 * 1024;
    fs::resize_file(file_, huge); // sparse: quick to make

    const auto before = bytes_read_so_far();
    EXPECT_EQ(read_value(file_, "s", "k", "default"), "default");
    const auto after = bytes_read_so_far();
    if (before && after) {
        EXPECT_LT(*after - *before, 64 * 1024);
    }

    EXPECT_FALSE(write_value(file_, "s", "k", "w").ok());
    EXPECT_EQ(fs::file_size(file_), huge);
    std::ifstream in(file_, std::ios::binary);
    char start[10] = {};
    in.read(start, sizeof start);
    EXPECT_EQ(std::string(start, sizeof start), "[s]\r\nk=v\r\n");
    EXPECT_TRUE(only_the_file_is_left());
}

TEST_F(SettingsFile, BinaryFileReadsDefaultsAndKeepsItsBytes) {
    std::string binary(4096, '\0'); // every byte value, NUL, '[', '=' and line breaks included
    for (std::size_t i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<char>(i * 7919 % 251);
    put(binary);
    EXPECT_EQ(read_value(file_, hide_section, hide_key, "default"), "default");
    ASSERT_TRUE(write_value(file_, hide_section, hide_key, yes).ok());
    EXPECT_EQ(contents().substr(0, binary.size()), binary);
    EXPECT_EQ(read_value(file_, hide_section, hide_key), yes);
}

} // namespace
