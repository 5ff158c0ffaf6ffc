// The Windows functions that the program calls directly through its DLL
// command table, answered from the simulated windows and clipboard. The
// contract's table gives each function's argument count, so that every call
// is checked and traced the same way; this one gives its behaviour.
#pragma once

#include "runtime/sim/clipboard.h"
#include "runtime/sim/pictures.h"
#include "runtime/sim/windows.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vorn::sim {

// Wire size of WINDOWPLACEMENT, which GetWindowPlacement insists is set in
// the record's length field before the call.
inline constexpr std::uint32_t kWindowPlacementSize = 44;
inline constexpr std::uint32_t kRectSize = 16;
inline constexpr std::int32_t kExStyleIndex = -20;

struct DllCall {
    std::uint64_t result = 0;
    std::string line; // "GetWindowRect(记事本, &0x7ffd...) -> 1 [10,20,310,220]"
};

class User32 {
  public:
    User32(WindowTable& windows, Clipboard& clipboard) : windows_(windows), clipboard_(clipboard) {}

    // The number of arguments the function takes; nullopt for a function
    // that the simulated system does not have.
    static std::optional<std::size_t> arity(std::string_view function);
    // `args` must have the function's arity. Records are read from and
    // written to the addresses in `args`, which lie in this process.
    DllCall call(std::string_view function, std::span<const std::uint64_t> args);

  private:
    struct Entry;
    static const Entry* find(std::string_view function);

    std::uint64_t open_clipboard(std::span<const std::uint64_t> args, std::string& shown);
    std::uint64_t empty_clipboard(std::span<const std::uint64_t> args, std::string& shown);
    std::uint64_t set_clipboard_data(std::span<const std::uint64_t> args, std::string& shown);
    std::uint64_t close_clipboard(std::span<const std::uint64_t> args, std::string& shown);
    std::uint64_t get_window_rect(std::span<const std::uint64_t> args, std::string& shown);
    std::uint64_t get_window_placement(std::span<const std::uint64_t> args, std::string& shown);
    std::uint64_t get_parent(std::span<const std::uint64_t> args, std::string& shown);
    std::uint64_t get_window_long(std::span<const std::uint64_t> args, std::string& shown);
    std::uint64_t set_window_long(std::span<const std::uint64_t> args, std::string& shown);
    std::uint64_t set_layered_attributes(std::span<const std::uint64_t> args, std::string& shown);

    WindowTable& windows_;
    Clipboard& clipboard_;
};

} // namespace vorn::sim
