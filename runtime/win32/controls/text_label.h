// What both labels share: a window of the runtime's own that draws its text
// property top-left with word breaks, in its text colour, over a background
// and in a font that each kind of label chooses.
#pragma once

#include "runtime/win32/controls/control.h"

namespace vorn::win32 {

class TextLabel : public Control {
  public:
    explicit TextLabel(const ControlArgs& args) : Control(args) { captures_mouse_ = true; }

  protected:
    bool open_as(const WindowClass& window_class, HWND parent);
    bool paints_itself() const override { return true; }
    void paint() override;

    virtual void paint_background(HDC dc, const RECT& area) = 0;
    virtual HFONT text_font() const = 0;
};

} // namespace vorn::win32
