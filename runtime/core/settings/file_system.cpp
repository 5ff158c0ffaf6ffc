#include "runtime/core/settings/file_system.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace vorn::settings {

namespace {

std::FILE* open_file(const std::filesystem::path& file, bool for_writing) {
#ifdef _WIN32
    return _wfopen(file.c_str(), for_writing ? L"wb" : L"rb");
#else
    return std::fopen(file.c_str(), for_writing ? "wb" : "rb");
#endif
}

bool flush_to_disk(std::FILE* stream) {
    if (std::fflush(stream) != 0)
        return false;
#ifdef _WIN32
    return _commit(_fileno(stream)) == 0;
#else
    return fsync(fileno(stream)) == 0;
#endif
}

Error failure(std::string_view what, const std::filesystem::path& file, int error_number) {
    return Error{std::string(what) + " " + display_path(file) + ": " + std::strerror(error_number),
                 error_number};
}

#ifdef _WIN32
// The errno value nearest to a Windows error, for the reasons the program
// tells apart.
int errno_of_windows_error(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    default:
        return EIO;
    }
}
#endif

class RealFileSystem final : public FileSystem {
  public:
    Result<std::optional<std::string>> read(const std::filesystem::path& file,
                                            std::uint64_t max_size) override {
        std::FILE* stream = open_file(file, false);
        if (!stream) {
            if (errno == ENOENT)
                return std::optional<std::string>();
            return failure("cannot open", file, errno);
        }
        // The size on disk refuses a big file without reading any of it; the
        // bounded loop below still holds if the file grows meanwhile.
        std::error_code ignored;
        const std::uintmax_t size_on_disk = std::filesystem::file_size(file, ignored);
        if (!ignored && size_on_disk > max_size) {
            std::fclose(stream);
            return too_large(file, max_size);
        }
        std::string bytes;
        bool failed = false;
        while (bytes.size() <= max_size) {
            // One byte past the limit is enough to tell that the file is too large.
            const std::size_t had = bytes.size();
            const std::size_t wanted =
                static_cast<std::size_t>(std::min<std::uint64_t>(64 * 1024 - 1, max_size - had) + 1);
            bytes.resize(had + wanted);
            const std::size_t got = std::fread(bytes.data() + had, 1, wanted, stream);
            bytes.resize(had + got);
            if (got < wanted) {
                failed = std::ferror(stream) != 0;
                break;
            }
        }
        const int error_number = errno;
        std::fclose(stream);
        if (failed)
            return failure("cannot read", file, error_number);
        if (bytes.size() > max_size)
            return too_large(file, max_size);
        return std::optional<std::string>(std::move(bytes));
    }

    Status write(const std::filesystem::path& file, std::string_view bytes) override {
        std::FILE* stream = open_file(file, true);
        if (!stream)
            return failure("cannot create", file, errno);
        const bool written =
            std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size() && flush_to_disk(stream);
        const int error_number = errno;
        const bool closed = std::fclose(stream) == 0;
        if (!written)
            return failure("cannot write", file, error_number);
        if (!closed)
            return failure("cannot close", file, errno);
        return ok_status();
    }

    Status replace(const std::filesystem::path& from, const std::filesystem::path& to) override {
#ifdef _WIN32
        // Write-through: the call returns only once the rename is on disk, so
        // a power cut afterwards cannot bring the old file back.
        if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            const DWORD error = GetLastError();
            return Error{"cannot replace " + display_path(to) + " by " + display_path(from) + ": error " +
                             std::to_string(error),
                         errno_of_windows_error(error)};
        }
#else
        // rename(2) replaces the target atomically.
        if (std::rename(from.c_str(), to.c_str()) != 0)
            return failure("cannot replace", to, errno);
#endif
        return ok_status();
    }

    void remove(const std::filesystem::path& file) override {
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
    }

  private:
    static Error too_large(const std::filesystem::path& file, std::uint64_t max_size) {
        return Error{display_path(file) + " holds more than " + std::to_string(max_size) + " bytes"};
    }
};

} // namespace

FileSystem& real_file_system() {
    static RealFileSystem file_system;
    return file_system;
}

std::string display_path(const std::filesystem::path& file) {
    const std::u8string utf8 = file.u8string();
    return std::string(utf8.begin(), utf8.end());
}

} // namespace vorn::settings
