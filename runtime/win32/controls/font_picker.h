// The font picker: a drop-down list of the installed font faces showing the
// face of its font property. Choosing another face puts it into the model's
// font (the other fields stay) before event 0 (font chosen) is raised; a
// face the program sets that is not installed is listed as it is.
#pragma once

#include "runtime/win32/controls/control.h"

namespace vorn::win32 {

class FontPicker final : public Control {
  public:
    explicit FontPicker(const ControlArgs& args) : Control(args) {}
    bool open(HWND parent);
    void property_changed(PropertyId property) override;
    void on_command(WORD code) override;

  private:
    void show_face();
    void apply_size();
};

} // namespace vorn::win32
