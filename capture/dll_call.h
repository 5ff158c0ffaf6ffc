// The program's calls of Windows functions through the image's DLL command
// table, by the table's names rather than bare indices.
#pragma once

#include "runtime/core/contract/dll_functions.h"
#include "runtime/facade/runtime.h"

#include <cstdint>
#include <initializer_list>

namespace vorn::capture {

inline std::uint64_t call(const facade::Runtime& runtime, contract::DllCommand command,
                          std::initializer_list<std::uint64_t> args) {
    return runtime.call_dll(static_cast<std::uint32_t>(command), args);
}

// A BOOL result: only the low 32 bits carry the answer.
inline bool succeeded(std::uint64_t result) {
    return std::uint32_t(result) != 0;
}

} // namespace vorn::capture
