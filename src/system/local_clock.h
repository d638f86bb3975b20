// The local wall clock, as the schedule entry needs it.
#pragma once

#include <cstdint>

struct LocalTimeOfDay {
    int32_t hour;    // 0-23
    int32_t minute;  // 0-59
};

// Hour and minute of the current local time, taken from one reading of the clock so that the
// two always belong together, even across an hour boundary.
LocalTimeOfDay ReadLocalClock();
