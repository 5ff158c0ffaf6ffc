// The canvas: a drawing surface kept in a memory bitmap of the control's
// size (GdiCanvas), shown by WM_PAINT one dirty rectangle at a time, and a
// container for the controls placed on it. Everything the program draws goes to the bitmap first, so
// the picture of the canvas is what the program drew, whatever covers it on
// screen.
#pragma once

#include "runtime/win32/controls/control.h"
#include "runtime/win32/gdi_canvas.h"

namespace vorn::win32 {

class CanvasControl final : public Control {
  public:
    explicit CanvasControl(const ControlArgs& args);
    bool open(HWND parent);
    bool is_container() const override { return true; }
    bool is_backdrop() const override { return true; }
    runtime::CanvasSurface& surface() { return surface_; }
    void property_changed(PropertyId property) override;
    void dpi_changed(std::uint32_t dpi) override;
    bool refresh_size(PropertyId property) override;
    void paint_client_background(HDC dc, const RECT& area) override;
    COLORREF background_colour() const override;

  protected:
    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam) override;
    // The window is the surface's size, which may be its picture's.
    RECT bounds() const override;

  private:
    GdiCanvas surface_;
};

} // namespace vorn::win32
