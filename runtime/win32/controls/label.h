// The label: a text in its font and colours on its own back colour. Drawn by
// the runtime rather than by a STATIC control, so that every colour and
// font the program sets shows the same on every system.
#pragma once

#include "runtime/win32/controls/text_label.h"

namespace vorn::win32 {

class Label final : public TextLabel {
  public:
    using TextLabel::TextLabel;
    bool open(HWND parent);
    bool is_backdrop() const override { return true; }
    COLORREF background_colour() const override;

  protected:
    void paint_background(HDC dc, const RECT& area) override;
    HFONT text_font() const override;
};

} // namespace vorn::win32
