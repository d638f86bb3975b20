// A whole confirmation with random texts in the three edit boxes, random radio buttons, a random
// local time and sometimes a countdown already running. Whatever the input: an accepted delay
// is N × 60 seconds with 1 ≤ N ≤ 35791, an accepted clock time a positive whole number of
// minutes up to 90000 s, and a refusal shows one notice and changes nothing.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/countdown_state.h"
#include "fakes.h"
#include "scheduler/integer_text.h"
#include "scheduler/schedule_entry.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    ResetFakes();

    const bool running = input.ConsumeBool();
    if (running) {
        CountdownSeconds = input.ConsumeIntegralInRange<int32_t>(1, 2147460);
        fakeWindow.captions[Control::标签7] = FormatInteger(CountdownSeconds + 1);
        fakeWindow.timerPeriod = 1000;
    }
    const bool delayChecked = input.ConsumeBool();
    const bool clockChecked = input.ConsumeBool();
    fakeWindow.radioChecked[Control::单选框1] = delayChecked;
    fakeWindow.radioChecked[Control::单选框2] = clockChecked;
    fakeClock.hour = input.ConsumeIntegralInRange<int32_t>(0, 23);
    fakeClock.minute = input.ConsumeIntegralInRange<int32_t>(0, 59);
    fakeWindow.editText[Control::编辑框1] = input.ConsumeRandomLengthString(64);
    fakeWindow.editText[Control::编辑框2] = input.ConsumeRandomLengthString(64);
    fakeWindow.editText[Control::编辑框3] = input.ConsumeRemainingBytesAsString();

    const int32_t countBefore = CountdownSeconds;
    const std::string captionBefore = fakeWindow.captions[Control::标签7];
    const int32_t periodBefore = fakeWindow.timerPeriod;

    OnConfirmClicked();

    const int32_t count = CountdownSeconds;
    const std::string& caption = fakeWindow.captions[Control::标签7];
    if (!fakeWindow.notices.empty()) {
        Check(fakeWindow.notices.size() == 1);
        Check(count == countBefore);
        Check(caption == captionBefore);
        Check(fakeWindow.timerPeriodCalls.empty());
        Check(fakeWindow.timerPeriod == periodBefore);
        return 0;
    }

    Check(fakeWindow.timerPeriod == 1000);
    Check(fakeWindow.timerPeriodCalls.size() == 1);
    if (delayChecked) {
        const int32_t minutes = ParseInteger(fakeWindow.editText[Control::编辑框1]);
        Check(minutes >= 1 && minutes <= kMaxDelayMinutes);
        Check(count == minutes * 60);
        Check(caption == FormatInteger(count));
    } else {
        Check(clockChecked);
        Check(count > 0 && count <= 90000 && count % 60 == 0);
        Check(caption == captionBefore);
    }
    return 0;
}
