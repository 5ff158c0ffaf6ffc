#include "startup/stub.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

using namespace vorn::startup;

namespace {

// Records every system call in order; libraries are "loadable" when their
// path is in `libraries`, each with the entry its export returns (or no export).
class FakeSystem final : public System {
  public:
    struct Library {
        bool has_export = true;
        std::uintptr_t entry = 0x1234;
    };

    std::string exe_path = "C:\\Tools\\VornShot.exe";
    std::optional<std::string> install_path;
    std::map<std::string, Library> libraries;
    std::vector<std::string> calls;
    const void* image_seen = nullptr;

    void restrict_library_search() override { calls.push_back("restrict_search"); }
    std::string module_path() override {
        calls.push_back("module_path");
        return exe_path;
    }
    LibraryHandle load_library(const std::string& path) override {
        calls.push_back("load " + path);
        auto it = libraries.find(path);
        return it == libraries.end() ? nullptr : &it->second;
    }
    ProcAddress find_export(LibraryHandle library, const char* name) override {
        calls.push_back(std::string("find_export ") + name);
        return static_cast<Library*>(library)->has_export ? library : nullptr;
    }
    std::uintptr_t request_entry(ProcAddress entry_export, std::uint32_t request) override {
        calls.push_back("request_entry " + std::to_string(request));
        return static_cast<Library*>(entry_export)->entry;
    }
    void run_program(std::uintptr_t entry, const void* image) override {
        calls.push_back("run " + std::to_string(entry));
        image_seen = image;
    }
    std::optional<std::string> read_install_path() override {
        calls.push_back("read_install_path");
        return install_path;
    }
    void free_library(LibraryHandle) override { calls.push_back("free_library"); }
    void message_box(const char* text, const char* caption, unsigned style) override {
        calls.push_back(std::string("message_box ") + caption + ": " + text + " / " + std::to_string(style));
    }
    void exit_process(int code) override { calls.push_back("exit " + std::to_string(code)); }
};

const std::string kErrorBox = std::string("message_box Error: ") + kErrorText + " / 16";
const int kImage = 0;

} // namespace

TEST(ExecutableDirectory, ScansBackFromSixBeforeTheEnd) {
    EXPECT_EQ(executable_directory("C:\\Tools\\VornShot.exe"), "C:\\Tools\\");
    EXPECT_EQ(executable_directory("C:\\a.exe"), "C:\\"); // drive root
    EXPECT_EQ(executable_directory("\\a.exe"), "\\");     // the backslash at position 0 is examined
    // The last five characters are never examined, even when one is a backslash.
    EXPECT_EQ(executable_directory("C:\\dir\\ab\\cd"), "C:\\dir\\");
}

TEST(ExecutableDirectory, NeverScansBeforeTheStart) {
    EXPECT_EQ(executable_directory(""), std::nullopt);
    EXPECT_EQ(executable_directory("a.exe"), std::nullopt);
    EXPECT_EQ(executable_directory("VornShot.exe"), std::nullopt);
}

TEST(TrailingBackslash, AppendsOnlyWhenMissing) {
    EXPECT_EQ(with_trailing_backslash("D:\\E"), "D:\\E\\");
    EXPECT_EQ(with_trailing_backslash("D:\\E\\"), "D:\\E\\");
    EXPECT_EQ(with_trailing_backslash(""), "\\");
}

TEST(Stub, RuntimeBesideExecutableIsHandedTheImageWithoutAskingTheRegistry) {
    FakeSystem system;
    system.libraries["C:\\Tools\\krnln.fnr"] = {};
    system.install_path = "D:\\Other";
    system.libraries["D:\\Other\\krnln.fne"] = {};
    EXPECT_EQ(run_stub(system, &kImage), 0);
    EXPECT_EQ(system.calls, (std::vector<std::string>{"restrict_search", "module_path",
                                                      "load C:\\Tools\\krnln.fnr", "find_export GetNewSock",
                                                      "request_entry 1000", "run 4660", "exit 0"}));
    EXPECT_EQ(system.image_seen, &kImage);
}

TEST(Stub, InstallDirectoryWithOrWithoutBackslashLoadsTheSameFile) {
    for (const char* stored : {"D:\\E", "D:\\E\\"}) {
        FakeSystem system;
        system.install_path = stored;
        system.libraries["D:\\E\\krnln.fne"] = {};
        EXPECT_EQ(run_stub(system, &kImage), 0) << stored;
        EXPECT_EQ(system.calls.back(), "exit 0") << stored;
    }
}

TEST(Stub, EveryFailureEndsInTheErrorBoxAndMinusOne) {
    struct Case {
        const char* name;
        std::optional<std::string> install_path;
        std::map<std::string, FakeSystem::Library> libraries;
    };
    const std::vector<Case> cases = {
        {"no library and no registry value", std::nullopt, {}},
        {"install directory without the library", "D:\\E", {}},
        {"export missing", std::nullopt, {{"C:\\Tools\\krnln.fnr", {false, 0}}}},
        {"export returns 0", std::nullopt, {{"C:\\Tools\\krnln.fnr", {true, 0}}}},
        {"install library refuses", "D:\\E", {{"D:\\E\\krnln.fne", {true, 0}}}},
    };
    for (const Case& c : cases) {
        FakeSystem system;
        system.install_path = c.install_path;
        system.libraries = c.libraries;
        EXPECT_EQ(run_stub(system, &kImage), kFailureExitCode) << c.name;
        EXPECT_EQ(system.calls.back(), kErrorBox) << c.name;
        EXPECT_EQ(system.image_seen, nullptr) << c.name;
    }
}

