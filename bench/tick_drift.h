// Shared by the tick-drift benchmarks of both platforms: two timers run side by side in one
// event loop for the same number of ticks. "grid" arms a one-shot timer for the next deadline of
// a TickSchedule, as the program does; "naive" re-arms a full period after each tick. Each
// records how late every tick came against start + n × period.
#pragma once

#include <cstdint>
#include <cstdio>

struct DriftRecord {
    int64_t ticks = 0;
    int64_t missed = 0;
    double lastLatenessMs = 0;
    double maxLatenessMs = 0;
    double sumLatenessMs = 0;

    void Add(double latenessMs) {
        ++ticks;
        lastLatenessMs = latenessMs;
        if (latenessMs > maxLatenessMs) {
            maxLatenessMs = latenessMs;
        }
        sumLatenessMs += latenessMs;
    }
};

// One line a schedule, read by bench/run.sh.
inline void PrintDrift(const char* platform,
                       const char* schedule,
                       int32_t periodMs,
                       const DriftRecord& r) {
    std::printf(
        "drift platform=%s schedule=%s period_ms=%d ticks=%lld missed=%lld "
        "last_late_ms=%.1f max_late_ms=%.1f mean_late_ms=%.1f\n",
        platform, schedule, periodMs, static_cast<long long>(r.ticks),
        static_cast<long long>(r.missed), r.lastLatenessMs, r.maxLatenessMs,
        r.ticks > 0 ? r.sumLatenessMs / static_cast<double>(r.ticks) : 0.0);
    std::fflush(stdout);
}
