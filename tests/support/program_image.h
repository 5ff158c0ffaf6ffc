// Test programs: an image around window definitions written in a test, with
// native handlers at the code offsets the definitions bind.
#pragma once

#include "base/bytes.h"
#include "forms/section.h"
#include "runtime/core/engine/engine.h"

#include <cstdint>
#include <memory>

namespace vorn::testing {

// The product's tables and small sections with these windows, a code section
// of `code_size` bytes, and the start routine at `start_offset` in it.
// Throws on definitions the writers refuse: a test's own mistake.
Bytes image_with_windows(const forms::FormSection& windows, std::uint32_t start_offset,
                         std::uint32_t code_size = 0x100);
std::unique_ptr<runtime::Program> load_test_program(const forms::FormSection& windows,
                                                    std::uint32_t start_offset,
                                                    std::uint32_t code_size = 0x100);

} // namespace vorn::testing
