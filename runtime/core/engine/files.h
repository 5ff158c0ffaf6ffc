// Whole-file reads and writes for the file commands. A write goes to a
// temporary file beside the target, which then replaces it, so that a failed
// write never leaves a half-written file under the target's name. The
// desktop supplies the file system (the simulated one can make a folder
// read-only or full).
#pragma once

#include "base/bytes.h"
#include "base/result.h"
#include "runtime/core/contract/commands.h"
#include "runtime/core/settings/file_system.h"

#include <filesystem>

namespace vorn::runtime {

// Larger files are refused rather than read into memory.
inline constexpr std::uint64_t kMaxFileSize = 256u << 20;

Result<Bytes> read_whole_file(settings::FileSystem& files, const std::filesystem::path& file);
Status write_whole_file(settings::FileSystem& files, const std::filesystem::path& file, ByteView bytes);

// Why a write failed, in the words the program has for it.
contract::FileFailure file_failure(const Error& error);

} // namespace vorn::runtime
