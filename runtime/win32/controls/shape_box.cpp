#include "runtime/win32/controls/shape_box.h"

#include "forms/class_block.h"
#include "runtime/win32/gdi.h"
#include "runtime/win32/text.h"

#include <algorithm>
#include <vector>

namespace vorn::win32 {

namespace {

// Positions in the class table's "fields 3-8" of a shape box.
constexpr std::size_t kOutlineStyleField = 2;
constexpr std::size_t kOutlineWidthField = 3;
constexpr std::size_t kOutlineColourField = 4;
constexpr std::int32_t kMaxOutline = 16;

} // namespace

ShapeBox::ShapeBox(const ControlArgs& args) : Control(args) {
    captures_mouse_ = true;
    const forms::ControlRecord* record = args.element.definition->control();
    if (record == nullptr)
        return;
    Result<forms::ClassBlock> block = forms::decode_class_block(args.element.class_id, record->class_block);
    if (!block)
        return;
    const forms::FieldValue* kept = block->kept("fields 3-8");
    const auto* fields = kept != nullptr ? std::get_if<std::vector<std::uint32_t>>(kept) : nullptr;
    if (fields == nullptr || fields->size() <= kOutlineColourField)
        return;
    outline_style_ = (*fields)[kOutlineStyleField];
    outline_width_ = std::clamp(std::int32_t((*fields)[kOutlineWidthField]), 1, kMaxOutline);
    outline_colour_ = COLORREF((*fields)[kOutlineColourField] & 0x00FFFFFF);
}

bool ShapeBox::open(HWND parent) {
    static const WindowClass shape_class = register_class(L"VornShapeBox", nullptr, CS_DBLCLKS);
    const DWORD style =
        WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | (integer(PropertyId::visible) != 0 ? WS_VISIBLE : 0);
    return create(shape_class, style, 0, L"", bounds(), parent);
}

COLORREF ShapeBox::background_colour() const {
    return colour_or_system(integer(PropertyId::back_colour), COLOR_BTNFACE);
}

void ShapeBox::paint() {
    BufferedPaint painting(hwnd());
    RECT area = painting.client();
    FillRect(painting.dc(), &area, brush_for(background_colour()));
    if (outline_style_ == 0)
        return;
    HBRUSH outline = brush_for(outline_colour_);
    for (std::int32_t i = 0; i < outline_width_ && area.right > area.left && area.bottom > area.top; ++i) {
        FrameRect(painting.dc(), &area, outline);
        InflateRect(&area, -1, -1);
    }
}

} // namespace vorn::win32
