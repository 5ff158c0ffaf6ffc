// The picture button and its small relative, the graphic button: drawn by
// the runtime. A picture button shows its picture (a 32 x 32 icon or PNG)
// centred above its caption; a graphic button only its picture. Both show
// the hand or arrow cursor their element asks for, a framed face while the
// pointer is over them, a pressed face (content moved by a pixel) while the
// left button is held on them, and raise their event 0 when the button is
// released over them.
//
// Face colours: a picture button's stored fields 15, 17 and 19 are its
// normal, hover and pressed face (white, white and light grey as the
// windows store them); a graphic button has none and shows what lies behind
// it.
#pragma once

#include "runtime/win32/controls/control.h"
#include "runtime/win32/portable/picture_file.h"

namespace vorn::win32 {

class PictureButton final : public Control {
  public:
    PictureButton(const ControlArgs& args, bool with_caption);
    bool open(HWND parent);
    void property_changed(PropertyId property) override;
    void dpi_changed(std::uint32_t dpi) override;

  protected:
    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam) override;
    bool paints_itself() const override { return true; }
    void paint() override;

  private:
    enum class Look { normal, hover, pressed };
    void decode();
    void set_hover(bool hover);
    Look look() const;

    bool with_caption_;
    Picture picture_; // as stored, drawn for 96 dpi: its size in units
    // What is drawn: the stored picture, or the one drawn for this DPI's
    // scale when the executable carries it.
    Picture shown_;
    COLORREF faces_[3];
    bool hover_ = false;
    bool held_ = false;   // the left button went down on us and is not released
    bool inside_ = false; // ... and the pointer is over us now
};

} // namespace vorn::win32
