#include "runtime/win32/components/input_device.h"

#include "runtime/core/contract/commands.h"
#include "runtime/win32/trace.h"

#include <vector>

namespace vorn::win32 {

namespace {

namespace lc = contract::library_command;

// Polling faster than this costs more than it shows; slower, and a pick
// feels late.
constexpr UINT kDefaultInterval = 50;
constexpr std::int64_t kShortestInterval = 10;
constexpr std::int64_t kLongestInterval = 1000;

ButtonSample button(int virtual_key) {
    const SHORT state = GetAsyncKeyState(virtual_key);
    return {(state & 0x8000) != 0, (state & 0x0001) != 0};
}

} // namespace

InputDevice::InputDevice(Win32Desktop& desktop, runtime::LiveWindow& window, runtime::LiveElement& element)
    : Component(desktop, window, element), interval_(kDefaultInterval) {}

void InputDevice::prepare(std::uint32_t selector, std::int64_t value) {
    switch (selector) {
    case lc::kInputDeviceEnable:
        enabled_ = value != 0;
        if (enabled_) {
            poller_.restart();
            start_timer(interval_);
        } else {
            stop_timer();
        }
        break;
    case lc::kInputDeviceInterval:
        if (value >= kShortestInterval && value <= kLongestInterval)
            interval_ = UINT(value);
        if (timer_running())
            start_timer(interval_);
        break;
    default: // the mode: nothing here depends on it
        break;
    }
}

void InputDevice::on_timer() {
    PointerSample now;
    POINT at{};
    if (!GetCursorPos(&at))
        return; // no pointer to read (a locked workstation): try again next time
    now.x = at.x;
    now.y = at.y;
    // GetAsyncKeyState reads the physical buttons; with swapped buttons the
    // physical right one is the logical left.
    const bool swapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
    now.left = button(swapped ? VK_RBUTTON : VK_LBUTTON);
    now.right = button(swapped ? VK_LBUTTON : VK_RBUTTON);
    const std::vector<DeviceReport> reports = poller_.sample(now);
    for (const DeviceReport& report : reports) {
        const bool still_here = report.event == forms::event::kMouseInput
                                    ? raise(report.event, {report.first, report.second})
                                    : raise(report.event, {report.first});
        if (!still_here)
            return;
    }
}

} // namespace vorn::win32
