// The window-highlight frame: a small borderless window whose magenta back
// colour the capture code makes transparent, so that only its four red edge
// labels show, drawn around the window under the pointer.
#include "forms/layouts/layout.h"

namespace vorn::layouts {

namespace {

using namespace ui::边框窗口;
using namespace forms::element_flag;
using enum Entry;
using forms::PropertyId;

constexpr WindowAttributes kAttributes = {0, 1, 1, 1, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0};
constexpr std::uint32_t kKeyColour = 0x00FF00FF;
constexpr std::uint32_t kRed = 0x000000FF;

// Nothing here has an event: the window capture moves and sizes the frame and
// its edges, and the created handler collapses them before the frame is seen.
constexpr std::array kElements = {
    ElementSpec{.ref = 编辑框1,
                .at = {64, -5, 104, 24},
                .flags = focusable | bit4,
                .parent = 画板1.element,
                .block = {.fields = {back_colour(0x0000E080)}}},
    ElementSpec{.ref = 透明标签1, .at = {16, 8, 16, 16}, .flags = visible | bit4, .parent = 画板1.element},
    ElementSpec{.ref = 画板1, .at = {16, 16, 144, 96}, .flags = visible | bit4},
    ElementSpec{.ref = 标签4,
                .at = {16, 112, 96, 8},
                .flags = visible | bit4,
                .block = {.fields = {back_colour(kRed)}}},
    ElementSpec{.ref = 标签3,
                .at = {96, 56, 32, 32},
                .flags = visible | bit4,
                .block = {.fields = {back_colour(kRed)}}},
    ElementSpec{.ref = 标签2,
                .at = {0, 48, 24, 32},
                .flags = visible | bit4,
                .block = {.fields = {back_colour(kRed)}}},
    ElementSpec{.ref = 标签1,
                .at = {8, 8, 96, 32},
                .flags = visible | bit4,
                .block = {.fields = {back_colour(kRed)}}},
};

constexpr WindowSpec kWindow = {
    .own = {.ref = 窗口,
            .at = {50, 50, 169, 142},
            .flags = visible,
            .events = {{event::kCreated, 边框窗口_创建完毕}},
            .block = {.fields = {set(PropertyId::border_style, 0), back_colour(kKeyColour),
                                 kept("attributes", kAttributes)}}},
    .unit_id = 0x19010198,
    .elements = kElements,
    .names = kNamed,
};

} // namespace

const WindowSpec& highlight_frame_layout() {
    return kWindow;
}

} // namespace vorn::layouts
