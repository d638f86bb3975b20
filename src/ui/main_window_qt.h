// The main window on Linux: Qt widgets placed at the layout table's pixel rectangles, reporting
// their events to the core, and the countdown timer the window operations drive.
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>

#include "ui/layout.h"
#include "ui/tick_schedule.h"

class QCloseEvent;
class QEvent;
class QObject;

class MainWindow : public QWidget {
   public:
    // Builds every control of the table, centres the window on the primary screen, gives the
    // focus to 按钮1 and makes this the window the window operations act on.
    MainWindow();
    ~MainWindow() override;

    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // The widget built for a control; null for the timer.
    QWidget* ControlWidget(Control control) const;

    // The countdown timer behind SetTimerPeriod.
    void SetCountdownPeriod(int32_t milliseconds);

   protected:
    void closeEvent(QCloseEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

   private:
    void CreateControls();
    void NameCaptionlessControls();
    void OnCountdownTimerFired();
    void ArmCountdownTimer();
    int64_t NowMs() const;

    std::array<QWidget*, static_cast<size_t>(Control::时钟1_倒计时) + 1> widgets_{};
    QElapsedTimer monotonic_;
    QTimer countdownTimer_;
    TickSchedule schedule_;
};

// The window the window operations act on; null when there is none.
MainWindow* CurrentMainWindow();
