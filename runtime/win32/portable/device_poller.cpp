#include "runtime/win32/portable/device_poller.h"

namespace vorn::win32 {

void DevicePoller::compare(Button& button, const ButtonSample& now, std::int64_t code,
                           std::vector<DeviceReport>& out) {
    const DeviceReport report{forms::event::kKeyInput, code, 0};
    // Transitions that happened between two samples come out as the presses
    // and releases they must have been, in order.
    int transitions = button.down != now.down ? 1 : 0;
    if (now.pressed_since && (button.down || !now.down))
        transitions += 2; // a whole click, or a release and a new press, went by unseen
    for (int i = 0; i < transitions; ++i)
        out.push_back(report);
    button.down = now.down;
}

std::vector<DeviceReport> DevicePoller::sample(const PointerSample& now) {
    std::vector<DeviceReport> out;
    if (!started_) {
        started_ = true;
        x_ = now.x;
        y_ = now.y;
        left_.down = now.left.down;
        right_.down = now.right.down;
        return out;
    }
    if (now.x != x_ || now.y != y_) {
        x_ = now.x;
        y_ = now.y;
        out.push_back({forms::event::kMouseInput, now.x, now.y});
    }
    compare(left_, now.left, forms::event::kLeftButtonCode, out);
    compare(right_, now.right, forms::event::kRightButtonCode, out);
    return out;
}

} // namespace vorn::win32
