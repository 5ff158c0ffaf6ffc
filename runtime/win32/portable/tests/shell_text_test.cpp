#include "runtime/win32/portable/shell_text.h"

#include <gtest/gtest.h>

namespace vorn::win32 {
namespace {

using namespace std::string_literals;

TEST(DialogFilter, BarsBecomeTheDoubleNullList) {
    EXPECT_EQ(dialog_filter(u"*.jpg|*.jpg|*.bmp|*.bmp"), u"*.jpg\0*.jpg\0*.bmp\0*.bmp\0\0"s);
    EXPECT_EQ(dialog_filter(u"图片|*.jpg"), u"图片\0*.jpg\0\0"s);
    // A description without its pattern filters by itself.
    EXPECT_EQ(dialog_filter(u"*.jpg|*.jpg|*.bmp"), u"*.jpg\0*.jpg\0*.bmp\0*.bmp\0\0"s);
    EXPECT_EQ(dialog_filter(u"*.txt"), u"*.txt\0*.txt\0\0"s);
    EXPECT_EQ(dialog_filter(u""), u""s);
    EXPECT_EQ(dialog_filter(u"||"), u"\0\0\0\0\0"s);
}

TEST(LinkName, LnkIsAppendedOnlyWhenMissing) {
    EXPECT_EQ(with_link_extension(u"C:\\Desktop\\Vorn截图工具"), u"C:\\Desktop\\Vorn截图工具.lnk");
    EXPECT_EQ(with_link_extension(u"C:\\a.lnk"), u"C:\\a.lnk");
    EXPECT_EQ(with_link_extension(u"C:\\a.LNK"), u"C:\\a.LNK");
    EXPECT_EQ(with_link_extension(u"C:\\a.lnk.txt"), u"C:\\a.lnk.txt.lnk");
    EXPECT_EQ(with_link_extension(u"lnk"), u"lnk.lnk");
    EXPECT_EQ(with_link_extension(u""), u".lnk");
}

TEST(ModulePath, DirectoryHasNoTrailingBackslash) {
    ModulePath path = split_module_path(u"C:\\vorn\\app\\VornShot.exe");
    EXPECT_EQ(path.directory, u"C:\\vorn\\app");
    EXPECT_EQ(path.file_name, u"VornShot.exe");
    path = split_module_path(u"C:\\VornShot.exe");
    EXPECT_EQ(path.directory, u"C:");
    path = split_module_path(u"\\\\server\\share\\截图.exe");
    EXPECT_EQ(path.directory, u"\\\\server\\share");
    EXPECT_EQ(path.file_name, u"截图.exe");
    path = split_module_path(u"VornShot.exe");
    EXPECT_EQ(path.directory, u"");
    EXPECT_EQ(path.file_name, u"VornShot.exe");
}

TEST(ProcessNames, EveryExeIsWrittenInCapitals) {
    EXPECT_EQ(listed_process_name("notepad.exe", "VornShot.exe"), "notepad.EXE");
    EXPECT_EQ(listed_process_name("myexe.exe", "VornShot.exe"), "myEXE.EXE");
    EXPECT_EQ(listed_process_name("exeexe", "VornShot.exe"), "EXEEXE");
    EXPECT_EQ(listed_process_name("Explorer.Exe", "VornShot.exe"), "Explorer.Exe");
    EXPECT_EQ(listed_process_name("System", "VornShot.exe"), "System");
    EXPECT_EQ(exe_upper_cased("VornShot.exe"), "VornShot.EXE");
}

TEST(ProcessNames, OurOwnNameMatchesWhateverCaseTheListUses) {
    EXPECT_EQ(listed_process_name("VornShot.exe", "VornShot.exe"), "VornShot.EXE");
    EXPECT_EQ(listed_process_name("VORNSHOT.EXE", "VornShot.exe"), "VornShot.EXE");
    EXPECT_EQ(listed_process_name("vornshot.exe", "VornShot.Exe"), "VornShot.Exe");
    // "截图.exe" in GBK; a name whose trail byte differs only in ASCII case
    // ("\xbd\x61" against "\xbd\x41") is another character, not the same name.
    const std::string own = "\xbd\xd8\xcd\xbc.exe";
    EXPECT_EQ(listed_process_name("\xbd\xd8\xcd\xbc.EXE", own), "\xbd\xd8\xcd\xbc.EXE");
    EXPECT_EQ(listed_process_name("\xbd\x61.exe", "\xbd\x41.exe"), "\xbd\x61.EXE");
    EXPECT_EQ(listed_process_name("VornShot.exe.bak", "VornShot.exe"), "VornShot.EXE.bak");
}

} // namespace
} // namespace vorn::win32
