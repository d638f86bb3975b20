#include "ui/tick_schedule.h"

bool ChangeTickPeriod(TickSchedule& schedule, int32_t periodMs, int64_t nowMs) {
    const int64_t period = periodMs > 0 ? periodMs : 0;
    if (period == schedule.periodMs) {
        return false;
    }
    schedule = TickSchedule{nowMs, period, 1};
    return true;
}

bool IsRunning(const TickSchedule& schedule) {
    return schedule.periodMs > 0;
}

int64_t NextDeadline(const TickSchedule& schedule) {
    return schedule.startMs + schedule.nextIndex * schedule.periodMs;
}

int64_t MillisecondsUntilNextTick(const TickSchedule& schedule, int64_t nowMs) {
    const int64_t left = NextDeadline(schedule) - nowMs;
    return left > 0 ? left : 0;
}

TickOutcome AdvanceTickSchedule(TickSchedule& schedule, int64_t nowMs) {
    if (!IsRunning(schedule) || nowMs < NextDeadline(schedule)) {
        return {false, 0};
    }
    // The latest tick whose deadline has come; the ones between it and the due one are dropped.
    const int64_t latest = (nowMs - schedule.startMs) / schedule.periodMs;
    const int64_t missed = latest - schedule.nextIndex;
    schedule.nextIndex = latest + 1;
    return {true, missed};
}
