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

// A click on one of our own buttons: the messages tell, and the poll that
// runs meanwhile (which reads the same buttons) must not tell again.
TEST(DevicePoller, OwnWindowsClicksAreReportedOnceFromTheirMessages) {
    DevicePoller poller;
    poller.sample(at(0, 0));
    poller.own_button_message(MouseButton::left, true);
    EXPECT_EQ(poller.take_message_reports(), Reports{kLeft});
    EXPECT_EQ(poller.take_message_reports(), Reports{});
    // Held: the poll sees it down, pressed since its last look.
    EXPECT_EQ(poller.sample(at(0, 0, {true, true})), Reports{});
    poller.own_button_message(MouseButton::left, false);
    EXPECT_EQ(poller.take_message_reports(), Reports{kLeft});
    EXPECT_EQ(poller.sample(at(0, 0, {false, false})), Reports{});

    // A quick click, both messages before the next poll.
    poller.own_button_message(MouseButton::right, true);
    poller.own_button_message(MouseButton::right, false);
    EXPECT_EQ(poller.take_message_reports(), (Reports{kRight, kRight}));
    EXPECT_EQ(poller.sample(at(0, 0, {}, {false, true})), Reports{});
    // The next click elsewhere is the poll's again.
    EXPECT_EQ(poller.sample(at(0, 0, {}, {false, true})), (Reports{kRight, kRight}));
}

// The poll reads the buttons before our queue has handed their messages
// over: it leaves them to the messages, so the order stays that of the
// messages and nothing is told twice.
TEST(DevicePoller, APollLeavesButtonsToMessagesStillWaiting) {
    DevicePoller poller;
    poller.sample(at(0, 0));
    EXPECT_EQ(poller.sample(at(2, 2, {false, true}), true), (Reports{{forms::event::kMouseInput, 2, 2}}));
    poller.own_button_message(MouseButton::left, true);
    poller.own_button_message(MouseButton::left, false);
    EXPECT_EQ(poller.take_message_reports(), (Reports{kLeft, kLeft}));
    EXPECT_EQ(poller.sample(at(2, 2, {false, false})), Reports{});
}

TEST(DevicePoller, MessagesMakeUpForWhatWentToOtherPrograms) {
    DevicePoller poller;
    poller.sample(at(0, 0));
    // Pressed over another program, seen by the poll, released there unseen.
    EXPECT_EQ(poller.sample(at(0, 0, {true, true})), Reports{kLeft});
    poller.own_button_message(MouseButton::left, true);
    EXPECT_EQ(poller.take_message_reports(), (Reports{kLeft, kLeft}));
    // Nothing is reported before the first sample; a button held then is no
    // press, but its release is reported, as the poll does; a release with
    // no press seen at all is none.
    DevicePoller fresh;
    fresh.own_button_message(MouseButton::left, true);
    EXPECT_EQ(fresh.take_message_reports(), Reports{});
    fresh.sample(at(0, 0, {true, false}));
    fresh.own_button_message(MouseButton::left, false);
    EXPECT_EQ(fresh.take_message_reports(), Reports{kLeft});
    fresh.restart();
    fresh.sample(at(0, 0));
    fresh.own_button_message(MouseButton::left, false);
    EXPECT_EQ(fresh.take_message_reports(), Reports{});
}

} // namespace
} // namespace vorn::win32
