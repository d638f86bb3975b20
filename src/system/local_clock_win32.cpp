#include <windows.h>

#include "system/local_clock.h"

LocalTimeOfDay ReadLocalClock() {
    SYSTEMTIME local{};
    GetLocalTime(&local);
    return {local.wHour, local.wMinute};
}
