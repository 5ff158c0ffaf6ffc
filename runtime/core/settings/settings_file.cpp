#include "runtime/core/settings/settings_file.h"

#include "runtime/core/settings/profile.h"
#include "text/gbk.h"

#include <optional>

namespace vorn::settings {

namespace {

// Editors that save UTF-8 put this mark first (Windows' Notepad did for
// years). Such a file, edited by hand, spells the section and key names in
// UTF-8: it is read and written in UTF-8, with its mark kept.
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// How one file spells the program's GBK text.
struct Spelling {
    bool utf8 = false;

    // The GBK text as the file spells it; nullopt when it cannot be spelled
    // so that it reads back the same.
    std::optional<std::string> in_file(std::string_view gbk) const {
        if (!utf8)
            return std::string(gbk);
        std::string spelled = text::gbk_to_utf8(gbk);
        if (text::utf8_to_gbk(spelled) != gbk)
            return std::nullopt;
        return spelled;
    }

    // What the file holds as GBK text; nullopt when GBK cannot hold it.
    std::optional<std::string> from_file(std::string_view bytes) const {
        if (!utf8)
            return std::string(bytes);
        std::string gbk = text::utf8_to_gbk(bytes);
        if (text::gbk_to_utf8(gbk) != bytes)
            return std::nullopt;
        return gbk;
    }
};

// The file's text without its mark, and how it is spelled.
std::pair<std::string_view, Spelling> body_of(std::string_view text) {
    if (text.starts_with(kUtf8Mark))
        return {text.substr(kUtf8Mark.size()), Spelling{true}};
    return {text, Spelling{false}};
}

} // namespace

std::string read_value(FileSystem& file_system, const std::filesystem::path& file, std::string_view section,
                       std::string_view key, std::string_view default_value) {
    const Result<std::optional<std::string>> text = file_system.read(file, max_file_size);
    if (!text.ok() || !text.value())
        return std::string(default_value);
    const auto [body, spelling] = body_of(**text);
    const std::optional<std::string> spelled_section = spelling.in_file(section);
    const std::optional<std::string> spelled_key = spelling.in_file(key);
    if (!spelled_section || !spelled_key)
        return std::string(default_value);
    const std::optional<std::string_view> value = find_value(body, *spelled_section, *spelled_key);
    if (!value)
        return std::string(default_value);
    // A value the program's text cannot hold reads as absent.
    return spelling.from_file(*value).value_or(std::string(default_value));
}

Status write_value(FileSystem& file_system, const std::filesystem::path& file, std::string_view section,
                   std::string_view key, std::string_view value) {
    VORN_TRY_ASSIGN(const std::optional<std::string> old_text, file_system.read(file, max_file_size));
    const std::string_view text = old_text ? std::string_view(*old_text) : std::string_view();
    const auto [body, spelling] = body_of(text);
    const std::optional<std::string> spelled_section = spelling.in_file(section);
    const std::optional<std::string> spelled_key = spelling.in_file(key);
    const std::optional<std::string> spelled_value = spelling.in_file(value);
    if (!spelled_section || !spelled_key || !spelled_value)
        return Error{display_path(file) + " is UTF-8, which cannot hold the value exactly"};
    VORN_TRY_ASSIGN(const std::string new_body,
                    with_value_set(body, *spelled_section, *spelled_key, *spelled_value));
    const std::string new_text = std::string(text.substr(0, text.size() - body.size())) + new_body;
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
