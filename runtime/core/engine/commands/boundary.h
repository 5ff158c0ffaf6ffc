// Results as they cross to the program: texts and blocks as copies the
// program releases, doubles as their bits.
#pragma once

#include "base/bytes.h"
#include "runtime/core/engine/engine.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace vorn::runtime {

inline std::uint64_t boundary_text(const std::string& text) {
    return reinterpret_cast<std::uintptr_t>(Engine::give_text(text));
}

inline std::uint64_t boundary_block(ByteView bytes) {
    return reinterpret_cast<std::uintptr_t>(Engine::give_block(bytes));
}

inline std::uint64_t boundary_block(ProgramBlock block) {
    return reinterpret_cast<std::uintptr_t>(block.hand_over());
}

inline std::uint64_t boundary_double(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

inline std::uint64_t boundary_integer(std::int64_t value) {
    return std::uint64_t(value);
}

// A list of texts crosses as one block: a 32-bit count, then the texts one
// after another, each with its terminating zero.
inline std::uint64_t boundary_text_list(const std::vector<std::string>& texts) {
    ByteWriter out;
    out.u32(std::uint32_t(texts.size()));
    for (const std::string& text : texts)
        out.text(text);
    return boundary_block(ByteView(out.buffer()));
}

} // namespace vorn::runtime
