// How many bytes can be read from an address handed to us by the stub: the
// image is embedded in the executable, so the readable extent of the module
// mapping bounds every read of it.
#pragma once

#include "base/bytes.h"

namespace vorn::runtime {

ByteView readable_bytes_from(const void* address);

} // namespace vorn::runtime
