// What the main window needs from the Win32 window operations.
#pragma once

#include <cstdint>

// The id of the native timer behind 时钟1_倒计时 (a window timer of the main window, so that it
// keeps firing inside the modal loop of a notice).
inline constexpr uintptr_t kCountdownTimerId = 1;

// WM_TIMER of the countdown timer: delivers at most one tick and arms the next deadline.
void OnCountdownTimerFired();
