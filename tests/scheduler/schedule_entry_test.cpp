#include "scheduler/schedule_entry.h"

#include <gtest/gtest.h>

#include <string>

#include "app/countdown_state.h"
#include "fakes.h"
#include "scheduler/countdown.h"

namespace {

enum class Type { None, Delay, ClockTime, Both };

struct Entry {
    Type type;
    std::string minutes;  // 编辑框1
    std::string hour;     // 编辑框2
    std::string minute;   // 编辑框3
    LocalTimeOfDay clock;
};

class ScheduleEntryTest : public ::testing::Test {
   protected:
    void SetUp() override { ResetFakes(); }

    static void Enter(const Entry& entry) {
        fakeWindow.radioChecked[Control::单选框1] =
            entry.type == Type::Delay || entry.type == Type::Both;
        fakeWindow.radioChecked[Control::单选框2] =
            entry.type == Type::ClockTime || entry.type == Type::Both;
        fakeWindow.editText[Control::编辑框1] = entry.minutes;
        fakeWindow.editText[Control::编辑框2] = entry.hour;
        fakeWindow.editText[Control::编辑框3] = entry.minute;
        fakeClock = entry.clock;
    }

    // A countdown already running, as a user would have it after an earlier entry.
    static void StartRunningCountdown() {
        CountdownSeconds = 1234;
        fakeWindow.captions[Control::标签7] = "1235";
        SetTimerPeriod(Control::时钟1_倒计时, 1000);
        fakeWindow.timerPeriodCalls.clear();
        fakeWindow.timerRestarts = 0;
    }
};

struct RefusedCase {
    const char* why;
    Entry entry;
    const char* notice;
};

TEST_F(ScheduleEntryTest, RefusedEntryShowsItsNoticeAndChangesNothing) {
    const RefusedCase cases[] = {
        {"no type chosen", {Type::None, "5", "23", "0", {12, 0}}, "请先选择类型"},
        {"type 1 empty", {Type::Delay, "", "", "", {12, 0}}, "请设置合理的数值"},
        {"type 1 zero", {Type::Delay, "0", "", "", {12, 0}}, "请设置合理的数值"},
        {"type 1 negative", {Type::Delay, "-5", "", "", {12, 0}}, "请设置合理的数值"},
        {"type 1 above bound", {Type::Delay, "35792", "", "", {12, 0}}, "请设置合理的数值"},
        {"type 1 text", {Type::Delay, "五", "", "", {12, 0}}, "请设置合理的数值"},
        {"type 1 wraps past 2^32",
         {Type::Delay, "4294967301", "", "", {12, 0}},
         "请设置合理的数值"},
        {"type 1 far below", {Type::Delay, "-4294967295", "", "", {12, 0}}, "请设置合理的数值"},
        {"hour 0", {Type::ClockTime, "", "0", "0", {12, 0}}, "关机时间请设置1-24的整数"},
        {"hour 25", {Type::ClockTime, "", "25", "0", {12, 0}}, "关机时间请设置1-24的整数"},
        {"hour empty", {Type::ClockTime, "", "", "0", {12, 0}}, "关机时间请设置1-24的整数"},
        {"hour wraps past 2^32",
         {Type::ClockTime, "", "4294967319", "0", {12, 0}},
         "关机时间请设置1-24的整数"},
        {"both checks fail",
         {Type::ClockTime, "", "25", "61", {12, 0}},
         "关机时间请设置1-24的整数"},
        {"minute -1", {Type::ClockTime, "", "23", "-1", {12, 0}}, "分钟请设置为0-60的整数"},
        {"minute 61", {Type::ClockTime, "", "23", "61", {12, 0}}, "分钟请设置为0-60的整数"},
        {"minute wraps past 2^32",
         {Type::ClockTime, "", "23", "4294967306", {12, 0}},
         "分钟请设置为0-60的整数"},
        {"this very minute", {Type::ClockTime, "", "21", "30", {21, 30}}, "请设置合理的数值"},
        {"earlier today", {Type::ClockTime, "", "8", "15", {21, 30}}, "请设置合理的数值"},
        {"a minute ago", {Type::ClockTime, "", "21", "29", {21, 30}}, "请设置合理的数值"},
        {"type 2 box ignored for type 1",
         {Type::Delay, "", "23", "0", {12, 0}},
         "请设置合理的数值"},
    };
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(c.why);
        ResetFakes();
        StartRunningCountdown();
        Enter(c.entry);

        OnConfirmClicked();

        ASSERT_EQ(fakeWindow.notices.size(), 1u);
        EXPECT_EQ(fakeWindow.notices[0], c.notice);
        EXPECT_EQ(CountdownSeconds, 1234);
        EXPECT_EQ(fakeWindow.captions[Control::标签7], "1235");
        EXPECT_TRUE(fakeWindow.timerPeriodCalls.empty());
        EXPECT_EQ(fakeWindow.timerPeriod, 1000);
        EXPECT_TRUE(fakePower.awakeCalls.empty());
    }
}

TEST_F(ScheduleEntryTest, HourNoticeLeavesTheMinuteBoxUnread) {
    Enter({Type::ClockTime, "", "0", "0", {12, 0}});
    OnConfirmClicked();
    EXPECT_EQ(fakeWindow.editReads, std::vector<Control>{Control::编辑框2});
    EXPECT_EQ(fakeClockReads, 0);
}

