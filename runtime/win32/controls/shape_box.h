// The shape box: a rectangle in its back colour with an outline, used as a
// container for the controls whose parent field names it.
#pragma once

#include "runtime/win32/controls/control.h"

namespace vorn::win32 {

class ShapeBox final : public Control {
  public:
    explicit ShapeBox(const ControlArgs& args);
    bool open(HWND parent);
    bool is_container() const override { return true; }
    bool is_backdrop() const override { return true; }
    COLORREF background_colour() const override;

  protected:
    bool paints_itself() const override { return true; }
    void paint() override;

  private:
    // From the stored fields after the back colour, read as: outline style
    // (0 none), outline width and outline colour.
    std::uint32_t outline_style_ = 0;
    std::int32_t outline_width_ = 1;
    COLORREF outline_colour_ = 0;
};

} // namespace vorn::win32
