#include "runtime/core/engine/files.h"

#include <cerrno>
#include <string_view>

namespace vorn::runtime {

Result<Bytes> read_whole_file(settings::FileSystem& files, const std::filesystem::path& file) {
    VORN_TRY_ASSIGN(std::optional<std::string> content, files.read(file, kMaxFileSize));
    if (!content)
        return Error{settings::display_path(file) + ": no such file", ENOENT};
    return Bytes(content->begin(), content->end());
}

Status write_whole_file(settings::FileSystem& files, const std::filesystem::path& file, ByteView bytes) {
    std::filesystem::path temporary = file;
    temporary += ".writing";
    const std::string_view data(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (Status written = files.write(temporary, data); !written) {
        files.remove(temporary);
        return written;
    }
    if (Status replaced = files.replace(temporary, file); !replaced) {
        files.remove(temporary);
        return replaced;
    }
    return ok_status();
}

contract::FileFailure file_failure(const Error& error) {
    using contract::FileFailure;
    switch (error.system_error) {
    case ENOENT:
    case ENOTDIR:
        return FileFailure::no_directory;
    case EACCES:
    case EPERM:
    case EROFS:
        return FileFailure::denied;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return FileFailure::disk_full;
    default:
        return FileFailure::other;
    }
}

} // namespace vorn::runtime
