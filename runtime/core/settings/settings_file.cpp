#include "runtime/core/settings/settings_file.h"

#include "runtime/core/settings/profile.h"

namespace vorn::settings {

std::string read_value(FileSystem& file_system, const std::filesystem::path& file, std::string_view section,
                       std::string_view key, std::string_view default_value) {
    const Result<std::optional<std::string>> text = file_system.read(file, max_file_size);
    if (!text.ok() || !text.value())
        return std::string(default_value);
    const std::optional<std::string_view> value = find_value(**text, section, key);
    return std::string(value ? *value : default_value);
}

Status write_value(FileSystem& file_system, const std::filesystem::path& file, std::string_view section,
                   std::string_view key, std::string_view value) {
    VORN_TRY_ASSIGN(const std::optional<std::string> old_text, file_system.read(file, max_file_size));
    const std::string_view text = old_text ? std::string_view(*old_text) : std::string_view();
    VORN_TRY_ASSIGN(const std::string new_text, with_value_set(text, section, key, value));
    if (old_text && new_text == *old_text)
        return ok_status();
    if (new_text.size() > max_file_size)
        return Error{display_path(file) + " would grow past " + std::to_string(max_file_size) + " bytes"};

    const std::filesystem::path temporary = temporary_path(file);
    Status status = file_system.write(temporary, new_text);
    if (status.ok())
        status = file_system.replace(temporary, file);
    if (!status.ok())
        file_system.remove(temporary);
    return status;
}

std::filesystem::path temporary_path(const std::filesystem::path& file) {
    std::filesystem::path temporary = file;
    temporary += ".tmp";
    return temporary;
}

} // namespace vorn::settings
