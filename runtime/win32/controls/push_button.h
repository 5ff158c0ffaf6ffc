// The push button: the system's BUTTON, whose click raises event 0.
#pragma once

#include "runtime/win32/controls/control.h"

namespace vorn::win32 {

class PushButton final : public Control {
  public:
    explicit PushButton(const ControlArgs& args) : Control(args) {}
    bool open(HWND parent);
    void on_command(WORD code) override;
};

} // namespace vorn::win32
