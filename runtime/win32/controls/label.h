// The label: a text in its font and colours on its own back colour. Drawn by
// the runtime rather than by a STATIC control, so that every colour and
// font the program sets shows the same on every system.
#pragma once

#include "runtime/win32/controls/control.h"

namespace vorn::win32 {

class Label final : public Control {
  public:
    explicit Label(const ControlArgs& args) : Control(args) { captures_mouse_ = true; }
    bool open(HWND parent);
    bool is_backdrop() const override { return true; }
    COLORREF background_colour() const override;

  protected:
    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam) override;

  private:
    void paint();
};

} // namespace vorn::win32
