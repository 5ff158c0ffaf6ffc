#include "runtime/sim/host_files.h"

#include "tests/sim/sim_fixtures.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace vorn::sim {
namespace {

namespace fs = std::filesystem;
using testing::gbk;

fs::path u8(const std::string& text) {
    return fs::path(std::u8string(text.begin(), text.end()));
}

std::string read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

TEST(HostFilesTest, ProgramPathsMapIntoTheTemporaryFolders) {
    HostFiles files;
    const fs::path run = files.run_folder(), desktop = files.desktop_folder(),
                   drives = files.root() / "drives";
    const struct {
        std::string program_path; // UTF-8 here, GBK for the call
        fs::path expected;
    } cases[] = {
        {"C:\\VornShot\\设置.ini", run / u8("设置.ini")},
        {"c:/vornshot\\temp.jpg", run / "temp.jpg"}, // either separator, any case
        {"C:\\VornShot", run},
        {"temp.jpg", run / "temp.jpg"}, // relative to the run directory
        {"C:\\Users\\Tester\\Desktop\\Vorn截图工具", desktop / u8("Vorn截图工具")},
        {"d:\\shots\\a.jpg", drives / "D" / "shots" / "a.jpg"},
        {"C:\\VornShotX\\a.jpg", drives / "C" / "VornShotX" / "a.jpg"}, // a prefix of a name is not a folder
        {"\\shots\\a.jpg", drives / "C" / "shots" / "a.jpg"},
        {"C:\\VornShot\\..\\..\\etc\\passwd", run / "etc" / "passwd"}, // never climbs out
        {"C:\\VornShot\\乗\\a.txt", run / u8("乗") / "a.txt"},         // GBK trail byte 0x5C is no separator
    };
    for (const auto& c : cases)
        EXPECT_EQ(files.map(gbk(c.program_path)), c.expected) << c.program_path;

    files.set_run_directory("D:\\工具");
    EXPECT_EQ(files.run_directory(), gbk("D:\\工具"));
    EXPECT_EQ(files.map(gbk("D:\\工具\\设置.ini")), run / u8("设置.ini"));
    EXPECT_EQ(files.map(gbk("C:\\VornShot\\设置.ini")), drives / "C" / "VornShot" / u8("设置.ini"));
}

TEST(HostFilesTest, ShortcutGetsTheLinkExtensionOnceAndNamesItsTarget) {
    HostFiles files;
    ASSERT_EQ(files.desktop_directory(), "C:\\Users\\Tester\\Desktop\\");
    EXPECT_TRUE(files.create_shortcut(gbk("C:\\Users\\Tester\\Desktop\\Vorn截图工具"),
                                      gbk("C:\\VornShot\\VornShot.exe")));
    EXPECT_TRUE(files.create_shortcut(gbk("C:\\Users\\Tester\\Desktop\\other.LNK"), "C:\\x.exe"));
    const fs::path link = files.desktop_folder() / u8("Vorn截图工具.lnk");
    EXPECT_EQ(read(link), "C:\\VornShot\\VornShot.exe\n");
    EXPECT_TRUE(fs::exists(files.desktop_folder() / "other.LNK"));
    ASSERT_EQ(files.shortcuts().size(), 2u);
    EXPECT_EQ(files.shortcuts()[0].link, "C:\\Users\\Tester\\Desktop\\Vorn截图工具");
    EXPECT_EQ(files.shortcuts()[0].file, link);
}

TEST(HostFilesTest, ShortcutIntoAMissingFolderIsRefused) {
    HostFiles files;
    // The desktop folder without its trailing backslash runs into the name.
    EXPECT_FALSE(
        files.create_shortcut(gbk("C:\\Users\\Tester\\DesktopVorn截图工具"), "C:\\VornShot\\VornShot.exe"));
    EXPECT_TRUE(fs::is_empty(files.desktop_folder()));
    ASSERT_EQ(files.shortcuts().size(), 1u);
    EXPECT_TRUE(files.shortcuts()[0].file.empty());
}

TEST(HostFilesTest, TemporaryFolderGoesAwayWithTheDesktop) {
    fs::path root;
    {
        HostFiles files;
        root = files.root();
        std::ofstream(files.run_folder() / "temp.jpg") << "x";
        EXPECT_TRUE(fs::is_directory(files.desktop_folder()));
    }
    EXPECT_FALSE(fs::exists(root));
}

} // namespace
} // namespace vorn::sim
