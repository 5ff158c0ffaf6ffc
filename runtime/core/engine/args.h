// Checked access to a command's argument block: the shapes are checked against
// the command's table entry before the command acts, so a command never reads
// an argument of the wrong type.
#pragma once

#include "base/bytes.h"
#include "runtime/core/contract/abi.h"
#include "runtime/core/contract/commands.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vorn::runtime {

class Engine;

struct ControlRef {
    std::uint32_t window = 0;
    std::uint32_t element = 0;
    std::uint32_t class_id = 0;
};

class Args {
  public:
    // Ends the program with a contract error when the block does not fit `specs`.
    Args(Engine& engine, std::string_view command, const VornArgs& args,
         std::span<const contract::ArgSpec> specs);

    bool present(std::size_t index) const;
    std::int64_t integer(std::size_t index, std::int64_t fallback = 0) const;
    std::optional<std::int64_t> optional_integer(std::size_t index) const;
    bool logical(std::size_t index) const;
    std::string text(std::size_t index) const;
    // The caller's block itself, valid until the command returns.
    ByteView block(std::size_t index) const;
    // Whether an argument of shape Any is a byte block.
    bool is_block(std::size_t index) const;
    double real(std::size_t index) const;
    ControlRef control(std::size_t index) const;

  private:
    const VornArg* at(std::size_t index) const;
    const VornArgs& args_;
};

} // namespace vorn::runtime
