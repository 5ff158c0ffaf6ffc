// The transparent label: its text in its colour, over whatever the window or
// container holding it shows behind it.
#pragma once

#include "runtime/win32/controls/text_label.h"

namespace vorn::win32 {

class TransparentLabel final : public TextLabel {
  public:
    using TextLabel::TextLabel;
    bool open(HWND parent);

  protected:
    void paint_background(HDC dc, const RECT& area) override;
    HFONT text_font() const override;
};

} // namespace vorn::win32
