// A control of a class this runtime does not know: it takes its place, its
// geometry, visibility and cursor, and raises the shared mouse and key
// events, but shows only its back colour.
#pragma once

#include "runtime/win32/controls/control.h"

namespace vorn::win32 {

// Every class of the window definitions has a wrapper of its own; this one
// stands in for a class id that a newer image might bring.
class PlainControl final : public Control {
  public:
    explicit PlainControl(const ControlArgs& args) : Control(args) { captures_mouse_ = true; }
    bool open(HWND parent);

  protected:
    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam) override;
};

} // namespace vorn::win32
