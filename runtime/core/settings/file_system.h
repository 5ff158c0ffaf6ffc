// The file-system steps of the settings file, behind an interface so that a
// test can make any one of them fail and check what is left on disk.
#pragma once

#include "base/result.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vorn::settings {

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // The whole file; std::nullopt when it does not exist. An Error when it
    // cannot be read or holds more than `max_size` bytes; then at most
    // `max_size` + 1 bytes of it have been read.
    virtual Result<std::optional<std::string>> read(const std::filesystem::path& file,
                                                    std::uint64_t max_size) = 0;

    // Creates `file`, or empties an existing one, and writes `bytes` through
    // to the disk.
    virtual Status write(const std::filesystem::path& file, std::string_view bytes) = 0;

    // Puts `from` in the place of `to` in one step: a reader sees either the
    // old `to` or all of the new one.
    virtual Status replace(const std::filesystem::path& from, const std::filesystem::path& to) = 0;

    // Removes `file` if it exists; clean-up only, so failures are ignored.
    virtual void remove(const std::filesystem::path& file) = 0;
};

// The machine's file system.
FileSystem& real_file_system();

// A path for error messages: UTF-8, which never fails to convert (unlike
// path::string() on Windows).
std::string display_path(const std::filesystem::path& file);

} // namespace vorn::settings
