// Turning the user's entry into a count of seconds and starting the countdown.
#pragma once

#include <cstdint>

// Largest type-1 entry in minutes: N × 60000 ms must stay within a signed 32-bit integer.
inline constexpr int32_t kMaxDelayMinutes = 35791;

// Handler of a click on 按钮1 ("确认设定"). A refused entry shows a notice and changes nothing.
void OnConfirmClicked();
