#include "scheduler/schedule_entry.h"

#include "app/countdown_state.h"
#include "scheduler/integer_text.h"
#include "system/keep_awake.h"
#include "system/local_clock.h"
#include "ui/layout.h"
#include "ui/window_ops.h"

namespace {

constexpr std::string_view kNoticeChooseType = "请先选择类型";
constexpr std::string_view kNoticeUnreasonable = "请设置合理的数值";
constexpr std::string_view kNoticeHourRange = "关机时间请设置1-24的整数";
constexpr std::string_view kNoticeMinuteRange = "分钟请设置为0-60的整数";

// A timer already running at one second keeps its rhythm: the next tick picks up the new count.
void StartCountdown(int32_t seconds) {
    CountdownSeconds = seconds;
    SetTimerPeriod(Control::时钟1_倒计时, kTimerPeriodMs);
    KeepSystemAwake(true);
}

// Type 1: a number of minutes from now. The new count shows at once.
void ConfirmDelay() {
    const int32_t minutes = ParseInteger(GetEditText(Control::编辑框1));
    if (minutes < 1 || minutes > kMaxDelayMinutes) {
        ShowNotice(kNoticeUnreasonable);
        return;
    }
    const int32_t seconds = minutes * 60;
    SetLabelCaption(Control::标签7, FormatInteger(seconds));
    StartCountdown(seconds);
}

// Type 2: an hour and minute of the current day; 24:00 is the end of today, nothing rolls over
// to tomorrow. Seconds are not counted, so the count is always whole minutes.
void ConfirmClockTime() {
    const int32_t hour = ParseInteger(GetEditText(Control::编辑框2));
    if (hour < 1 || hour > 24) {
        ShowNotice(kNoticeHourRange);
        return;
    }
    const int32_t minute = ParseInteger(GetEditText(Control::编辑框3));
    if (minute < 0 || minute > 60) {
        ShowNotice(kNoticeMinuteRange);
        return;
    }
    const LocalTimeOfDay now = ReadLocalClock();
    const int32_t seconds = ((hour - now.hour) * 60 + minute - now.minute) * 60;
    if (seconds <= 0) {
        ShowNotice(kNoticeUnreasonable);
        return;
    }
    // The caption is left alone: the first tick shows the new count.
    StartCountdown(seconds);
}

}  // namespace

void OnConfirmClicked() {
    if (IsRadioChecked(Control::单选框1)) {
        ConfirmDelay();
        return;
    }
    if (!IsRadioChecked(Control::单选框2)) {
        ShowNotice(kNoticeChooseType);
        return;
    }
    ConfirmClockTime();
}
