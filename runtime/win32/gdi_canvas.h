// A canvas's retained surface on Windows: a memory DC with a 32-bit DIB
// section of the canvas's size, and a second one holding the background
// picture, decoded once when it is set. Clear is one fill and one BitBlt of
// what changed since the last clear, a block copy one BitBlt from surface to
// surface, and only the rectangle a command changed is invalidated in the
// window that shows the canvas.
#pragma once

#include "runtime/core/engine/canvas.h"
#include "runtime/core/engine/change_log.h"
#include "runtime/win32/win32_api.h"

#include <cstdint>
#include <functional>

namespace vorn::win32 {

// A memory DC with a blank 32-bit top-down DIB section selected into it.
class MemorySurface {
  public:
    MemorySurface() = default;
    ~MemorySurface();
    MemorySurface(const MemorySurface&) = delete;
    MemorySurface& operator=(const MemorySurface&) = delete;
    MemorySurface(MemorySurface&& other) noexcept;
    MemorySurface& operator=(MemorySurface&& other) noexcept;

    // At least 1 × 1 underneath; false when GDI has no memory for it.
    static bool make(std::int32_t width, std::int32_t height, MemorySurface& out);
    void reset();

    explicit operator bool() const { return dc_ != nullptr; }
    HDC dc() const { return dc_; }
    picture::Pixel* bits() const { return bits_; }
    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    std::size_t row_pixels() const { return std::size_t(width_ > 0 ? width_ : 1); }

  private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ original_ = nullptr;
    picture::Pixel* bits_ = nullptr;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
};

class GdiCanvas final : public runtime::CanvasSurface {
  public:
    GdiCanvas(HWND shown_in, std::int32_t width, std::int32_t height, COLORREF fill);

    void set_window(HWND window) { window_ = window; }
    // Where the background picture's bytes can be had again. With one, a
    // canvas that other canvases are copied onto (the editor's foreground)
    // lets go of its decoded background, a whole picture's worth of memory,
    // and decodes it again should a clear or a resize need it.
    void set_background_source(std::function<ByteView()> source) { background_source_ = std::move(source); }
    HDC dc() const { return surface_.dc(); }

    void set_background(ByteView picture, std::uint32_t back_colour) override;
    void clear(std::uint32_t back_colour) override;
    void draw(const runtime::DrawOp& op) override;
    void copy_from(runtime::CanvasSurface& source, runtime::CopyRect area, std::int32_t left,
                   std::int32_t top, std::uint32_t rop) override;
    runtime::ProgramBlock picture(std::int32_t width, std::int32_t height) override;
    picture::Image pixels() override;
    std::int32_t text_width(const std::string& text, const std::optional<forms::Font>& font) override;
    void resize(std::int32_t width, std::int32_t height) override;
    std::int32_t width() const override { return surface_.width(); }
    std::int32_t height() const override { return surface_.height(); }

  private:
    void changed(const runtime::CopyRect& area);
    void changed_all();
    void repaint_background(const runtime::CopyRect& area);
    void decode_background(ByteView picture);
    void ensure_background();

    HWND window_;
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
