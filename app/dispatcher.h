// The program's one way in: the runtime calls dispatch() with the code offset
// that the image names (start routine, clean-up, event handlers).
#pragma once

#include "runtime/core/contract/abi.h"

#include <cstdint>

namespace vorn::app {

// Runs the entry at `code_offset`; an offset that is no entry does nothing
// and returns 0 (the runtime only calls offsets the image binds).
std::uint64_t dispatch(const VornServices& services, std::uint32_t code_offset, const VornArgs& args);

} // namespace vorn::app
