// The promotional row's timer, raised by hand: its period is 0, so it never
// fires on its own.
#include "forms/events.h"
#include "forms/layouts/elements.h"
#include "runtime/sim/user.h"
#include "tests/app/capture_helpers.h"
#include "tests/app/program_fixture.h"
#include "text/gbk.h"

#include <gtest/gtest.h>

using namespace vorn;
using forms::PropertyId;
using vorn::testing::ProgramFixture;
namespace main = vorn::ui::主窗口;
namespace t = vorn::testing;

namespace {

std::string caption(sim::SimDesktop& d) {
    return text::gbk_to_utf8(t::element(d, main::广告标签).text(PropertyId::text));
}

void tick(sim::SimDesktop& d) {
    ASSERT_TRUE(d.user().raise(main::kId, main::时钟1.element, forms::event::kIntervalElapsed));
}

} // namespace

TEST(PromotionTimer, ShowsTheNextEntryAroundTheListAndSwapsTheColours) {
    ProgramFixture f;
    f.run([](sim::SimDesktop& d) {
        EXPECT_EQ(caption(d), "欢迎使用Vorn截图工具") << "the stored caption starts the list";
        EXPECT_EQ(t::element(d, main::时钟1).integer(PropertyId::interval), 0);
        tick(d);
        EXPECT_EQ(caption(d), "截图后可放大查看、添加文字和箭头");
        EXPECT_EQ(t::element(d, main::广告标签).integer(PropertyId::text_colour), 0x000000FF);
        EXPECT_EQ(t::element(d, main::广告标签).integer(PropertyId::back_colour), 0x00FF8080);
        tick(d);
        EXPECT_EQ(t::element(d, main::广告标签).integer(PropertyId::text_colour), 0x00FF0000);
        EXPECT_EQ(t::element(d, main::广告标签).integer(PropertyId::back_colour), 0x0000FFFF);
        for (int i = 0; i < 11; ++i)
            tick(d);
        EXPECT_EQ(caption(d), "欢迎使用Vorn截图工具") << "after the thirteenth comes the first";

        // A caption not in the list stays; the colours still swap.
        ASSERT_TRUE(d.engine()
                        .write_property(main::kId, main::广告标签.element, PropertyId::text, -1,
                                        text::utf8_to_gbk("别的文字"))
                        .ok());
        const std::int64_t colour = t::element(d, main::广告标签).integer(PropertyId::text_colour);
        tick(d);
        EXPECT_EQ(caption(d), "别的文字");
        EXPECT_NE(t::element(d, main::广告标签).integer(PropertyId::text_colour), colour);
    });
}
