#include <gtest/gtest.h>

#include <chrono>

#include "tests/support/fake_controls.h"
#include "view/clock_handler.h"

namespace pricelookup::view {
namespace {

TEST(ClockHandler, WritesTheGivenTimeIntoPartTwoAndLeavesEverythingElse) {
    testing::FakeControls controls;
    controls.append_row("1");
    const testing::FakeControls before = controls;
    show_time(controls, {2024, 3, 5, 0, 0, 0});
    EXPECT_EQ(controls.status_parts[2], "2024年3月5日");
    show_time(controls, {2024, 3, 5, 0, 0, 1});
    EXPECT_EQ(controls.status_parts[2], "2024年3月5日0时0分1秒") << "the whole text is replaced";
    EXPECT_EQ(controls.status_parts[0], before.status_parts[0]);
    EXPECT_EQ(controls.status_parts[1], before.status_parts[1]);
    EXPECT_EQ(controls.rows, before.rows);
    EXPECT_EQ(controls.timer_period, before.timer_period);
    EXPECT_TRUE(controls.messages.empty());
}

TEST(ClockHandler, ShowsTheCurrentLocalTime) {
    testing::FakeControls controls;
    ASSERT_EQ(controls.status_parts[2], "时间");
    const auto before = std::chrono::system_clock::now();
    clock_handler(controls);
    const auto after = std::chrono::system_clock::now();
    // A second boundary may pass during the call: either reading is right.
    const std::string shown = controls.status_parts[2];
    EXPECT_TRUE(shown == date_time_text(local_time_of(before)) ||
                shown == date_time_text(local_time_of(after)))
        << shown;
}

}  // namespace
}  // namespace pricelookup::view