struct AcceptedCase {
    const char* why;
    Entry entry;
    int32_t seconds;
};

TEST_F(ScheduleEntryTest, DelayInMinutesShowsTheCountAtOnce) {
    const AcceptedCase cases[] = {
        {"smallest", {Type::Delay, "1", "", "", {12, 0}}, 60},
        {"typical", {Type::Delay, "5", "", "", {12, 0}}, 300},
        {"full-width digits", {Type::Delay, "１０", "", "", {12, 0}}, 600},
        {"space and a unit", {Type::Delay, " 10分钟", "", "", {12, 0}}, 600},
        {"ideographic space", {Type::Delay, "\u300010", "", "", {12, 0}}, 600},
        {"largest", {Type::Delay, "35791", "", "", {12, 0}}, 2147460},
        {"decimal part ignored", {Type::Delay, "12.9", "", "", {12, 0}}, 720},
        {"type 1 wins over type 2", {Type::Both, "2", "0", "99", {12, 0}}, 120},
    };
    for (const AcceptedCase& c : cases) {
        SCOPED_TRACE(c.why);
        ResetFakes();
        Enter(c.entry);

        OnConfirmClicked();

        EXPECT_TRUE(fakeWindow.notices.empty());
        EXPECT_EQ(CountdownSeconds, c.seconds);
        EXPECT_EQ(fakeWindow.captions[Control::标签7], std::to_string(c.seconds));
        EXPECT_EQ(fakeWindow.timerPeriodCalls, std::vector<int32_t>{1000});
        EXPECT_EQ(fakeWindow.editReads, std::vector<Control>{Control::编辑框1});
        EXPECT_TRUE(fakePower.awake);
    }
}

TEST_F(ScheduleEntryTest, ClockTimeCountsWholeMinutesAndLeavesTheLabelForTheFirstTick) {
    const AcceptedCase cases[] = {
        {"an hour and a half ahead", {Type::ClockTime, "", "23", "0", {21, 30}}, 5400},
        {"next minute", {Type::ClockTime, "", "21", "31", {21, 30}}, 60},
        {"end of the day", {Type::ClockTime, "", "24", "0", {23, 10}}, 3000},
        {"minute 60 is the next hour", {Type::ClockTime, "", "21", "60", {21, 30}}, 1800},
        {"latest possible", {Type::ClockTime, "", "24", "60", {0, 0}}, 90000},
        {"from midnight to 1:00", {Type::ClockTime, "", "1", "0", {0, 0}}, 3600},
        {"hour after the last minute", {Type::ClockTime, "", "24", "0", {23, 59}}, 60},
        {"full-width hour and minute", {Type::ClockTime, "", "２３", "０", {21, 30}}, 5400},
        {"minus zero reads as 0", {Type::ClockTime, "", "23", "-0", {22, 0}}, 3600},
    };
    for (const AcceptedCase& c : cases) {
        SCOPED_TRACE(c.why);
        ResetFakes();
        Enter(c.entry);

        OnConfirmClicked();

        EXPECT_TRUE(fakeWindow.notices.empty());
        EXPECT_EQ(CountdownSeconds, c.seconds);
        EXPECT_EQ(fakeWindow.captions[Control::标签7], "18000");
        EXPECT_EQ(fakeWindow.timerPeriodCalls, std::vector<int32_t>{1000});
        EXPECT_EQ(fakeClockReads, 1);  // hour and minute from one reading
        EXPECT_TRUE(fakePower.awake);
    }
}

TEST_F(ScheduleEntryTest, ClockTimeShowsTheCountOnTheFirstTick) {
    Enter({Type::ClockTime, "", "23", "0", {21, 30}});
    OnConfirmClicked();
    OnCountdownTick();
    EXPECT_EQ(fakeWindow.captions[Control::标签7], "5400");
    EXPECT_EQ(CountdownSeconds, 5399);
}

TEST_F(ScheduleEntryTest, NewEntryDuringACountdownReplacesTheCountAndKeepsTheRhythm) {
    StartRunningCountdown();
    Enter({Type::Delay, "2", "", "", {12, 0}});

    OnConfirmClicked();

    EXPECT_EQ(CountdownSeconds, 120);
    EXPECT_EQ(fakeWindow.captions[Control::标签7], "120");
    EXPECT_EQ(fakeWindow.timerPeriodCalls, std::vector<int32_t>{1000});
    EXPECT_EQ(fakeWindow.timerRestarts, 0);  // same period: the running timer is left alone

    OnCountdownTick();
    EXPECT_EQ(fakeWindow.captions[Control::标签7], "120");
    EXPECT_EQ(CountdownSeconds, 119);
}

TEST_F(ScheduleEntryTest, EntryAfterAFailedPowerOffStartsAgain) {
    fakePower.accept = false;
    Enter({Type::Delay, "1", "", "", {12, 0}});
    OnConfirmClicked();
    for (int i = 0; i < 60; ++i) {
        OnCountdownTick();
    }
    ASSERT_EQ(fakeWindow.timerPeriod, 0);

    OnConfirmClicked();

    EXPECT_EQ(CountdownSeconds, 60);
    EXPECT_EQ(fakeWindow.timerPeriod, 1000);
    EXPECT_EQ(fakeWindow.captions[Control::标签7], "60");
}

}  // namespace
