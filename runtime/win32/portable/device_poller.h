// The input device component watches the pointer and the mouse buttons over
// the whole screen. This turns what it sees into the component's reports:
// mouse input when the pointer has moved (screen x, y), key input for every
// press and every release of the left or right button.
//
// The buttons are seen two ways. Over our own windows, the button messages
// themselves tell, as the thread takes them from its queue: their reports
// wait until that message has been handled, so a click on one of our buttons
// is reported press first, then the button's own click event, then the
// release. Over other programs' windows, polling (GetCursorPos and
// GetAsyncKeyState on a timer) tells; a poll leaves the buttons alone while
// button messages wait in our queue, for those messages will tell.
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

enum class MouseButton { left, right };

class DevicePoller {
  public:
    // The first sample after (re)starting only sets the baseline: a button
    // held when the device is enabled is not reported as a press.
    // `button_messages_waiting`: button messages of our own windows are in
    // the queue, not yet taken.
    std::vector<DeviceReport> sample(const PointerSample& now, bool button_messages_waiting = false);
    void restart();

    // A button message of one of our windows, as the thread takes it.
    void own_button_message(MouseButton button, bool down);
    // The reports of those messages, to be raised once they are handled.
    std::vector<DeviceReport> take_message_reports();
    bool has_message_reports() const { return !from_messages_.empty(); }

  private:
    struct Button {
        bool down = false;
        // The last press came as a message: the poll's "pressed since" bit
        // it left behind is no new press.
        bool press_reported = false;
    };
    static void compare(Button& button, const ButtonSample& now, std::int64_t code,
                        std::vector<DeviceReport>& out);

    bool started_ = false;
    std::int32_t x_ = 0;
    std::int32_t y_ = 0;
    Button left_;
    Button right_;
    std::vector<DeviceReport> from_messages_;
};

} // namespace vorn::win32
