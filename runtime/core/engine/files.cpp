#include "runtime/core/engine/files.h"

#include "runtime/core/settings/file_system.h"

#include <string_view>

namespace vorn::runtime {

Result<Bytes> read_whole_file(const std::filesystem::path& file) {
    VORN_TRY_ASSIGN(std::optional<std::string> content,
                    settings::real_file_system().read(file, kMaxFileSize));
    if (!content)
        return Error{settings::display_path(file) + ": no such file"};
    return Bytes(content->begin(), content->end());
}

Status write_whole_file(const std::filesystem::path& file, ByteView bytes) {
    settings::FileSystem& files = settings::real_file_system();
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

} // namespace vorn::runtime
