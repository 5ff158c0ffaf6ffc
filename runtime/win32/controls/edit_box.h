// The edit box: the system's single-line EDIT. Whole-number input mode (3)
// is ES_NUMBER. What the user types goes into the model before event 0
// (content changed) is raised; the program's own writes of the text raise
// nothing.
#pragma once

#include "runtime/win32/controls/control.h"

namespace vorn::win32 {

class EditBox final : public Control {
  public:
    explicit EditBox(const ControlArgs& args) : Control(args) {}
    bool open(HWND parent);
    void property_changed(PropertyId property) override;
    void on_command(WORD code) override;
    std::optional<LRESULT> on_control_colour(HDC dc) override;
};

} // namespace vorn::win32
