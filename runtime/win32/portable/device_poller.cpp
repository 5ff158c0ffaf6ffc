#include "runtime/win32/portable/device_poller.h"

namespace vorn::win32 {

namespace {

DeviceReport button_report(std::int64_t code) {
    return {forms::event::kKeyInput, code, 0};
}

} // namespace

void DevicePoller::compare(Button& button, const ButtonSample& now, std::int64_t code,
                           std::vector<DeviceReport>& out) {
    // Transitions that happened between two samples come out as the presses
    // and releases they must have been, in order.
    int transitions = button.down != now.down ? 1 : 0;
    if (now.pressed_since && !button.press_reported && (button.down || !now.down))
        transitions += 2; // a whole click, or a release and a new press, went by unseen
    for (int i = 0; i < transitions; ++i)
        out.push_back(button_report(code));
    button.down = now.down;
    button.press_reported = false;
}

void DevicePoller::restart() {
    started_ = false;
    from_messages_.clear();
}

std::vector<DeviceReport> DevicePoller::sample(const PointerSample& now, bool button_messages_waiting) {
    std::vector<DeviceReport> out;
    if (!started_) {
        started_ = true;
        x_ = now.x;
        y_ = now.y;
        left_ = {now.left.down, false};
        right_ = {now.right.down, false};
        return out;
    }
    if (now.x != x_ || now.y != y_) {
        x_ = now.x;
        y_ = now.y;
        out.push_back({forms::event::kMouseInput, now.x, now.y});
    }
    if (button_messages_waiting)
        return out;
    compare(left_, now.left, forms::event::kLeftButtonCode, out);
    compare(right_, now.right, forms::event::kRightButtonCode, out);
    return out;
}

void DevicePoller::own_button_message(MouseButton which, bool down) {
    if (!started_)
        return; // not watching yet
    Button& button = which == MouseButton::left ? left_ : right_;
    const std::int64_t code =
        which == MouseButton::left ? forms::event::kLeftButtonCode : forms::event::kRightButtonCode;
    if (down) {
        if (button.down) // its release went to another program unseen
            from_messages_.push_back(button_report(code));
        from_messages_.push_back(button_report(code));
        button.press_reported = true;
    } else if (button.down) {
        from_messages_.push_back(button_report(code));
    }
    // A release of a press made before the device watched is no report.
    button.down = down;
}

std::vector<DeviceReport> DevicePoller::take_message_reports() {
    std::vector<DeviceReport> out;
    out.swap(from_messages_);
    return out;
}

} // namespace vorn::win32
