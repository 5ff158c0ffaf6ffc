// Whole-file reads and writes for the file commands. A write goes to a
// temporary file beside the target, which then replaces it, so that a failed
// write never leaves a half-written file under the target's name.
#pragma once

#include "base/bytes.h"
#include "base/result.h"

#include <filesystem>

namespace vorn::runtime {

// Larger files are refused rather than read into memory.
inline constexpr std::uint64_t kMaxFileSize = 256u << 20;

Result<Bytes> read_whole_file(const std::filesystem::path& file);
Status write_whole_file(const std::filesystem::path& file, ByteView bytes);

} // namespace vorn::runtime
