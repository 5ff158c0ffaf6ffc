// A control of a class this runtime does not draw yet: it takes its place,
// its geometry, visibility and cursor, and raises the shared mouse and key
// events, but shows only its back colour.
#pragma once

#include "runtime/win32/controls/control.h"

namespace vorn::win32 {

// FIXME: the colour picker (a button that opens ChooseColorW, then updates
// its colour and raises event 0) and the font picker (ChooseFontW, font,
// event 0) of the editing window are shown as plain controls.
class PlainControl final : public Control {
  public:
    explicit PlainControl(const ControlArgs& args) : Control(args) { captures_mouse_ = true; }
    bool open(HWND parent);

  protected:
    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam) override;
};

} // namespace vorn::win32
