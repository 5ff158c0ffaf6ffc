// Property numbers: the runtime reads and writes an element's properties by
// these numbers, and the layouts in class_table.cpp say where each one is
// stored. The numbers are part of the program's interface and never change;
// a property means the same thing, with the same number, in every class.
//
//   Element record (every class but the menu item)
//     1 left    2 top    3 width    4 height      (signed pixels)
//     5 visible (flag bit 0)    6 focusable (flag bit 2)    7 cursor (cursor id)
//   Shared appearance
//     10 text: window caption, label text, button and check box caption, edit
//        box contents, menu item caption (held in the menu item's record)
//     11 back colour    12 text colour    13 font    14 picture (image file bytes)
//   Window
//     20 border style (0 none, 2 fixed with title bar)    21 window class name
//   Edit box
//     30 input mode (0 free text, 3 whole numbers)    31 password character
//   Canvas drawing state
//     40 drawing mode    41 pen width    42 pen colour    43 brush type    44 brush colour
//   File dialog
//     50 filter    51 default extension
//   Timer
//     60 interval in milliseconds (0 = never fires)
//   Balloon tip
//     70 style sheet
//   Held only while the program runs (not stored in any definition)
//     80 stay on top (window)    81 checked (check box)
//     82 background picture (canvas: image file bytes, repainted by a clear)
//     83 dialog type (file dialog: 0 open, 1 save)    84 file name (file dialog)
//     85 colour (colour picker)
//     86 window mode (window: a value kept for the program, no effect on screen)
//   Font sub-fields (property 13 read or written with sub-field >= 0)
//     0 face name (text)    1 size in points    2 bold    3 italic    4 underline
//     5 strike-out
//
// Colours are 0x00BBGGRR; kDefaultColour selects the class's own colour.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace vorn::forms {

inline constexpr std::uint32_t kDefaultColour = 0xFF000000;

enum class PropertyId : std::uint16_t {
    none = 0, // a stored field whose meaning is the runtime's; kept by position
    left = 1,
    top = 2,
    width = 3,
    height = 4,
    visible = 5,
    focusable = 6,
    cursor = 7,
    text = 10,
    back_colour = 11,
    text_colour = 12,
    font = 13,
    picture = 14,
    taskbar_button = 18, // a window of its own on the taskbar, even without the main window shown
    border_style = 20,
    window_class_name = 21,
    input_mode = 30,
    password_char = 31,
    draw_mode = 40,
    pen_width = 41,
    pen_colour = 42,
    brush_type = 43,
    brush_colour = 44,
    filter = 50,
    default_extension = 51,
    interval = 60,
    style_sheet = 70,
    stay_on_top = 80,
    checked = 81,
    background_picture = 82,
    dialog_type = 83,
    file_name = 84,
    colour = 85,
    window_mode = 86,
};

// Fields of a font, addressed as sub-fields of PropertyId::font.
enum class FontField : std::int32_t {
    whole = -1,
    face_name = 0,
    size = 1,
    bold = 2,
    italic = 3,
    underline = 4,
    strike_out = 5,
};

enum class PropertyKind : std::uint8_t {
    integer,   // 32-bit, signed where the property can be negative
    colour,    // 0x00BBGGRR or kDefaultColour
    flag,      // true or false
    cursor,    // cursor_id value
    character, // one GBK byte
    text,      // GBK bytes
    bytes,     // a byte block, e.g. a whole image file
    font,      // Font, or none for the default font
};

enum class PropertyPlace : std::uint8_t { record, block, runtime };

struct PropertyInfo {
    PropertyId id;
    std::string_view name; // English, for dumps and error messages
    PropertyKind kind;
    PropertyPlace place;
};

std::span<const PropertyInfo> all_properties();
const PropertyInfo* property_info(PropertyId id);
std::string_view property_name(PropertyId id); // "?" for an unlisted number

} // namespace vorn::forms
