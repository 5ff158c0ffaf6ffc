// The colour picker: a small button showing its colour. A click opens the
// system's colour dialog on that colour; a colour chosen there goes into
// the model before event 0 (colour chosen) is raised.
#pragma once

#include "runtime/win32/controls/control.h"

namespace vorn::win32 {

class ColourPicker final : public Control {
  public:
    explicit ColourPicker(const ControlArgs& args) : Control(args) {}
    bool open(HWND parent);

  protected:
    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam) override;
    bool paints_itself() const override { return true; }
    void paint() override;

  private:
    void choose();

    bool held_ = false;
};

} // namespace vorn::win32
