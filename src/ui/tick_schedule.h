// Deadlines of the countdown timer on a monotonic clock. Tick n is due at start + n × period,
// never "a period after the last tick", so a late delivery does not push back every later tick.
// A tick missed entirely is dropped, never delivered in a burst. The platform layers keep one
// TickSchedule per timer and only arm their native one-shot timer for the next deadline.
#pragma once

#include <cstdint>

struct TickSchedule {
    int64_t startMs = 0;
    int64_t periodMs = 0;  // 0: stopped
    int64_t nextIndex = 1;
};

// Applies a new period at nowMs: the same period keeps the rhythm and returns false; another
// one stops the schedule and, when positive, starts it afresh from nowMs. True when the native
// timer has to be re-armed (or, for a stopped schedule, killed).
bool ChangeTickPeriod(TickSchedule& schedule, int32_t periodMs, int64_t nowMs);

bool IsRunning(const TickSchedule& schedule);

// When the next tick is due.
int64_t NextDeadline(const TickSchedule& schedule);

// Milliseconds from nowMs until the next tick, 0 when it is already due.
int64_t MillisecondsUntilNextTick(const TickSchedule& schedule, int64_t nowMs);

struct TickOutcome {
    bool due;        // deliver one tick now
    int64_t missed;  // ticks whose deadline passed entirely and that are dropped
};

// Called when the native timer fires at nowMs. A timer that fired early reports nothing due.
// Afterwards the schedule's next deadline is the first one later than nowMs.
TickOutcome AdvanceTickSchedule(TickSchedule& schedule, int64_t nowMs);
