#include "ui/tick_schedule.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

TEST(TickSchedule, ChangingThePeriod) {
    const struct {
        const char* why;
        TickSchedule before;
        int32_t period;
        int64_t now;
        bool changed;
        TickSchedule after;
    } cases[] = {
        {"start from stopped", {0, 0, 1}, 1000, 5000, true, {5000, 1000, 1}},
        {"same period keeps the rhythm", {200, 1000, 7}, 1000, 6900, false, {200, 1000, 7}},
        {"stop", {200, 1000, 7}, 0, 6900, true, {6900, 0, 1}},
        {"negative stops", {200, 1000, 7}, -5, 6900, true, {6900, 0, 1}},
        {"stopped stays stopped", {0, 0, 1}, 0, 100, false, {0, 0, 1}},
        {"negative on a stopped timer", {0, 0, 1}, -1, 100, false, {0, 0, 1}},
        {"new period restarts", {200, 1000, 7}, 500, 6900, true, {6900, 500, 1}},
    };
    for (const auto& c : cases) {
        TickSchedule s = c.before;
        EXPECT_EQ(ChangeTickPeriod(s, c.period, c.now), c.changed) << c.why;
        EXPECT_EQ(s.startMs, c.after.startMs) << c.why;
        EXPECT_EQ(s.periodMs, c.after.periodMs) << c.why;
        EXPECT_EQ(s.nextIndex, c.after.nextIndex) << c.why;
    }
}

TEST(TickSchedule, FirstTickOnePeriodAfterTheStart) {
    TickSchedule s;
    ChangeTickPeriod(s, 1000, 10'000);
    EXPECT_EQ(NextDeadline(s), 11'000);
    EXPECT_EQ(MillisecondsUntilNextTick(s, 10'000), 1000);
    EXPECT_EQ(MillisecondsUntilNextTick(s, 10'999), 1);
    EXPECT_EQ(MillisecondsUntilNextTick(s, 12'500), 0);
}

TEST(TickSchedule, WakeUps) {
    const struct {
        const char* why;
        int64_t now;  // schedule started at 0 with 1000 ms, tick 1 due
        bool due;
        int64_t missed;
        int64_t nextDeadline;
    } cases[] = {
        {"early wake-up delivers nothing", 990, false, 0, 1000},
        {"on time", 1000, true, 0, 2000},
        {"a little late keeps the grid", 1040, true, 0, 2000},
        {"just under a period late", 1999, true, 0, 2000},
        {"a whole period late drops one", 2000, true, 1, 3000},
        {"long stall drops the rest, no burst", 9500, true, 8, 10000},
    };
    for (const auto& c : cases) {
        TickSchedule s;
        ChangeTickPeriod(s, 1000, 0);
        const TickOutcome outcome = AdvanceTickSchedule(s, c.now);
        EXPECT_EQ(outcome.due, c.due) << c.why;
        EXPECT_EQ(outcome.missed, c.missed) << c.why;
        EXPECT_EQ(NextDeadline(s), c.nextDeadline) << c.why;
    }
}

TEST(TickSchedule, StoppedScheduleNeverTicks) {
    TickSchedule s;
    ChangeTickPeriod(s, 1000, 0);
    ChangeTickPeriod(s, 0, 500);
    EXPECT_FALSE(IsRunning(s));
    EXPECT_FALSE(AdvanceTickSchedule(s, 100'000).due);
}

// Each wake-up comes up to 30 ms late, as a busy machine delivers timer events. The grid keeps
// the thousandth tick at 1000 s; re-arming a full period after each late tick would drift by
// the sum of all the delays.
TEST(TickSchedule, LateWakeUpsDoNotAddUp) {
    TickSchedule s;
    ChangeTickPeriod(s, 1000, 0);
    std::srand(7);
    int64_t now = 0;
    int64_t naive = 0;
    int delivered = 0;
    while (delivered < 1000) {
        const int64_t lateness = std::rand() % 31;
        now += MillisecondsUntilNextTick(s, now) + lateness;
        naive += 1000 + lateness;
        const TickOutcome outcome = AdvanceTickSchedule(s, now);
        ASSERT_TRUE(outcome.due);
        ASSERT_EQ(outcome.missed, 0);
        ++delivered;
    }
    EXPECT_LE(now, 1'000'030);
    EXPECT_GT(naive - 1'000'000, 5'000);
}

}  // namespace
