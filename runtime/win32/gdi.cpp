#include "runtime/win32/gdi.h"

#include "runtime/core/engine/fonts.h"
#include "runtime/win32/portable/dpi_scale.h"
#include "runtime/win32/portable/row_bands.h"
#include "runtime/win32/text.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace vorn::win32 {

namespace {

LOGFONTW logfont_of(const forms::Font& font, std::uint32_t dpi) {
    LOGFONTW out{};
    out.lfHeight = to_pixels(font.height, dpi);
    out.lfWidth = to_pixels(font.width, dpi);
    out.lfEscapement = font.escapement;
    out.lfOrientation = font.orientation;
    out.lfWeight = font.weight;
    out.lfItalic = font.italic;
    out.lfUnderline = font.underline;
    out.lfStrikeOut = font.strike_out;
    out.lfCharSet = font.charset;
    out.lfOutPrecision = font.out_precision;
    out.lfClipPrecision = font.clip_precision;
    out.lfQuality = font.quality;
    out.lfPitchAndFamily = font.pitch_and_family;
    const std::wstring face = wide(font.face_name()).substr(0, LF_FACESIZE - 1);
    std::copy(face.begin(), face.end(), out.lfFaceName);
    return out;
}

} // namespace

COLORREF colour_or_system(std::int64_t colour, int system_colour) {
    return std::uint32_t(colour) == forms::kDefaultColour ? GetSysColor(system_colour)
                                                          : COLORREF(std::uint32_t(colour) & 0x00FFFFFF);
}

picture::Pixel pixel_of(COLORREF colour) {
    return picture::rgb(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

HBRUSH brush_for(COLORREF colour) {
    static std::map<COLORREF, HBRUSH> brushes;
    HBRUSH& brush = brushes[colour];
    if (brush == nullptr)
        brush = CreateSolidBrush(colour);
    return brush;
}

HFONT font_for(const std::optional<forms::Font>& font, std::uint32_t dpi) {
    static std::map<std::pair<Bytes, std::uint32_t>, HFONT> fonts;
    const forms::Font chosen = font.value_or(runtime::default_font());
    HFONT& handle = fonts[{forms::encode_font(chosen), dpi}];
    if (handle == nullptr) {
        const LOGFONTW logfont = logfont_of(chosen, dpi);
        handle = CreateFontIndirectW(&logfont);
    }
    return handle;
}

HFONT font_for(const runtime::Value& font, std::uint32_t dpi) {
    if (const auto* stored = std::get_if<forms::Font>(&font))
        return font_for(std::optional<forms::Font>(*stored), dpi);
    return default_font(dpi);
}

HFONT default_font(std::uint32_t dpi) {
    return font_for(std::optional<forms::Font>(), dpi);
}

namespace {

// A header for rows of `bits` per pixel; a negative height for top-down rows.
BITMAPINFO rgb_info(std::int32_t width, std::int32_t height, std::uint32_t bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = WORD(bits);
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

} // namespace

HBITMAP blank_dib_section(std::int32_t width, std::int32_t height, void** bits) {
    // top-down, like picture::Image
    const BITMAPINFO info = rgb_info(std::max(width, 1), -std::max(height, 1), 32);
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

HBITMAP blank_dib_section_24(std::int32_t width, std::int32_t height, void** bits) {
    const BITMAPINFO info = rgb_info(std::max(width, 1), std::max(height, 1), 24);
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

HBITMAP dib_section(const picture::Image& image) {
    void* bits = nullptr;
    HBITMAP bitmap = blank_dib_section(image.width, image.height, &bits);
    // A 32-bit DIB pixel is 0x00RRGGBB in memory order B, G, R, 0: the
    // layout of picture::Pixel.
    if (bitmap != nullptr && bits != nullptr && !image.empty())
        std::memcpy(bits, image.pixels.data(), image.pixels.size() * sizeof(picture::Pixel));
    return bitmap;
}

HBITMAP screen_bitmap(const picture::Image& image) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = std::max(image.width, 1);
    info.bmiHeader.biHeight = -std::max(image.height, 1);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const picture::Pixel blank = 0;
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateDIBitmap(screen, &info.bmiHeader, CBM_INIT,
                                    image.empty() ? &blank : static_cast<const void*>(image.pixels.data()),
                                    &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

// A band of rows at a time (see row_bands).
void paint_bmp_rows(HDC dc, ByteView file, const picture::BmpLayout& layout) {
    BITMAPINFO info = rgb_info(layout.width, 0, layout.bits);
    const std::uint8_t* pixels = file.data() + layout.pixel_offset;
    for (const RowBand& band : row_bands(layout.width, layout.height, layout.top_down, kRowBandBytes)) {
        info.bmiHeader.biHeight = layout.top_down ? -band.rows : band.rows;
        SetDIBitsToDevice(dc, 0, band.top, DWORD(layout.width), DWORD(band.rows), 0, 0, 0, UINT(band.rows),
                          pixels + band.first_stored_row * layout.stride, &info, DIB_RGB_COLORS);
    }
}

void blit_in_bands(HDC to, const RECT& area, HDC from) {
    const std::int32_t width = area.right - area.left;
    const std::int32_t height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return;
    for (const RowBand& band : row_bands(width, height, true, kRowBandBytes))
        BitBlt(to, area.left, area.top + band.top, width, band.rows, from, area.left, area.top + band.top,
               SRCCOPY);
}

void draw_image(HDC dc, const picture::Image& image, int left, int top, int width, int height) {
    if (image.empty() || width <= 0 || height <= 0)
        return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const bool scaled = width != image.width || height != image.height;
    const int old_mode = SetStretchBltMode(dc, scaled ? HALFTONE : COLORONCOLOR);
    POINT old_origin{};
    if (scaled)
        SetBrushOrgEx(dc, 0, 0, &old_origin); // halftone needs the brush origin reset
    StretchDIBits(dc, left, top, width, height, 0, 0, image.width, image.height, image.pixels.data(), &info,
                  DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, old_mode);
}

BufferedPaint::BufferedPaint(HWND window) : window_(window) {
    screen_ = BeginPaint(window, &paint_);
    GetClientRect(window, &client_);
    IntersectRect(&area_, &paint_.rcPaint, &client_);
    const LONG width = area_.right - area_.left;
    const LONG height = area_.bottom - area_.top;
    if (width <= 0 || height <= 0 || LONGLONG(width) * height > kMaxBufferedPixels)
        return;
    bitmap_ = CreateCompatibleBitmap(screen_, width, height);
    if (bitmap_ == nullptr)
        return; // painted straight onto the window
    memory_ = CreateCompatibleDC(screen_);
    old_ = SelectObject(memory_, bitmap_);
    SetWindowOrgEx(memory_, area_.left, area_.top, nullptr);
}

BufferedPaint::~BufferedPaint() {
    if (memory_ != nullptr) {
        BitBlt(screen_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top, memory_,
               area_.left, area_.top, SRCCOPY);
        SelectObject(memory_, old_);
        DeleteDC(memory_);
    }
    if (bitmap_ != nullptr)
        DeleteObject(bitmap_);
    EndPaint(window_, &paint_);
}

} // namespace vorn::win32
