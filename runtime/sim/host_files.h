// The program's files on this machine. The program speaks Windows paths in
// GBK ("C:\VornShot\设置.ini"); the simulated desktop keeps a temporary
// folder of real files for them, made when it starts and removed with it:
// run/ for the run directory, desktop/ for the user's desktop folder and
// drives/<letter>/ for any other absolute path.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vorn::sim {

struct ShortcutRecord {
    std::string link;           // UTF-8, as the program named it
    std::string target;         // UTF-8
    std::filesystem::path file; // the file made for it; empty when none was
};

class HostFiles {
  public:
    HostFiles();
    ~HostFiles();
    HostFiles(const HostFiles&) = delete;
    HostFiles& operator=(const HostFiles&) = delete;

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path run_folder() const { return root_ / "run"; }
    std::filesystem::path desktop_folder() const { return root_ / "desktop"; }

    // Windows forms, GBK: the run directory without a trailing backslash,
    // the desktop folder with one.
    const std::string& run_directory() const { return run_directory_; }
    const std::string& desktop_directory() const { return desktop_directory_; }
    void set_run_directory(const std::string& utf8_path);

    // Maps a program path to a file here. Both separators are accepted,
    // drive letters and folder names compare case-insensitively (ASCII), a
    // relative path lies in the run directory, and ".." never climbs out of
    // the folder that the path's prefix maps to.
    std::filesystem::path map(const std::string& gbk_path) const;

    // A shortcut file: the shell adds ".lnk" to a link path without it. The
    // file holds the target as one UTF-8 line; it is made only where the
    // link's folder exists, as the shell refuses otherwise.
    bool create_shortcut(const std::string& gbk_link, const std::string& gbk_target);
    const std::vector<ShortcutRecord>& shortcuts() const { return shortcuts_; }

  private:
    std::filesystem::path root_;
    std::string run_directory_;
    std::string desktop_directory_;
    std::vector<ShortcutRecord> shortcuts_;
};

} // namespace vorn::sim
