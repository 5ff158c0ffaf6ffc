// The input device component watches the pointer and the mouse buttons over
// the whole screen by polling (GetCursorPos and GetAsyncKeyState on a
// timer). This turns successive samples into the component's reports:
// mouse input when the pointer has moved (screen x, y), key input for every
// press and every release of the left or right button.
#pragma once

#include "forms/events.h"

#include <cstdint>
#include <vector>

namespace vorn::win32 {

struct ButtonSample {
    bool down = false;
    // Pressed at some moment since the previous sample (GetAsyncKeyState's
    // low bit): a click shorter than the polling interval still counts.
    bool pressed_since = false;
};

struct PointerSample {
    std::int32_t x = 0;
    std::int32_t y = 0;
    ButtonSample left;
    ButtonSample right;
};

struct DeviceReport {
    std::int32_t event = 0;
    std::int64_t first = 0;
    std::int64_t second = 0;
    bool operator==(const DeviceReport&) const = default;
};

class DevicePoller {
  public:
    // The first sample after (re)starting only sets the baseline: a button
    // held when the device is enabled is not reported as a press.
    std::vector<DeviceReport> sample(const PointerSample& now);
    void restart() { started_ = false; }

  private:
    struct Button {
        bool down = false;
    };
    static void compare(Button& button, const ButtonSample& now, std::int64_t code,
                        std::vector<DeviceReport>& out);

    bool started_ = false;
    std::int32_t x_ = 0;
    std::int32_t y_ = 0;
    Button left_;
    Button right_;
};

} // namespace vorn::win32
