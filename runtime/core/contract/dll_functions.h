// The Windows functions that the program calls directly, through the image's
// DLL command table. The image builder writes the table from this list, the
// program calls by its indices, the engine checks argument counts against it,
// and both desktops read how each result and argument is to be treated.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vorn::contract {

// How much of the result register belongs to the function.
enum class DllResult : std::uint8_t {
    full,  // a handle or pointer: all 64 bits
    int32, // a BOOL or LONG: only the low half, and a LONG is signed
};

// What a successful call does to the objects passed in.
enum class DllOwnership : std::uint8_t {
    none,
    // The bitmap (second argument) now belongs to the clipboard: whoever
    // made it must not delete it any more.
    clipboard_takes_bitmap,
};

// Screen geometry the function writes through its second argument, which a
// desktop whose units are not the screen's pixels converts.
enum class DllGeometry : std::uint8_t {
    none,
    rect,      // a RECT: left, top, right, bottom
    placement, // a WINDOWPLACEMENT: its minimised and maximised points, its restored RECT
};

// X(function, index, library, argument count, result, ownership, geometry). The index
// is the function's fixed position in the image's table; an empty library
// means the runtime's default system library.
#define VORN_DLL_FUNCTIONS(X)                                                                                \
    X(OpenClipboard, 0, "", 1, int32, none, none)                                                            \
    X(EmptyClipboard, 1, "", 0, int32, none, none)                                                           \
    X(SetClipboardData, 2, "", 2, full, clipboard_takes_bitmap, none)                                        \
    X(CloseClipboard, 3, "", 0, int32, none, none)                                                           \
    X(GetWindowRect, 4, "user32", 2, int32, none, rect)                                                      \
    X(GetWindowPlacement, 5, "user32", 2, int32, none, placement)                                            \
    X(GetParent, 6, "", 1, full, none, none)                                                                 \
    X(GetWindowLongA, 7, "", 2, int32, none, none)                                                           \
    X(SetWindowLongA, 8, "", 3, int32, none, none)                                                           \
    X(SetLayeredWindowAttributes, 9, "", 4, int32, none, none)

enum class DllCommand : std::uint32_t {
#define VORN_DLL_ENUM(function, index, library, arity, result, ownership, geometry) function = index,
    VORN_DLL_FUNCTIONS(VORN_DLL_ENUM)
#undef VORN_DLL_ENUM
};

struct DllFunction {
    DllCommand command;
    std::string_view name;
    std::string_view library;
    std::size_t argument_count;
    DllResult result;
    DllOwnership ownership;
    DllGeometry geometry;
};

// In index order.
inline constexpr auto kDllFunctions = std::to_array<DllFunction>({
#define VORN_DLL_ROW(function, index, library, arity, result, ownership, geometry)                           \
    {DllCommand::function, #function, library, arity, DllResult::result, DllOwnership::ownership,            \
     DllGeometry::geometry},
    VORN_DLL_FUNCTIONS(VORN_DLL_ROW)
#undef VORN_DLL_ROW
});

// The image's table is written in this order, so an index must be its row.
constexpr bool dll_indices_are_positions() {
    for (std::size_t i = 0; i < kDllFunctions.size(); ++i)
        if (static_cast<std::size_t>(kDllFunctions[i].command) != i)
            return false;
    return true;
}
static_assert(dll_indices_are_positions());

// Null for a function the program does not call.
constexpr const DllFunction* find_dll_function(std::string_view name) {
    for (const DllFunction& function : kDllFunctions)
        if (function.name == name)
            return &function;
    return nullptr;
}

constexpr const DllFunction& dll_function(DllCommand command) {
    return kDllFunctions[static_cast<std::size_t>(command)];
}

} // namespace vorn::contract
