// Run-time error codes. 1, 4 and 6 are the program's own (index checks, a DLL
// call with the wrong arguments); the rest mark a program that broke the
// contract with the runtime (a command given arguments it cannot take, an
// element that does not exist), which a correct program never does.
#pragma once

#include <cstdint>

namespace vorn::runtime {

inline constexpr std::uint32_t kIndexError = 1;
inline constexpr std::uint32_t kArrayIndexError = 4;
inline constexpr std::uint32_t kDllArgumentError = 6;
inline constexpr std::uint32_t kContractError = 100;

} // namespace vorn::runtime
