#include "runtime/sim/staged_files.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace vorn::sim {

namespace fs = std::filesystem;

namespace {

fs::path folder_of(const fs::path& file) {
    return file.lexically_normal().parent_path();
}

Error refused(std::string_view what, const fs::path& file, int error_number) {
    return Error{std::string(what) + " " + settings::display_path(file) + ": " + std::strerror(error_number),
                 error_number};
}

} // namespace

void StagedFiles::make_read_only(const fs::path& folder) {
    read_only_[folder.lexically_normal()] = true;
}

void StagedFiles::fill_up(const fs::path& folder, std::uint64_t bytes_left) {
    space_[folder.lexically_normal()] = bytes_left;
}

bool StagedFiles::read_only(const fs::path& file) const {
    return read_only_.count(folder_of(file)) != 0;
}

Result<std::optional<std::string>> StagedFiles::read(const fs::path& file, std::uint64_t max_size) {
    return settings::real_file_system().read(file, max_size);
}

Status StagedFiles::write(const fs::path& file, std::string_view bytes) {
    if (read_only(file))
        return refused("cannot create", file, EROFS);
    auto space = space_.find(folder_of(file));
    if (space == space_.end() || bytes.size() <= space->second) {
        if (space != space_.end())
            space->second -= bytes.size();
        return settings::real_file_system().write(file, bytes);
    }
    // What fits is on the disk, as a real full disk leaves it.
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), std::streamsize(space->second));
    space->second = 0;
    return refused("cannot write", file, ENOSPC);
}

Status StagedFiles::replace(const fs::path& from, const fs::path& to) {
    if (read_only(from) || read_only(to))
        return refused("cannot replace", to, EROFS);
    return settings::real_file_system().replace(from, to);
}

void StagedFiles::remove(const fs::path& file) {
    if (read_only(file))
        return;
    std::error_code ignored;
    const std::uintmax_t size = fs::file_size(file, ignored);
    if (auto space = space_.find(folder_of(file)); space != space_.end() && !ignored)
        space->second += size;
    settings::real_file_system().remove(file);
}

} // namespace vorn::sim
