// Test driver for the logind power service: the real window, window operations, power-off and
// keep-awake code, run on command by tests/system/logind_test.py against a mock logind on a
// private bus. One command per line on stdin, one answer per line on stdout:
//   power          -> "power 1|0"       ShutDownSystem(PowerOff, force) and its result
//   awake 1|0      -> "awake 1|0"       KeepSystemAwake and its result
//   countdown S    -> "confirmed", then "caption X" on every tick, then "end caption=X count=N"
//                     a type-1 entry of one minute is confirmed in the window, then the count
//                     is cut to S; the run ends 1.5 s after the last change of 标签7.
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "app/countdown_state.h"
#include "scheduler/integer_text.h"
#include "system/keep_awake.h"
#include "system/power.h"
#include "ui/main_window_qt.h"

namespace {

void Say(const std::string& line) {
    std::cout << line << std::endl;
}

// This driver powers off for real on a real system bus. It runs only where the test driver has
// named the private bus it started, and that bus is the one the D-Bus library will use.
void RefuseTheRealSystemBus() {
    const char* address = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
    const char* privateBus = std::getenv("SHUTDOWN_TIMER_PRIVATE_BUS");
    if (address == nullptr || privateBus == nullptr || std::strcmp(address, privateBus) != 0 ||
        std::strstr(address, "/run/dbus/system_bus_socket") != nullptr) {
        std::fputs("logind_probe: refusing to run without a private system bus\n", stderr);
        std::abort();
    }
}

void RunCountdown(int32_t seconds) {
    MainWindow window;
    window.show();
    auto* label = qobject_cast<QLabel*>(window.ControlWidget(Control::标签7));
    qobject_cast<QAbstractButton*>(window.ControlWidget(Control::单选框1))->click();
    qobject_cast<QLineEdit*>(window.ControlWidget(Control::编辑框1))->setText(QStringLiteral("1"));
    qobject_cast<QAbstractButton*>(window.ControlWidget(Control::按钮1))->click();
    CountdownSeconds = seconds;
    Say("confirmed");

    QElapsedTimer sinceChange;
    sinceChange.start();
    QString shown = label->text();
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (label->text() != shown) {
            shown = label->text();
            sinceChange.restart();
            Say("caption " + shown.toStdString());
        } else if (sinceChange.elapsed() > 1500) {
            loop.quit();
        }
    });
    poll.start(1);
    loop.exec();
    Say("end caption=" + shown.toStdString() + " count=" + FormatInteger(CountdownSeconds));
}

}  // namespace

int main(int argc, char** argv) {
    RefuseTheRealSystemBus();
    QApplication application(argc, argv);
    std::string command;
    while (std::cin >> command) {
        if (command == "power") {
            Say(std::string("power ") + (ShutDownSystem(ShutdownKind::PowerOff, true) ? "1" : "0"));
        } else if (command == "awake") {
            int awake = 0;
            std::cin >> awake;
            Say(std::string("awake ") + (KeepSystemAwake(awake != 0) ? "1" : "0"));
        } else if (command == "countdown") {
            int seconds = 0;
            std::cin >> seconds;
            RunCountdown(seconds);
        } else {
            Say("unknown " + command);
        }
    }
    return 0;
}
