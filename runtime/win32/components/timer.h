// The timer component: raises its event 0 every `interval` milliseconds; an
// interval of 0 or less stops it.
#pragma once

#include "runtime/win32/components/component.h"

namespace vorn::win32 {

class Timer final : public Component {
  public:
    Timer(Win32Desktop& desktop, runtime::LiveWindow& window, runtime::LiveElement& element);
    void property_changed(forms::PropertyId property) override;
    void on_timer() override;

  private:
    void apply_interval();
};

} // namespace vorn::win32
