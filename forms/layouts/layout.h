// The vocabulary in which the six windows are described: plain constant data,
// one row per element, naming what a user sees (place, size, cursor, flags,
// captions, colours, pictures) and which entry point each event runs. Texts
// are written in UTF-8 and become GBK when the windows are built; class blocks
// start from their class's defaults and list only what differs, by property
// or by the class table's label for a field kept by position. Pictures are
// named here and drawn by the image builder, which hands them in.
#pragma once

#include "forms/events.h"
#include "forms/ids.h"
#include "forms/layouts/elements.h"
#include "forms/layouts/entry_points.h"
#include "forms/properties.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string_view>

namespace vorn::layouts {

namespace event = forms::event;

// A short list held in place, so that a row of a constant table can carry it.
template <class T, std::size_t Capacity> class InlineList {
  public:
    constexpr InlineList() = default;
    constexpr InlineList(std::initializer_list<T> items) {
        for (const T& item : items)
            items_[count_++] = item; // a longer list does not compile as a constant
    }
    constexpr std::span<const T> items() const { return {items_.data(), count_}; }

  private:
    std::array<T, Capacity> items_{};
    std::size_t count_ = 0;
};

struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

struct Binding {
    std::int32_t event = 0;
    Entry entry{};
};

// The program's own pictures, by what they show: eight icons, five PNG
// pictures and the two small bitmaps of the enlarged view.
enum class Picture : std::uint8_t {
    none,
    copy,
    exit,
    print,
    about,
    clear,
    save,
    settings,
    edit,
    zoom,
    capture_window,
    capture_full_screen,
    capture_region,
    finish_edit,
    enlarge,
    shrink,
};

// One class-block field that differs from its class's default.
struct FieldSetting {
    enum class Kind : std::uint8_t { number, text, list, picture, font };
    forms::PropertyId property = forms::PropertyId::none;
    std::string_view kept_label{}; // for a field kept by position (property none)
    Kind kind = Kind::number;
    std::uint32_t number = 0;
    std::string_view text{}; // UTF-8
    std::span<const std::uint32_t> list{};
    Picture picture = Picture::none;
    std::int32_t font_height = 0; // a LOGFONTA of this height, weight 400, GB2312, default face
};

constexpr FieldSetting set(forms::PropertyId property, std::uint32_t value) {
    return {.property = property, .number = value};
}
constexpr FieldSetting set_text(forms::PropertyId property, std::string_view utf8) {
    return {.property = property, .kind = FieldSetting::Kind::text, .text = utf8};
}
// The caption of a window, button, check box or transparent label, the text
// of a label or the contents of an edit box.
constexpr FieldSetting text(std::string_view utf8) {
    return set_text(forms::PropertyId::text, utf8);
}
constexpr FieldSetting back_colour(std::uint32_t colour) {
    return set(forms::PropertyId::back_colour, colour);
}
constexpr FieldSetting text_colour(std::uint32_t colour) {
    return set(forms::PropertyId::text_colour, colour);
}
constexpr FieldSetting kept(std::string_view label, std::uint32_t value) {
    return {.kept_label = label, .number = value};
}
constexpr FieldSetting kept(std::string_view label, std::span<const std::uint32_t> values) {
    return {.kept_label = label, .kind = FieldSetting::Kind::list, .list = values};
}
constexpr FieldSetting picture(Picture which) {
    return {.property = forms::PropertyId::picture, .kind = FieldSetting::Kind::picture, .picture = which};
}
constexpr FieldSetting chinese_font(std::int32_t height) {
    return {.property = forms::PropertyId::font, .kind = FieldSetting::Kind::font, .font_height = height};
}

struct BlockSpec {
    std::uint32_t version = 0; // 0: the class's newest layout
    InlineList<FieldSetting, 8> fields{};
};

// A window's own element, a control or a component.
struct ElementSpec {
    forms::ElementRef ref{};
    Rect at{}; // relative to the container's client area; screen position and outer size for a window
    std::uint32_t flags = 0;
    std::uint32_t cursor = forms::cursor_id::arrow;
    std::uint32_t parent = 0; // containing shape box or canvas, 0 for the window itself
    InlineList<Binding, 4> events{};
    BlockSpec block{};
};

struct MenuItemSpec {
    forms::ElementRef ref{};
    std::uint32_t level = 0;
    std::string_view caption{}; // UTF-8
    std::optional<Entry> click{};
};

struct WindowSpec {
    ElementSpec own;
    std::uint32_t unit_id = 0; // kind 0x19, unused by loading but unique in the image
    std::span<const ElementSpec> elements;
    std::span<const MenuItemSpec> menu{};
    // Names of the controls and components, from elements.h.
    std::span<const ui::NamedElement> names{};
};

// The fifteen window attributes; their meaning is the runtime's.
using WindowAttributes = std::array<std::uint32_t, 15>;

// The six windows, each in its own file.
const WindowSpec& main_window_layout();
const WindowSpec& region_overlay_layout();
const WindowSpec& highlight_frame_layout();
const WindowSpec& enlarged_view_layout();
const WindowSpec& editing_window_layout();
const WindowSpec& settings_window_layout();

} // namespace vorn::layouts
