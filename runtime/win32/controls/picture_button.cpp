#include "runtime/win32/controls/picture_button.h"

#include "forms/class_block.h"
#include "forms/events.h"
#include "runtime/core/contract/scaled_pictures.h"
#include "runtime/win32/gdi.h"
#include "runtime/win32/portable/conventions.h"
#include "runtime/win32/portable/dpi_scale.h"
#include "runtime/win32/text.h"
#include "runtime/win32/trace.h"

#include <windowsx.h>

#include <optional>
#include <string>
#include <vector>

namespace vorn::win32 {

namespace {

// Positions of the face colours in the class table's "fields 2-20" (field
// 15 is the fourteenth of them).
constexpr std::size_t kNormalFaceField = 13;
constexpr std::size_t kHoverFaceField = 15;
constexpr std::size_t kPressedFaceField = 17;
constexpr COLORREF kHoverFrame = RGB(0x7A, 0xB4, 0xEA);
constexpr int kPictureTop = 2;
constexpr int kCaptionGap = 1;

// The stored picture as drawn for the scale, from the executable's
// resources; nullopt when there is none.
std::optional<Picture> drawn_for_scale(ByteView stored, std::uint32_t percent) {
    const std::string name = contract::scaled_picture_name(stored, percent);
    HMODULE executable = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceA(executable, name.c_str(), MAKEINTRESOURCEA(10)); // RT_RCDATA
    HGLOBAL loaded = found != nullptr ? LoadResource(executable, found) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr)
        return std::nullopt;
    Result<Picture> decoded = decode_any_picture(
        ByteView(static_cast<const std::uint8_t*>(bytes), SizeofResource(executable, found)));
    if (!decoded)
        return std::nullopt;
    trace("picture drawn for " + std::to_string(percent) + "%: " + name);
    return std::move(*decoded);
}

} // namespace

PictureButton::PictureButton(const ControlArgs& args, bool with_caption)
    : Control(args),
      with_caption_(with_caption), faces_{RGB(255, 255, 255), RGB(255, 255, 255), RGB(0xF0, 0xF0, 0xF0)} {
    if (!with_caption_)
        return;
    const forms::ControlRecord* record = args.element.definition->control();
    Result<forms::ClassBlock> block = forms::decode_class_block(args.element.class_id, record->class_block);
    const forms::FieldValue* kept = block ? block->kept("fields 2-20") : nullptr;
    const auto* fields = kept != nullptr ? std::get_if<std::vector<std::uint32_t>>(kept) : nullptr;
    if (fields != nullptr && fields->size() > kPressedFaceField) {
        faces_[0] = (*fields)[kNormalFaceField] & 0x00FFFFFF;
        faces_[1] = (*fields)[kHoverFaceField] & 0x00FFFFFF;
        faces_[2] = (*fields)[kPressedFaceField] & 0x00FFFFFF;
    }
}

bool PictureButton::open(HWND parent) {
    static const WindowClass button_class = register_class(L"VornPictureButton", nullptr, 0);
    decode();
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (integer(PropertyId::visible) != 0 ? WS_VISIBLE : 0) |
                        (integer(PropertyId::focusable) != 0 ? WS_TABSTOP : 0);
    return create(button_class, style, 0, wide(text(PropertyId::text)), bounds(), parent);
}

void PictureButton::decode() {
    picture_ = {};
    shown_ = {};
    const Bytes data = runtime::as_bytes(element()->get(PropertyId::picture));
    if (data.empty())
        return;
    if (Result<Picture> decoded = decode_any_picture(data))
        picture_ = std::move(*decoded);
    std::optional<Picture> drawn;
    if (const std::uint32_t percent = picture_scale_for(dpi()); percent != 0 && !picture_.empty())
        drawn = drawn_for_scale(data, percent);
    shown_ = drawn ? std::move(*drawn) : picture_;
}

void PictureButton::dpi_changed(std::uint32_t dpi) {
    Control::dpi_changed(dpi);
    if (element() != nullptr)
        decode();
}

