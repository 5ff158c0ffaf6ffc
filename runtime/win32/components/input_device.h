// The input device component: once enabled it watches the pointer and the
// mouse buttons over the whole screen, whichever window is active or shown,
// and reports through events 2 and 3 (see portable/device_poller.h). The
// pointer and other programs' clicks are polled on a timer; clicks on our
// own windows are taken from their messages by a mouse hook on this thread,
// so that they are reported in a fixed order with the events they raise.
#pragma once

#include "runtime/win32/components/component.h"
#include "runtime/win32/portable/device_poller.h"

namespace vorn::win32 {

class InputDevice final : public Component {
  public:
    InputDevice(Win32Desktop& desktop, runtime::LiveWindow& window, runtime::LiveElement& element);
    ~InputDevice() override;
    // One of the three preparation commands (selectors of the support
    // library): enable with a logical, the polling interval in
    // milliseconds, and a mode that this runtime keeps but does not use.
    void prepare(std::uint32_t selector, std::int64_t value);
    void on_timer() override;
    void on_notice() override;
    void detach() override;

  private:
    static LRESULT CALLBACK mouse_hook(int code, WPARAM message, LPARAM info);
    void enable(bool on);
    void button_message(UINT message);
    // False when the device is gone afterwards.
    bool raise_reports(const std::vector<DeviceReport>& reports);

    DevicePoller poller_;
    UINT interval_;
    bool enabled_ = false;
};

} // namespace vorn::win32
