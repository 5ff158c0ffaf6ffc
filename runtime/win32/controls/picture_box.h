// The picture box shows its picture property: scaled down to fit if it is
// larger than the box, keeping its proportions, never enlarged, centred on
// the box's background (white unless the program gives the box a colour),
// inside a one-pixel frame. An empty or unreadable picture leaves the box
// blank.
#pragma once

#include "runtime/core/picture/bitmap.h"
#include "runtime/win32/controls/control.h"

namespace vorn::win32 {

class PictureBox final : public Control {
  public:
    explicit PictureBox(const ControlArgs& args) : Control(args) { captures_mouse_ = true; }
    bool open(HWND parent);
    void property_changed(PropertyId property) override;
    bool is_backdrop() const override { return true; }
    COLORREF background_colour() const override;

  protected:
    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam) override;
    bool paints_itself() const override { return true; }
    void paint() override;

  private:
    static RECT picture_area(RECT client);
    SIZE box_size() const;
    void decode();

    picture::Image shown_;
    SIZE decoded_for_{-1, -1}; // the box size shown_ was fitted to
    // The picture changed since shown_ was decoded: decoded at the next paint,
    // so that a capture's flow never waits for a box it may be hiding.
    bool stale_ = true;
};

} // namespace vorn::win32
