// The one program-wide value: seconds left before the power-off.
#pragma once

#include <cstdint>

// Written by the schedule entry, shown and decremented by the countdown tick. Starts at 0.
extern int32_t CountdownSeconds;
