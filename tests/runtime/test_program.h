// A small program for the engine tests: an image with two windows whose
// events are bound to handlers written here in C++, and the dispatcher that
// the engine calls with those handlers' code offsets.
#pragma once

#include "base/bytes.h"
#include "runtime/facade/runtime.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace vorn::testing {

namespace ids {
inline constexpr std::uint32_t kMain = 0x52010001;
inline constexpr std::uint32_t kMainOwn = 0x06010000;
inline constexpr std::uint32_t kButton = 0x16010010;
inline constexpr std::uint32_t kCanvas = 0x16010011;
inline constexpr std::uint32_t kEdit = 0x16010012;
inline constexpr std::uint32_t kDevice = 0x16010013;
inline constexpr std::uint32_t kFrame = 0x16010014;
inline constexpr std::uint32_t kInner = 0x16010015;
inline constexpr std::uint32_t kMenu = 0x26010020;
inline constexpr std::uint32_t kMenuItem = 0x26010021;
inline constexpr std::uint32_t kDialog = 0x52010030;
inline constexpr std::uint32_t kDialogOwn = 0x06010031;
inline constexpr std::uint32_t kCheck = 0x16010032;
} // namespace ids

// Handler offsets in the code section.
namespace handler {
inline constexpr std::uint32_t kStart = 0x10;
inline constexpr std::uint32_t kCleanup = 0x20;
inline constexpr std::uint32_t kMainCreated = 0x30;
inline constexpr std::uint32_t kMainDestroyed = 0x40;
inline constexpr std::uint32_t kButtonClicked = 0x50;
inline constexpr std::uint32_t kCanvasPressed = 0x60;
inline constexpr std::uint32_t kCanvasMoved = 0x70;
inline constexpr std::uint32_t kEditKey = 0x80;
inline constexpr std::uint32_t kDeviceButton = 0x90;
inline constexpr std::uint32_t kDialogCreated = 0xA0;
inline constexpr std::uint32_t kCheckClicked = 0xB0;
inline constexpr std::uint32_t kMenuClicked = 0xC0;
inline constexpr std::uint32_t kDevicePointer = 0xD0;
} // namespace handler

// The image of the test program.
Bytes test_program_image();

using Handler = std::function<void(const facade::Runtime&, const facade::EventArgs&)>;

// Routes code offsets to handlers and keeps a log of what ran.
class TestProgram {
  public:
    TestProgram();
    std::uint64_t dispatch(const VornServices& services, std::uint32_t offset, const VornArgs& args);
    void set(std::uint32_t offset, Handler handler) { handlers_[offset] = std::move(handler); }
    std::vector<std::string> log;

  private:
    std::map<std::uint32_t, Handler> handlers_;
};

} // namespace vorn::testing
