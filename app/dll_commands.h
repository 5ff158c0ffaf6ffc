// The image's DLL command table: the Windows functions the program calls
// directly, by their fixed position in the table. The image builder writes
// the table from this list and the handlers call by these indices.
//
// X(function, library): an empty library means the runtime's default system
// libraries.
#pragma once

#include <cstdint>

#define VORN_DLL_COMMANDS(X)                                                                                 \
    X(OpenClipboard, "")                                                                                     \
    X(EmptyClipboard, "")                                                                                    \
    X(SetClipboardData, "")                                                                                  \
    X(CloseClipboard, "")                                                                                    \
    X(GetWindowRect, "user32")                                                                               \
    X(GetWindowPlacement, "user32")                                                                          \
    X(GetParent, "")                                                                                         \
    X(GetWindowLongA, "")                                                                                    \
    X(SetWindowLongA, "")                                                                                    \
    X(SetLayeredWindowAttributes, "")

namespace vorn::app {

enum class DllCommand : std::uint32_t {
#define VORN_DLL_ENUM(function, library) function,
    VORN_DLL_COMMANDS(VORN_DLL_ENUM)
#undef VORN_DLL_ENUM
};

} // namespace vorn::app
