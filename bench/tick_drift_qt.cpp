// Tick drift on Linux with Qt's precise single-shot timers: the program's grid schedule against
// re-arming a full period after each tick, in the same event loop.
// Usage: tick_drift_qt [ticks=1000] [period_ms=100]
#include <QCoreApplication>
#include <QTimer>

#include <chrono>
#include <cstdlib>

#include "tick_drift.h"
#include "ui/tick_schedule.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int64_t ticks = argc > 1 ? std::atoll(argv[1]) : 1000;
    const int32_t period = argc > 2 ? std::atoi(argv[2]) : 100;

    const Clock::time_point start = Clock::now();
    auto nowMs = [&] { return static_cast<int64_t>(MsSince(start)); };

    DriftRecord grid;
    DriftRecord naive;
    int finished = 0;
    auto finish = [&] {
        if (++finished == 2) {
            PrintDrift("linux", "grid", period, grid);
            PrintDrift("linux", "naive", period, naive);
            QCoreApplication::quit();
        }
    };

    TickSchedule schedule;
    ChangeTickPeriod(schedule, period, nowMs());
    QTimer gridTimer;
    gridTimer.setSingleShot(true);
    gridTimer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&gridTimer, &QTimer::timeout, [&] {
        const int64_t index = schedule.nextIndex;
        const TickOutcome outcome = AdvanceTickSchedule(schedule, nowMs());
        if (outcome.due) {
            grid.missed += outcome.missed;
            grid.Add(MsSince(start) - static_cast<double>((index + outcome.missed) * period));
            if (grid.ticks + grid.missed >= ticks) {
                finish();
                return;
            }
        }
        gridTimer.start(static_cast<int>(MillisecondsUntilNextTick(schedule, nowMs())));
    });
    gridTimer.start(static_cast<int>(MillisecondsUntilNextTick(schedule, nowMs())));

    QTimer naiveTimer;
    naiveTimer.setSingleShot(true);
    naiveTimer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&naiveTimer, &QTimer::timeout, [&] {
        naive.Add(MsSince(start) - static_cast<double>((naive.ticks + 1) * period));
        if (naive.ticks >= ticks) {
            finish();
            return;
        }
        naiveTimer.start(period);
    });
    naiveTimer.start(period);

    return QCoreApplication::exec();
}
