#include "runtime/win32/gdi.h"

#include "runtime/core/engine/fonts.h"
#include "runtime/win32/portable/dpi_scale.h"
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

HBITMAP blank_dib_section(std::int32_t width, std::int32_t height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = std::max(width, 1);
    info.bmiHeader.biHeight = -std::max(height, 1); // top-down, like picture::Image
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
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
    memory_ = CreateCompatibleDC(screen_);
    bitmap_ =
        CreateCompatibleBitmap(screen_, std::max<LONG>(client_.right, 1), std::max<LONG>(client_.bottom, 1));
    old_ = SelectObject(memory_, bitmap_);
}

BufferedPaint::~BufferedPaint() {
    BitBlt(screen_, 0, 0, client_.right, client_.bottom, memory_, 0, 0, SRCCOPY);
    SelectObject(memory_, old_);
    DeleteObject(bitmap_);
    DeleteDC(memory_);
    EndPaint(window_, &paint_);
}

} // namespace vorn::win32
