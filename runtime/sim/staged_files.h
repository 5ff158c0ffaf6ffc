// The file system under the simulated desktop's file commands: the machine's
// own files, with faults a test stages on a folder: a read-only folder, or a
// disk that fills up after so many bytes. Tests run as root, where a
// permission bit stops nothing, so the faults are staged here rather than
// with chmod.
#pragma once

#include "runtime/core/settings/file_system.h"

#include <cstdint>
#include <filesystem>
#include <map>

namespace vorn::sim {

class StagedFiles final : public settings::FileSystem {
  public:
    // Creating, replacing or removing a file directly in `folder` fails with
    // EROFS, as on a read-only medium; reads work.
    void make_read_only(const std::filesystem::path& folder);
    // Files written directly in `folder` share `bytes_left`; a write that
    // needs more writes what fits and fails with ENOSPC, as a full disk does.
    void fill_up(const std::filesystem::path& folder, std::uint64_t bytes_left);

    Result<std::optional<std::string>> read(const std::filesystem::path& file,
                                            std::uint64_t max_size) override;
    Status write(const std::filesystem::path& file, std::string_view bytes) override;
    Status replace(const std::filesystem::path& from, const std::filesystem::path& to) override;
    void remove(const std::filesystem::path& file) override;

  private:
    bool read_only(const std::filesystem::path& file) const;

    std::map<std::filesystem::path, bool> read_only_;
    std::map<std::filesystem::path, std::uint64_t> space_;
};

} // namespace vorn::sim
