// The check box: the system's automatic check box. A click toggles it; the
// new state goes into the model before event 0 is raised, and the program's
// writes of the checked property set it without raising anything.
#pragma once

#include "runtime/win32/controls/control.h"

namespace vorn::win32 {

class CheckBox final : public Control {
  public:
    explicit CheckBox(const ControlArgs& args) : Control(args) {}
    bool open(HWND parent);
    void property_changed(PropertyId property) override;
    void on_command(WORD code) override;
    std::optional<LRESULT> on_control_colour(HDC dc) override;
};

} // namespace vorn::win32
