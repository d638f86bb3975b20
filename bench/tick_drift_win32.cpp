// Tick drift on Windows with window timers (SetTimer, WM_TIMER): the program's grid schedule
// against re-arming a full period after each tick, in the same message loop.
// Usage: tick_drift_win32.exe [ticks=1000] [period_ms=100]
#include <windows.h>

#include <cstdlib>

#include "tick_drift.h"
#include "ui/tick_schedule.h"

namespace {

constexpr UINT_PTR kGridTimer = 1;
constexpr UINT_PTR kNaiveTimer = 2;

LARGE_INTEGER frequency;
LARGE_INTEGER start;
int64_t ticks = 1000;
int32_t period = 100;
TickSchedule schedule;
DriftRecord grid;
DriftRecord naive;
int finished = 0;

double MsSinceStart() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

int64_t NowMs() {
    return static_cast<int64_t>(MsSinceStart());
}

void Finish() {
    if (++finished == 2) {
        PrintDrift("windows", "grid", period, grid);
        PrintDrift("windows", "naive", period, naive);
        PostQuitMessage(0);
    }
}

void OnGridTimer(HWND window) {
    KillTimer(window, kGridTimer);
    const int64_t index = schedule.nextIndex;
    const TickOutcome outcome = AdvanceTickSchedule(schedule, NowMs());
    if (outcome.due) {
        grid.missed += outcome.missed;
        grid.Add(MsSinceStart() - static_cast<double>((index + outcome.missed) * period));
        if (grid.ticks + grid.missed >= ticks) {
            Finish();
            return;
        }
    }
    SetTimer(window, kGridTimer, static_cast<UINT>(MillisecondsUntilNextTick(schedule, NowMs())),
             nullptr);
}

void OnNaiveTimer(HWND window) {
    KillTimer(window, kNaiveTimer);
    naive.Add(MsSinceStart() - static_cast<double>((naive.ticks + 1) * period));
    if (naive.ticks >= ticks) {
        Finish();
        return;
    }
    SetTimer(window, kNaiveTimer, static_cast<UINT>(period), nullptr);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        if (wParam == kGridTimer) {
            OnGridTimer(window);
        } else if (wParam == kNaiveTimer) {
            OnNaiveTimer(window);
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    ticks = argc > 1 ? std::atoll(argv[1]) : 1000;
    period = argc > 2 ? std::atoi(argv[2]) : 100;

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TickDriftBench";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowW(L"TickDriftBench", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                windowClass.hInstance, nullptr);
    if (window == nullptr) {
        return 1;
    }

    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    ChangeTickPeriod(schedule, period, NowMs());
    SetTimer(window, kGridTimer, static_cast<UINT>(period), nullptr);
    SetTimer(window, kNaiveTimer, static_cast<UINT>(period), nullptr);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return 0;
}