TEST(Stub, RefusingLibraryIsReleasedBeforeTheErrorBox) {
    FakeSystem system;
    system.libraries["C:\\Tools\\krnln.fnr"] = {true, 0};
    EXPECT_EQ(run_stub(system, &kImage), kFailureExitCode);
    ASSERT_GE(system.calls.size(), 2u);
    EXPECT_EQ(system.calls[system.calls.size() - 2], "free_library");
    // A library that failed is not retried elsewhere.
    EXPECT_EQ(std::count(system.calls.begin(), system.calls.end(), "read_install_path"), 0);
}

TEST(Stub, DeepInstallDirectoryStillLoads) {
    FakeSystem system;
    std::string deep = "C:\\" + std::string(200, 'd') + "\\";
    system.exe_path = deep + "VornShot.exe";
    system.libraries[deep + "krnln.fnr"] = {};
    EXPECT_EQ(run_stub(system, &kImage), 0);
}

TEST(Stub, PathsThatDoNotFitTheBufferFailCleanly) {
    // 250 + "krnln.fnr" + terminator = 260 fits; one more character does not.
    for (std::size_t directory_length : {250u, 251u}) {
        FakeSystem system;
        std::string directory = "C:\\" + std::string(directory_length - 4, 'd') + "\\";
        system.exe_path = directory + "VornShot.exe";
        system.libraries[directory + "krnln.fnr"] = {};
        int code = run_stub(system, &kImage);
        EXPECT_EQ(code, directory_length == 250 ? 0 : kFailureExitCode) << directory_length;
    }
    FakeSystem system;
    system.install_path = "D:\\" + std::string(252, 'i'); // + "\" + "krnln.fne" no longer fits
    system.libraries[*system.install_path + "\\krnln.fne"] = {};
    EXPECT_EQ(run_stub(system, &kImage), kFailureExitCode);
    EXPECT_EQ(system.calls.back(), kErrorBox);
}

TEST(FullPath, OnlyADriveRootOrAShareNamesAFileWithoutASearch) {
    for (const char* full :
         {"C:\\krnln.fnr", "d:\\E\\krnln.fne", "\\\\server\\share\\krnln.fne", "\\\\?\\C:\\E\\krnln.fne"})
        EXPECT_TRUE(is_full_path(full)) << full;
    for (const char* relative : {"krnln.fne", "E\\krnln.fne", "..\\E\\krnln.fne", "C:krnln.fne",
                                 "\\E\\krnln.fne", "\\\\\\E", "1:\\krnln.fne", "C:/E/krnln.fne", "C:", ""})
        EXPECT_FALSE(is_full_path(relative)) << relative;
}

// Whatever happens later, the search is narrowed first, once, and every
// library the stub loads is named by its full path.
TEST(Stub, RestrictsTheLibrarySearchBeforeLoadingAnythingAndLoadsByFullPathOnly) {
    struct Case {
        const char* name;
        std::string exe_path;
        std::optional<std::string> install_path;
        std::map<std::string, FakeSystem::Library> libraries;
        int code;
    };
    const std::vector<Case> cases = {
        {"beside the executable", "C:\\Tools\\VornShot.exe", std::nullopt, {{"C:\\Tools\\krnln.fnr", {}}}, 0},
        {"install directory", "C:\\Tools\\VornShot.exe", "D:\\E", {{"D:\\E\\krnln.fne", {}}}, 0},
        {"share", "\\\\host\\tools\\VornShot.exe", std::nullopt, {{"\\\\host\\tools\\krnln.fnr", {}}}, 0},
        {"nothing found", "C:\\Tools\\VornShot.exe", "D:\\E", {}, kFailureExitCode},
        // These would need the very search that is restricted, which a
        // planted file could answer: they fail as a missing runtime does.
        {"relative install directory",
         "C:\\Tools\\VornShot.exe",
         "E",
         {{"E\\krnln.fne", {}}},
         kFailureExitCode},
        {"drive-relative install directory",
         "C:\\Tools\\VornShot.exe",
         "C:E",
         {{"C:E\\krnln.fne", {}}},
         kFailureExitCode},
        {"root-relative executable",
         "\\Tools\\VornShot.exe",
         std::nullopt,
         {{"\\Tools\\krnln.fnr", {}}},
         kFailureExitCode},
    };
    for (const Case& c : cases) {
        FakeSystem system;
        system.exe_path = c.exe_path;
        system.install_path = c.install_path;
        system.libraries = c.libraries;
        EXPECT_EQ(run_stub(system, &kImage), c.code) << c.name;
        ASSERT_FALSE(system.calls.empty()) << c.name;
        EXPECT_EQ(system.calls.front(), "restrict_search") << c.name;
        EXPECT_EQ(std::count(system.calls.begin(), system.calls.end(), "restrict_search"), 1) << c.name;
        for (const std::string& call : system.calls) {
            if (call.starts_with("load ")) {
                EXPECT_TRUE(is_full_path(call.substr(5))) << c.name << ": " << call;
            }
        }
    }
}
