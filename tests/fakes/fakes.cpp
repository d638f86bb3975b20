#include "fakes.h"

#include "app/countdown_state.h"
#include "system/keep_awake.h"
#include "system/power.h"
#include "ui/window_ops.h"

FakeWindow fakeWindow;
FakePower fakePower;
LocalTimeOfDay fakeClock{12, 0};
int fakeClockReads = 0;

void ResetFakes() {
    fakeWindow = FakeWindow{};
    for (const ControlSpec& spec : Controls()) {
        if (spec.kind == ControlKind::Label) {
            fakeWindow.captions[spec.control] = std::string(spec.initialText);
        }
    }
    fakePower = FakePower{};
    fakeClock = {12, 0};
    fakeClockReads = 0;
    CountdownSeconds = 0;
}

bool IsRadioChecked(Control control) {
    return fakeWindow.radioChecked[control];
}

std::string GetEditText(Control control) {
    fakeWindow.editReads.push_back(control);
    return fakeWindow.editText[control];
}

void SetLabelCaption(Control control, std::string_view utf8Text) {
    fakeWindow.captions[control] = std::string(utf8Text);
}

void SetTimerPeriod(Control /*timer*/, int32_t milliseconds) {
    fakeWindow.timerPeriodCalls.push_back(milliseconds);
    const int32_t period = milliseconds > 0 ? milliseconds : 0;
    if (period != fakeWindow.timerPeriod) {
        fakeWindow.timerPeriod = period;
        ++fakeWindow.timerRestarts;
    }
}

void ShowNotice(std::string_view utf8Text) {
    fakeWindow.notices.emplace_back(utf8Text);
}

void OpenWebPage(std::string_view url) {
    fakeWindow.openedUrls.emplace_back(url);
}

LocalTimeOfDay ReadLocalClock() {
    ++fakeClockReads;
    return fakeClock;
}

bool ShutDownSystem(ShutdownKind /*kind*/, bool force) {
    fakePower.requests.push_back({force});
    return fakePower.accept;
}

bool KeepSystemAwake(bool awake) {
    fakePower.awakeCalls.push_back(awake);
    fakePower.awake = awake;
    return true;
}
