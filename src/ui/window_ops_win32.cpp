// The window operations on Win32. Texts cross the boundary as UTF-8 and are handed to the wide
// API as UTF-16.
#include <windows.h>

#include <shellapi.h>

#include "ui/window_ops.h"

#include "ui/main_window_win32.h"
#include "ui/tick_schedule.h"
#include "ui/wide_text_win32.h"
#include "ui/window_ops_win32.h"

namespace {

TickSchedule countdownSchedule;

// Milliseconds on the performance counter: monotonic, unlike the wall clock, and finer than
// GetTickCount64's 15.6 ms steps.
int64_t MonotonicMilliseconds() {
    LARGE_INTEGER frequency{};
    LARGE_INTEGER counter{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    // Split so that counter × 1000 cannot overflow however long the machine has been up.
    const int64_t whole = counter.QuadPart / frequency.QuadPart;
    const int64_t part = counter.QuadPart % frequency.QuadPart;
    return whole * 1000 + part * 1000 / frequency.QuadPart;
}

// One-shot: a window timer for the time left until the next deadline. WM_TIMER comes on the
// system's timer resolution (about 15.6 ms) and never early, so each tick is at most that late
// and the lateness does not add up over the countdown.
void ArmCountdownTimer() {
    const HWND window = MainWindow();
    if (window == nullptr) {
        return;
    }
    if (!IsRunning(countdownSchedule)) {
        KillTimer(window, kCountdownTimerId);
        return;
    }
    const int64_t wait = MillisecondsUntilNextTick(countdownSchedule, MonotonicMilliseconds());
    SetTimer(window, kCountdownTimerId, static_cast<UINT>(wait), nullptr);
}

}  // namespace

void OnCountdownTimerFired() {
    const TickOutcome outcome = AdvanceTickSchedule(countdownSchedule, MonotonicMilliseconds());
    if (outcome.due) {
        // The handler may change or stop the timer; the schedule then says what to arm.
        DispatchControlEvent(Control::时钟1_倒计时, ControlEvent::PeriodElapsed);
    }
    ArmCountdownTimer();
}

bool IsRadioChecked(Control control) {
    return SendMessageW(ControlWindow(control), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string GetEditText(Control control) {
    const HWND edit = ControlWindow(control);
    const int length = GetWindowTextLengthW(edit);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(edit, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return NarrowToUtf8(text);
}

void SetLabelCaption(Control control, std::string_view utf8Text) {
    SetWindowTextW(ControlWindow(control), WidenUtf8(utf8Text).c_str());
}

void SetTimerPeriod(Control timer, int32_t milliseconds) {
    if (timer != Control::时钟1_倒计时) {
        return;
    }
    if (ChangeTickPeriod(countdownSchedule, milliseconds, MonotonicMilliseconds())) {
        ArmCountdownTimer();
    }
}

// No owner and task-modal: every window of the program is disabled until it is dismissed,
// while its modal loop goes on dispatching the countdown's WM_TIMER.
void ShowNotice(std::string_view utf8Text) {
    MessageBoxW(nullptr, WidenUtf8(utf8Text).c_str(), WidenUtf8(kNoticeCaption).c_str(),
                MB_OK | MB_TASKMODAL);
    // An ownerless box may hand the activation to nobody when it closes (the main window is
    // still disabled at that moment); take it back, so the keyboard works without a click. The
    // user has just dismissed the box, so the program is the one in the foreground.
    const HWND window = MainWindow();
    if (window != nullptr) {
        SetForegroundWindow(window);
    }
}

void OpenWebPage(std::string_view url) {
    ShellExecuteW(nullptr, L"open", WidenUtf8(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