void PictureButton::property_changed(PropertyId property) {
    if (property == PropertyId::picture && element() != nullptr) {
        decode();
        InvalidateRect(hwnd(), nullptr, FALSE);
        return;
    }
    Control::property_changed(property);
}

PictureButton::Look PictureButton::look() const {
    if (held_ && inside_)
        return Look::pressed;
    return hover_ || held_ ? Look::hover : Look::normal;
}

void PictureButton::paint() {
    BufferedPaint painting(hwnd());
    HDC dc = painting.dc();
    const RECT client = painting.client();
    const Look shown = look();
    COLORREF face = faces_[int(shown)];
    if (with_caption_) {
        FillRect(dc, &client, brush_for(face));
    } else {
        paint_backdrop(dc);
        face = GetPixel(dc, client.right / 2, 0);
    }
    if (shown != Look::normal)
        FrameRect(dc, &client, brush_for(kHoverFrame));
    const int shift = shown == Look::pressed ? 1 : 0;

    const int width = client.right, height = client.bottom;
    int caption_height = 0;
    HGDIOBJ old_font = SelectObject(dc, default_font(dpi()));
    if (with_caption_) {
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        caption_height = metrics.tmHeight;
    }
    const int gap = to_pixels(kCaptionGap, dpi());
    const int picture_area =
        with_caption_ ? height - caption_height - to_pixels(kPictureTop, dpi()) - gap : height;
    // The stored picture is drawn for 96 dpi: shown at its size in units,
    // which the picture drawn for the scale has, or nearly.
    const PlacedRect at = fit_picture(to_pixels(picture_.image.width, dpi()),
                                      to_pixels(picture_.image.height, dpi()), width, picture_area);
    const int picture_top = with_caption_ ? to_pixels(kPictureTop, dpi()) : at.top;
    if (!picture_.empty())
        draw_image(dc, flatten(shown_, pixel_of(face)), at.left + shift, picture_top + shift, at.width,
                   at.height);
    if (with_caption_) {
        RECT caption{shift, picture_top + (picture_.empty() ? 0 : at.height) + gap + shift, width + shift,
                     height + shift};
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, colour_or_system(integer(PropertyId::text_colour), COLOR_BTNTEXT));
        const std::wstring shown_text = wide(text(PropertyId::text));
        DrawTextW(dc, shown_text.c_str(), int(shown_text.size()), &caption,
                  DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(dc, old_font);
}

void PictureButton::set_hover(bool hover) {
    if (hover == hover_)
        return;
    hover_ = hover;
    if (hover_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
        TrackMouseEvent(&track);
    }
    InvalidateRect(hwnd(), nullptr, FALSE);
}

LRESULT PictureButton::handle(UINT message, WPARAM wparam, LPARAM lparam) {
    if (element() == nullptr)
        return Control::handle(message, wparam, lparam);
    switch (message) {
    case WM_MOUSEMOVE: {
        set_hover(true);
        RECT client{};
        GetClientRect(hwnd(), &client);
        const bool inside = PtInRect(&client, POINT{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)}) != 0;
        if (held_ && inside != inside_) {
            inside_ = inside;
            InvalidateRect(hwnd(), nullptr, FALSE);
        }
        break;
    }
    case WM_MOUSELEAVE:
        set_hover(false);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        held_ = inside_ = true;
        SetCapture(hwnd());
        InvalidateRect(hwnd(), nullptr, FALSE);
        break;
    case WM_LBUTTONUP: {
        const bool clicked = held_ && inside_;
        held_ = inside_ = false; // before ReleaseCapture, which reports the capture lost
        if (GetCapture() == hwnd())
            ReleaseCapture();
        InvalidateRect(hwnd(), nullptr, FALSE);
        const LRESULT result = Control::handle(message, wparam, lparam);
        if (clicked)
            raise(forms::event::kClicked);
        return result;
    }
    case WM_CAPTURECHANGED:
        if (held_) {
            held_ = inside_ = false;
            InvalidateRect(hwnd(), nullptr, FALSE);
        }
        break;
    default:
        break;
    }
    return Control::handle(message, wparam, lparam);
}

} // namespace vorn::win32
