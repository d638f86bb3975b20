#include <ctime>

#include "system/local_clock.h"

LocalTimeOfDay ReadLocalClock() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_hour, local.tm_min};
}
