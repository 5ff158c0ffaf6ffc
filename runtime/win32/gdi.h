// GDI helpers shared by the controls: colours with the class default,
// cached brushes and fonts (they live as long as the process, a handful of
// each), pictures as device-independent bitmaps, and flicker-free painting.
#pragma once

#include "forms/font.h"
#include "runtime/core/engine/model.h"
#include "runtime/core/picture/bitmap.h"

#include "runtime/win32/win32_api.h"

#include <cstdint>
#include <optional>

namespace vorn::win32 {

// A colour property (0x00BBGGRR) or, for kDefaultColour, the system colour.
COLORREF colour_or_system(std::int64_t colour, int system_colour);
picture::Pixel pixel_of(COLORREF colour);
HBRUSH brush_for(COLORREF colour);

// A font property (the stored LOGFONTA record, its sizes in 96-dpi units)
// or, for no record, the runtime's default font: 9 points, Chinese character
// set, the system's face; made at the DPI it is shown at.
HFONT font_for(const runtime::Value& font, std::uint32_t dpi);
HFONT font_for(const std::optional<forms::Font>& font, std::uint32_t dpi);
HFONT default_font(std::uint32_t dpi);

// A bitmap compatible with the screen holding `image`, owned by the caller:
// the kind the clipboard takes as CF_BITMAP and converts for other programs.
HBITMAP screen_bitmap(const picture::Image& image);
// A 32-bit top-down DIB section holding `image`, owned by the caller.
HBITMAP dib_section(const picture::Image& image);
HBITMAP blank_dib_section(std::int32_t width, std::int32_t height, void** bits);
// A blank 24-bit bottom-up DIB section: its rows are laid out as those of a
// 24-bit bitmap file of that size.
HBITMAP blank_dib_section_24(std::int32_t width, std::int32_t height, void** bits);
// Paints a plain bitmap file's rows (as read_bmp_layout lays them out) at the
// origin of `dc`, at their own size.
void paint_bmp_rows(HDC dc, ByteView file, const picture::BmpLayout& layout);
// Copies `area` of `from` to the same place of `to` a band of rows at a
// time: a canvas's 24-bit rows are converted to the window's format on the
// way, in a buffer as large as each copy (see row_bands).
void blit_in_bands(HDC to, const RECT& area, HDC from);
// Draws `image` into the rectangle, scaled with GDI's halftone filter when
// the size differs.
void draw_image(HDC dc, const picture::Image& image, int left, int top, int width, int height);

// BeginPaint into an off-screen bitmap of the part to repaint, drawn on in
// client coordinates; the destructor copies it to the window and ends the
// paint. A part larger than kMaxBufferedPixels (a box as large as a 4K shot)
// is painted straight onto the window: such a bitmap would cost as much as
// the shot, on every paint.
class BufferedPaint {
  public:
    explicit BufferedPaint(HWND window);
    ~BufferedPaint();
    BufferedPaint(const BufferedPaint&) = delete;
    BufferedPaint& operator=(const BufferedPaint&) = delete;

    static constexpr LONG kMaxBufferedPixels = 1 << 21;

    HDC dc() const { return memory_ != nullptr ? memory_ : screen_; }
    const RECT& client() const { return client_; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC screen_ = nullptr;
    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    RECT client_{};
    RECT area_{}; // what the bitmap holds, in client coordinates
};

} // namespace vorn::win32
