// Bounded access to outside bytes. Every read is checked against the bytes
// that are really there; offsets and sizes are widened to 64 bits before they
// are added, so that no sum can wrap around.
#pragma once

#include "base/result.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

std::string hex(std::uint64_t value);

// Little-endian 32-bit value at `at`; the caller has checked the bounds.
inline std::uint32_t load_u32(const std::uint8_t* at) {
    return std::uint32_t(at[0]) | std::uint32_t(at[1]) << 8 | std::uint32_t(at[2]) << 16 |
           std::uint32_t(at[3]) << 24;
}

inline void store_u32(std::uint8_t* at, std::uint32_t value) {
    at[0] = std::uint8_t(value);
    at[1] = std::uint8_t(value >> 8);
    at[2] = std::uint8_t(value >> 16);
    at[3] = std::uint8_t(value >> 24);
}

// True when [offset, offset + size) lies inside a buffer of `total` bytes.
inline bool fits(std::uint64_t offset, std::uint64_t size, std::uint64_t total) {
    return offset <= total && size <= total - offset;
}

// A read position in a byte range. Errors name `context` (what is being read,
// e.g. "section header 2") and the absolute offset of the failed read, counted
// from `base_offset`, the position of the range in its enclosing buffer.
class ByteCursor {
  public:
    ByteCursor(ByteView bytes, std::string context, std::uint64_t base_offset = 0)
        : bytes_(bytes), context_(std::move(context)), base_(base_offset) {}

    std::size_t position() const { return pos_; }
    std::size_t size() const { return bytes_.size(); }
    std::size_t remaining() const { return bytes_.size() - pos_; }
    std::uint64_t absolute(std::size_t pos) const { return base_ + pos; }
    const std::string& context() const { return context_; }

    Status seek(std::uint64_t pos, std::string_view what);
    Result<std::uint32_t> u32(std::string_view what);
    Result<std::int32_t> i32(std::string_view what);
    Result<std::uint8_t> u8(std::string_view what);
    Result<ByteView> take(std::uint64_t count, std::string_view what);
    // A zero-terminated text; the terminator is consumed but not returned.
    Result<std::string> text(std::string_view what);
    // A 32-bit length followed by that many bytes.
    Result<ByteView> counted(std::string_view what);
    // Checks that `count` entries of `entry_size` bytes are left, before a loop reads them.
    Status expect_entries(std::uint64_t count, std::uint64_t entry_size, std::string_view what) const;

    Error error_at(std::uint64_t pos, std::string_view message) const;

  private:
    ByteView bytes_;
    std::string context_;
    std::uint64_t base_;
    std::size_t pos_ = 0;
};

// Appends little-endian fields to a growing buffer.
class ByteWriter {
  public:
    std::size_t size() const { return out_.size(); }
    void u32(std::uint32_t value);
    void i32(std::int32_t value) { u32(std::uint32_t(value)); }
    void u8(std::uint8_t value) { out_.push_back(value); }
    void bytes(ByteView data) { out_.insert(out_.end(), data.begin(), data.end()); }
    void text(std::string_view value); // with its terminator
    void counted(ByteView data);
    void zeros(std::size_t count) { out_.insert(out_.end(), count, 0); }
    void patch_u32(std::size_t at, std::uint32_t value) { store_u32(out_.data() + at, value); }
    Bytes& buffer() { return out_; }
    const Bytes& buffer() const { return out_; }
    Bytes take() { return std::move(out_); }

  private:
    Bytes out_;
};

inline ByteView as_bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

} // namespace vorn
