// The transparent label: its text in its colour, over whatever the window or
// container holding it shows behind it.
#pragma once

#include "runtime/win32/controls/control.h"

namespace vorn::win32 {

class TransparentLabel final : public Control {
  public:
    explicit TransparentLabel(const ControlArgs& args) : Control(args) { captures_mouse_ = true; }
    bool open(HWND parent);

  protected:
    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam) override;

  private:
    void paint();
};

} // namespace vorn::win32
