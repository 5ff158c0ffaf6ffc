// The settings file: one value read or written per call, the file read
// afresh every time so that edits made while the program runs take effect at
// the next access. Sections, keys and values are GBK bytes; the format is
// described in profile.h. A file that starts with the UTF-8 byte-order mark
// holds UTF-8 instead, and keeps its mark and its encoding when rewritten.
//
// Reads never fail: a missing, unreadable or oversized file reads as the
// default. A write either replaces the whole file with its updated copy or
// leaves it exactly as it was: the new text goes to a temporary file beside
// it (the file's name plus ".tmp"; the program runs one instance, so the
// fixed name never collides, and one left by a crash is overwritten), which
// then replaces the file in one step.
#pragma once

#include "base/result.h"
#include "runtime/core/settings/file_system.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace vorn::settings {

// Larger files are not read (their values read as defaults) and never
// rewritten. The settings file holds a few dozen short lines, but one that a
// user or a stray program has bloated to megabytes still keeps the user's
// choices: the limit only bounds the memory a read and a rewrite take.
inline constexpr std::uint64_t max_file_size = 32 * 1024 * 1024;

std::string read_value(FileSystem& file_system, const std::filesystem::path& file, std::string_view section,
                       std::string_view key, std::string_view default_value = {});

// Creates the file, the section and the key as needed. An Error, with the file
// untouched, when the file cannot be read, is or would grow too large, or
// cannot be replaced, or when the names or value cannot be stored (see
// with_value_set).
Status write_value(FileSystem& file_system, const std::filesystem::path& file, std::string_view section,
                   std::string_view key, std::string_view value);

inline std::string read_value(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::string_view default_value = {}) {
    return read_value(real_file_system(), file, section, key, default_value);
}

inline Status write_value(const std::filesystem::path& file, std::string_view section, std::string_view key,
                          std::string_view value) {
    return write_value(real_file_system(), file, section, key, value);
}

// Where a write puts the new text before it replaces `file`.
std::filesystem::path temporary_path(const std::filesystem::path& file);

} // namespace vorn::settings
