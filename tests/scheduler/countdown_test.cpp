#include "scheduler/countdown.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/countdown_state.h"
#include "fakes.h"
#include "system/keep_awake.h"

namespace {

class CountdownTest : public ::testing::Test {
   protected:
    void SetUp() override { ResetFakes(); }

    // Starts a countdown of `seconds` and delivers `ticks` ticks, recording what the label showed
    // after each one.
    static std::vector<std::string> RunTicks(int32_t seconds, int ticks) {
        CountdownSeconds = seconds;
        SetTimerPeriod(Control::时钟1_倒计时, 1000);
        std::vector<std::string> shown;
        for (int i = 0; i < ticks && fakeWindow.timerPeriod != 0; ++i) {
            OnCountdownTick();
            shown.push_back(fakeWindow.captions[Control::标签7]);
        }
        return shown;
    }
};

TEST_F(CountdownTest, ShowsEachCountAndPowersOffOnTheLastTick) {
    const std::vector<std::string> shown = RunTicks(3, 10);

    EXPECT_EQ(shown, (std::vector<std::string>{"3", "2", "1"}));
    ASSERT_EQ(fakePower.requests.size(), 1u);
    EXPECT_TRUE(fakePower.requests[0].force);
    EXPECT_EQ(fakeWindow.timerPeriod, 0);
    EXPECT_EQ(CountdownSeconds, 0);
}

TEST_F(CountdownTest, OneMinuteTakesSixtyTicksAndNeverShowsZero) {
    const std::vector<std::string> shown = RunTicks(60, 100);

    ASSERT_EQ(shown.size(), 60u);
    for (int i = 0; i < 60; ++i) {
        EXPECT_EQ(shown[static_cast<size_t>(i)], std::to_string(60 - i));
    }
    EXPECT_EQ(fakePower.requests.size(), 1u);
}

TEST_F(CountdownTest, NoPowerOffBeforeTheLastTick) {
    RunTicks(5, 4);
    EXPECT_TRUE(fakePower.requests.empty());
    EXPECT_EQ(fakeWindow.timerPeriod, 1000);
    EXPECT_EQ(CountdownSeconds, 1);
    EXPECT_EQ(fakeWindow.captions[Control::标签7], "2");
}

TEST_F(CountdownTest, RefusedPowerOffStopsTheTimerAndLeavesOneShowing) {
    fakePower.accept = false;
    RunTicks(3, 3);

    EXPECT_EQ(fakePower.requests.size(), 1u);
    EXPECT_EQ(fakeWindow.timerPeriod, 0);
    EXPECT_EQ(fakeWindow.timerPeriodCalls.back(), 0);
    EXPECT_EQ(CountdownSeconds, 0);
    EXPECT_EQ(fakeWindow.captions[Control::标签7], "1");
}

TEST_F(CountdownTest, NewCountIsPickedUpByTheNextTick) {
    RunTicks(300, 5);
    CountdownSeconds = 60;  // what a new type-2 entry leaves, the label untouched
    OnCountdownTick();
    EXPECT_EQ(fakeWindow.captions[Control::标签7], "60");
    EXPECT_EQ(CountdownSeconds, 59);
}

TEST_F(CountdownTest, PowerOffNowAsksOnceWithForceAndStops) {
    SetTimerPeriod(Control::时钟1_倒计时, 1000);
    PowerOffNow();
    ASSERT_EQ(fakePower.requests.size(), 1u);
    EXPECT_TRUE(fakePower.requests[0].force);
    EXPECT_EQ(fakeWindow.timerPeriod, 0);
}

TEST_F(CountdownTest, KeepsTheMachineAwakeOnlyWhileCounting) {
    KeepSystemAwake(true);  // as a confirmed entry does
    RunTicks(2, 1);
    EXPECT_TRUE(fakePower.awake);
    OnCountdownTick();
    EXPECT_FALSE(fakePower.awake);  // released once the power-off was asked for

    ResetFakes();
    fakePower.accept = false;
    KeepSystemAwake(true);
    RunTicks(1, 1);
    EXPECT_FALSE(fakePower.awake);  // also when the system refused
}

}  // namespace
