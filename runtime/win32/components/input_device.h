// The input device component: once enabled it watches the pointer and the
// mouse buttons over the whole screen, whichever window is active or shown,
// by polling on a timer, and reports through events 2 and 3 (see
// portable/device_poller.h).
#pragma once

#include "runtime/win32/components/component.h"
#include "runtime/win32/portable/device_poller.h"

namespace vorn::win32 {

class InputDevice final : public Component {
  public:
    InputDevice(Win32Desktop& desktop, runtime::LiveWindow& window, runtime::LiveElement& element);
    // One of the three preparation commands (selectors of the support
    // library): enable with a logical, the polling interval in
    // milliseconds, and a mode that this runtime keeps but does not use.
    void prepare(std::uint32_t selector, std::int64_t value);
    void on_timer() override;

  private:
    DevicePoller poller_;
    UINT interval_;
    bool enabled_ = false;
};

} // namespace vorn::win32
