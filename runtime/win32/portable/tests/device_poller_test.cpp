#include "runtime/win32/portable/device_poller.h"

#include <gtest/gtest.h>

namespace vorn::win32 {
namespace {

using Reports = std::vector<DeviceReport>;

const DeviceReport kLeft{forms::event::kKeyInput, forms::event::kLeftButtonCode, 0};
const DeviceReport kRight{forms::event::kKeyInput, forms::event::kRightButtonCode, 0};

PointerSample at(std::int32_t x, std::int32_t y, ButtonSample left = {}, ButtonSample right = {}) {
    return {x, y, left, right};
}

TEST(DevicePoller, ReportsMovesOnlyWhenThePointerMoved) {
    DevicePoller poller;
    EXPECT_EQ(poller.sample(at(10, 10)), Reports{});
    EXPECT_EQ(poller.sample(at(10, 10)), Reports{});
    EXPECT_EQ(poller.sample(at(11, 10)), (Reports{{forms::event::kMouseInput, 11, 10}}));
    EXPECT_EQ(poller.sample(at(11, 10)), Reports{});
    EXPECT_EQ(poller.sample(at(-5, 2000)), (Reports{{forms::event::kMouseInput, -5, 2000}}));
}

TEST(DevicePoller, ReportsEveryPressAndReleaseAfterTheMove) {
    DevicePoller poller;
    poller.sample(at(0, 0));
    EXPECT_EQ(poller.sample(at(5, 5, {true, true})), (Reports{{forms::event::kMouseInput, 5, 5}, kLeft}));
    EXPECT_EQ(poller.sample(at(5, 5, {true, false})), Reports{});
    EXPECT_EQ(poller.sample(at(5, 5, {false, false})), Reports{kLeft});
    EXPECT_EQ(poller.sample(at(5, 5, {}, {true, true})), Reports{kRight});
    EXPECT_EQ(poller.sample(at(5, 5, {true, true}, {false, false})), (Reports{kLeft, kRight}));
}

TEST(DevicePoller, ClicksBetweenTwoSamplesAreNotLost) {
    DevicePoller poller;
    poller.sample(at(0, 0));
    // Pressed and released again before the next sample.
    EXPECT_EQ(poller.sample(at(0, 0, {false, true})), (Reports{kLeft, kLeft}));
    // Held, then released and pressed again in between.
    poller.sample(at(0, 0, {true, true}));
    EXPECT_EQ(poller.sample(at(0, 0, {true, true})), (Reports{kLeft, kLeft}));
    // Held, then released, pressed and released again.
    EXPECT_EQ(poller.sample(at(0, 0, {false, true})), (Reports{kLeft, kLeft, kLeft}));
}

TEST(DevicePoller, AButtonHeldWhenPollingStartsIsNoPress) {
    DevicePoller poller;
    EXPECT_EQ(poller.sample(at(3, 4, {true, true})), Reports{});
    EXPECT_EQ(poller.sample(at(3, 4, {false, false})), Reports{kLeft});
    poller.restart();
    EXPECT_EQ(poller.sample(at(9, 9, {}, {true, true})), Reports{});
    EXPECT_EQ(poller.sample(at(9, 9, {}, {true, false})), Reports{});
}

} // namespace
} // namespace vorn::win32
