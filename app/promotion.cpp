// The promotional row's timer: each period shows the next entry in the label
// and swaps its colours. The row is hidden at start-up and the timer's period
// stays 0, so none of this is seen; it is kept working all the same.
#include "app/handlers.h"
#include "app/texts.h"
#include "forms/layouts/elements.h"

#include <array>

namespace vorn::app {

namespace {

namespace main = ui::主窗口;
using forms::PropertyId;

constexpr std::array kPromotions = {
    Text::promotion_1,  Text::promotion_2,  Text::promotion_3,  Text::promotion_4, Text::promotion_5,
    Text::promotion_6,  Text::promotion_7,  Text::promotion_8,  Text::promotion_9, Text::promotion_10,
    Text::promotion_11, Text::promotion_12, Text::promotion_13,
};

constexpr std::int64_t kBlue = 0x00FF0000;
constexpr std::int64_t kRed = 0x000000FF;
constexpr std::int64_t kLightBlue = 0x00FF8080;
constexpr std::int64_t kYellow = 0x0000FFFF;

void show_next_promotion(const Runtime& runtime) {
    const std::string shown = runtime.text(main::广告标签, PropertyId::text);
    for (std::size_t at = 0; at < kPromotions.size(); ++at) {
        if (gbk(kPromotions[at]) == shown) {
            runtime.set_text(main::广告标签, PropertyId::text,
                             gbk(kPromotions[(at + 1) % kPromotions.size()]));
            return;
        }
    }
}

void swap_colours(const Runtime& runtime) {
    if (runtime.integer(main::广告标签, PropertyId::text_colour) == kBlue) {
        runtime.set_integer(main::广告标签, PropertyId::back_colour, kLightBlue);
        runtime.set_integer(main::广告标签, PropertyId::text_colour, kRed);
    } else {
        runtime.set_integer(main::广告标签, PropertyId::text_colour, kBlue);
        runtime.set_integer(main::广告标签, PropertyId::back_colour, kYellow);
    }
}

} // namespace

void 时钟1_周期事件(const Runtime& runtime, const EventArgs&) {
    show_next_promotion(runtime);
    swap_colours(runtime);
}

} // namespace vorn::app
