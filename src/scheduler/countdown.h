// The countdown: one tick a second, and the power-off when the count runs out.
#pragma once

// Handler of 时钟1_倒计时: shows the seconds left, counts down, powers off at 0.
void OnCountdownTick();

// Asks for a forced power-off and stops the timer, whether or not the system accepted.
void PowerOffNow();
