// Builds the const section's data. Constants are found only by their offset,
// so the pool hands out offsets and never moves what it has stored.
#pragma once

#include "base/bytes.h"
#include "base/result.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace vorn::image {

class ConstPool {
  public:
    // Offset 0 always holds an empty binary constant, so that 0 can stand for
    // an empty byte block.
    static constexpr std::uint32_t kEmptyBlock = 0;

    ConstPool();

    // A zero-terminated text; equal texts share one copy.
    Result<std::uint32_t> text(std::string_view value);
    // A binary constant: 32-bit 1, 32-bit length, the bytes.
    std::uint32_t binary(ByteView value);
    // An 8-byte IEEE double.
    std::uint32_t real(double value);

    const Bytes& data() const { return data_; }

  private:
    std::uint32_t append(ByteView bytes);

    Bytes data_;
    std::map<std::string, std::uint32_t, std::less<>> texts_;
};

} // namespace vorn::image
