// The canvas: a drawing surface kept in a memory bitmap of the control's
// size (GdiCanvas), shown by WM_PAINT, and a container for the controls
// placed on it. Everything the program draws goes to the bitmap first, so
// the picture of the canvas is what the program drew, whatever covers it on
// screen.
#pragma once

#include "runtime/core/engine/canvas.h"
#include "runtime/win32/controls/control.h"

namespace vorn::win32 {

class GdiCanvas final : public runtime::CanvasSurface {
  public:
    GdiCanvas(HWND shown_in, std::int32_t width, std::int32_t height, COLORREF fill);
    ~GdiCanvas() override;
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    void set_window(HWND window) { window_ = window; }
    HDC dc() const { return dc_; }
    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }

    void clear(std::uint32_t back_colour, const picture::Image* background) override;
    void draw(const runtime::DrawOp& op) override;
    picture::Image pixels() override;
    void paste(const picture::Image& image, std::int32_t left, std::int32_t top, std::uint32_t rop) override;
    std::int32_t text_width(const std::string& text, const std::optional<forms::Font>& font) override;
    void resize(std::int32_t width, std::int32_t height) override;

  private:
    void changed();

    HWND window_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ original_ = nullptr;
    void* bits_ = nullptr;
    std::int32_t width_ = 0; // the canvas's size; the bitmap is at least 1 x 1
    std::int32_t height_ = 0;
    COLORREF fill_;
};

class CanvasControl final : public Control {
  public:
    explicit CanvasControl(const ControlArgs& args);
    bool open(HWND parent);
    bool is_container() const override { return true; }
    bool is_backdrop() const override { return true; }
    runtime::CanvasSurface& surface() { return surface_; }
    void property_changed(PropertyId property) override;
    void paint_client_background(HDC dc, const RECT& area) override;
    COLORREF background_colour() const override;

  protected:
    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam) override;

  private:
    GdiCanvas surface_;
};

} // namespace vorn::win32
