#include "runtime/win32/components/input_device.h"

#include "runtime/core/contract/commands.h"
#include "runtime/win32/dpi.h"
#include "runtime/win32/trace.h"
#include "runtime/win32/win32_desktop.h"

#include <algorithm>
#include <vector>

namespace vorn::win32 {

namespace {

namespace lc = contract::library_command;

// Polling faster than this costs more than it shows; slower, and a pick
// feels late.
constexpr UINT kDefaultInterval = 50;
constexpr std::int64_t kShortestInterval = 10;
constexpr std::int64_t kLongestInterval = 1000;

// The devices listening to this thread's mouse messages, and the hook that
// feeds them: one hook however many devices.
std::vector<InputDevice*>& listeners() {
    static std::vector<InputDevice*> devices;
    return devices;
}
HHOOK g_hook = nullptr;

ButtonSample button(int virtual_key) {
    const SHORT state = GetAsyncKeyState(virtual_key);
    return {(state & 0x8000) != 0, (state & 0x0001) != 0};
}

} // namespace

InputDevice::InputDevice(Win32Desktop& desktop, runtime::LiveWindow& window, runtime::LiveElement& element)
    : Component(desktop, window, element), interval_(kDefaultInterval) {}

InputDevice::~InputDevice() {
    enable(false);
}

void InputDevice::detach() {
    enable(false);
    Component::detach();
}

LRESULT CALLBACK InputDevice::mouse_hook(int code, WPARAM message, LPARAM info) {
    // HC_NOREMOVE is a look at the queue, not the message being taken.
    if (code == HC_ACTION)
        for (InputDevice* device : std::vector<InputDevice*>(listeners()))
            device->button_message(UINT(message));
    return CallNextHookEx(g_hook, code, message, info);
}

void InputDevice::enable(bool on) {
    std::vector<InputDevice*>& devices = listeners();
    const auto found = std::find(devices.begin(), devices.end(), this);
    if (on && found == devices.end()) {
        devices.push_back(this);
        if (g_hook == nullptr)
            g_hook = SetWindowsHookExW(WH_MOUSE, &InputDevice::mouse_hook, nullptr, GetCurrentThreadId());
        trace(std::string("input device hook ") + (g_hook != nullptr ? "set" : "refused"));
    } else if (!on && found != devices.end()) {
        devices.erase(found);
        if (devices.empty() && g_hook != nullptr) {
            UnhookWindowsHookEx(g_hook);
            g_hook = nullptr;
        }
    }
}

void InputDevice::prepare(std::uint32_t selector, std::int64_t value) {
    switch (selector) {
    case lc::kInputDeviceEnable:
        enabled_ = value != 0;
        enable(enabled_);
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

void InputDevice::button_message(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        poller_.own_button_message(MouseButton::left, true);
        break;
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
        poller_.own_button_message(MouseButton::left, false);
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
        poller_.own_button_message(MouseButton::right, true);
        break;
    case WM_RBUTTONUP:
    case WM_NCRBUTTONUP:
        poller_.own_button_message(MouseButton::right, false);
        break;
    default:
        return;
    }
    if (poller_.has_message_reports())
        desktop_.post_notice(*this);
}

bool InputDevice::raise_reports(const std::vector<DeviceReport>& reports) {
    for (const DeviceReport& report : reports) {
        const bool still_here = report.event == forms::event::kMouseInput
                                    ? raise(report.event, {report.first, report.second})
                                    : raise(report.event, {report.first});
        if (!still_here)
            return false;
    }
    return true;
}

void InputDevice::on_notice() {
    if (enabled_)
        raise_reports(poller_.take_message_reports());
}

void InputDevice::on_timer() {
    // Reports of messages whose notice has not come yet go first, in order.
    if (!raise_reports(poller_.take_message_reports()))
        return;
    PointerSample now;
    POINT at{};
    if (!GetCursorPos(&at))
        return; // no pointer to read (a locked workstation): try again next time
    // The program counts the screen in units too.
    const std::uint32_t dpi = screen_dpi();
    now.x = to_units(at.x, dpi);
    now.y = to_units(at.y, dpi);
    // GetAsyncKeyState reads the physical buttons; with swapped buttons the
    // physical right one is the logical left.
    const bool swapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
    now.left = button(swapped ? VK_RBUTTON : VK_LBUTTON);
    now.right = button(swapped ? VK_LBUTTON : VK_RBUTTON);
    // Read after the buttons: reading them may take pending input in.
    const bool waiting = HIWORD(GetQueueStatus(QS_MOUSEBUTTON)) != 0;
    raise_reports(poller_.sample(now, waiting));
}

} // namespace vorn::win32
