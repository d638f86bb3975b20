#include "scheduler/countdown.h"

#include "app/countdown_state.h"
#include "scheduler/integer_text.h"
#include "system/keep_awake.h"
#include "system/power.h"
#include "ui/layout.h"
#include "ui/window_ops.h"

void OnCountdownTick() {
    // The label shows the count before the decrement, so it reads S … 1 and never 0.
    SetLabelCaption(Control::标签7, FormatInteger(CountdownSeconds));
    CountdownSeconds -= 1;
    if (CountdownSeconds <= 0) {
        PowerOffNow();
    }
}

void PowerOffNow() {
    // A refused request leaves the window open showing 1; the user may confirm a new entry.
    ShutDownSystem(ShutdownKind::PowerOff, /*force=*/true);
    SetTimerPeriod(Control::时钟1_倒计时, 0);
    KeepSystemAwake(false);
}
