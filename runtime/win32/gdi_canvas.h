// A canvas's retained surface on Windows: a memory DC with a 24-bit DIB
// section of the canvas's size, and a second one holding the background
// picture, decoded once when it is set. Clear is one fill and one BitBlt of
// what changed since the last clear, a block copy one BitBlt from surface to
// surface, and only the rectangle a command changed is invalidated in the
// window that shows the canvas.
#pragma once

#include "runtime/core/engine/canvas.h"
#include "runtime/core/engine/change_log.h"
#include "runtime/core/picture/decode.h"
#include "runtime/win32/win32_api.h"

#include <cstdint>
#include <functional>

namespace vorn::win32 {

// A memory DC with a blank DIB section selected into it: 24-bit bottom-up,
// the layout of the program's picture files (a shot's rows go to and from it
// a row copy at a time, and it holds a quarter less than 32-bit pixels; a
// 4K editor keeps three such surfaces), or 32-bit top-down.
class MemorySurface {
  public:
    enum class Depth { rgb24, rgb32 };

    MemorySurface() = default;
    ~MemorySurface();
    MemorySurface(const MemorySurface&) = delete;
    MemorySurface& operator=(const MemorySurface&) = delete;
    MemorySurface(MemorySurface&& other) noexcept;
    MemorySurface& operator=(MemorySurface&& other) noexcept;

    // At least 1 × 1 underneath; false when GDI has no memory for it.
    static bool make(std::int32_t width, std::int32_t height, MemorySurface& out, Depth depth = Depth::rgb24);
    void reset();

    explicit operator bool() const { return dc_ != nullptr; }
    HDC dc() const { return dc_; }
    // The rows of a 24-bit surface (none of a 32-bit one).
    picture::Rows24 rows() const;
    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }

  private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ original_ = nullptr;
    std::uint8_t* bits_ = nullptr;
    Depth depth_ = Depth::rgb24;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
};

// The program places and sizes a canvas and draws on it in units; the
// surface is in the pixels of the canvas's DPI, so that a shot shown as the
// background keeps every pixel and the picture of the content is taken at
// the screen's resolution. Every command converts its coordinates, pen width
// and font; a canvas given its background picture's size (in units, or in
// the picture's own pixels) is exactly the picture's size.
class GdiCanvas final : public runtime::CanvasSurface {
  public:
    GdiCanvas(HWND shown_in, std::int32_t width, std::int32_t height, COLORREF fill, std::uint32_t dpi);

    void set_window(HWND window) { window_ = window; }
    // Where the background picture's bytes can be had again. With one, the
    // background is painted from them and decoded only for a clear, and a
    // canvas that other canvases are copied onto (the editor's foreground)
    // lets go of that decoded copy, a whole picture's worth of memory.
    void set_background_source(std::function<ByteView()> source) { background_source_ = std::move(source); }
    HDC dc() const { return surface_.dc(); }
    std::int32_t pixel_width() const { return surface_.width(); }
    std::int32_t pixel_height() const { return surface_.height(); }
    void set_dpi(std::uint32_t dpi);
    // Whether the canvas took its background picture's width or height.
    bool took_picture_width() const { return took_picture_width_; }
    bool took_picture_height() const { return took_picture_height_; }

    void set_background(ByteView picture, std::uint32_t back_colour) override;
    void clear(std::uint32_t back_colour) override;
    void draw(const runtime::DrawOp& op) override;
    void copy_from(runtime::CanvasSurface& source, runtime::CopyRect area, std::int32_t left,
                   std::int32_t top, std::uint32_t rop) override;
    runtime::ProgramBlock picture(std::int32_t width, std::int32_t height) override;
    picture::Image pixels() override;
    std::int32_t text_width(const std::string& text, const std::optional<forms::Font>& font) override;
    void resize(std::int32_t width, std::int32_t height) override;
    // In units: the size given, or the picture's size when the canvas
    // took it.
    std::int32_t width() const override { return width_; }
    std::int32_t height() const override { return height_; }

  private:
    void changed(const runtime::CopyRect& area);
    void changed_all();
    void repaint_background(const runtime::CopyRect& area);
    void decode_background(ByteView picture);
    void ensure_background();
    bool copy_background_from_surface(ByteView picture);
    void paint_background_onto(MemorySurface& target);
    static Result<picture::PictureSize> picture_size_of(ByteView picture);

    HWND window_;
    std::uint32_t dpi_;
    std::int32_t asked_width_ = 0; // the size last given, in units
    std::int32_t asked_height_ = 0;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    // The background picture's size in pixels, kept while its decoded copy
    // is let go; 0 with no background.
    std::int32_t picture_width_ = 0;
    std::int32_t picture_height_ = 0;
    bool took_picture_width_ = false;
    bool took_picture_height_ = false;
    MemorySurface surface_;
    MemorySurface background_;
    bool has_background_ = false; // decoded in background_, or to be decoded again from the source
    std::function<ByteView()> background_source_;
    COLORREF fill_;
    // After a clear the surface is the background on the fill colour; what
    // changed since is kept, so that the next clear with the same colour
    // repaints only that (the rubber band clears on every pointer move).
    bool cleared_ = false;
    runtime::CopyRect since_clear_;
    // A whole copy from a canvas this one already mirrors takes only what
    // differs (the editor's relay, copied onto the foreground at every move).
    runtime::ChangeLog log_{runtime::next_surface_number()};
};

} // namespace vorn::win32
