// A tiny program for driving the simulated desktop through the real engine:
// a main window and a dialog whose events are bound to handlers that each test writes
// in C++ against the program facade.
#pragma once

#include "runtime/core/engine/engine.h"
#include "runtime/facade/runtime.h"
#include "runtime/sim/sim_desktop.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

namespace vorn::sim::testing {

namespace program {
inline constexpr std::uint32_t kMain = 0x52010001;
inline constexpr std::uint32_t kMainOwn = 0x06010000;
inline constexpr std::uint32_t kCopy = 0x16010010;    // push button
inline constexpr std::uint32_t kHidden = 0x16010011;  // push button, created hidden
inline constexpr std::uint32_t kOutside = 0x16010012; // push button beyond the window's right edge
inline constexpr std::uint32_t kCanvas = 0x16010013;
inline constexpr std::uint32_t kCheck = 0x16010014;
inline constexpr std::uint32_t kDevice = 0x16010015;
inline constexpr std::uint32_t kMenu = 0x26010020;
inline constexpr std::uint32_t kMenuItem = 0x26010021;
inline constexpr std::uint32_t kDialog = 0x52010030;
inline constexpr std::uint32_t kDialogOwn = 0x06010031;
inline constexpr std::uint32_t kDialogButton = 0x16010032; // push button

// Handler offsets in the code section.
inline constexpr std::uint32_t kStart = 0x10;
inline constexpr std::uint32_t kButtonClicked = 0x20; // every push button
inline constexpr std::uint32_t kCanvasRightPress = 0x30;
inline constexpr std::uint32_t kCheckClicked = 0x40;
inline constexpr std::uint32_t kDevicePointer = 0x50;
inline constexpr std::uint32_t kMenuClicked = 0x60;

// Main window (50, 50), 400 × 300, shown when loaded.
inline constexpr facade::Control kMainWindow{kMain, kMainOwn, forms::class_id::window};
inline constexpr facade::Control kCheckBox{kMain, kCheck, forms::class_id::check_box};
} // namespace program

using Handler = std::function<void(const facade::Runtime&, const facade::EventArgs&)>;

// The engine over a SimDesktop, running the program whose start routine
// loads the main window and runs the message loop.
class SimProgram {
  public:
    SimProgram();
    void on(std::uint32_t offset, Handler handler) { handlers_[offset] = std::move(handler); }
    int run(SimDesktop::Script session) { return desktop.run(*engine, std::move(session)); }

    SimDesktop desktop;
    std::unique_ptr<runtime::Engine> engine;

  private:
    std::map<std::uint32_t, Handler> handlers_;
};

} // namespace vorn::sim::testing
