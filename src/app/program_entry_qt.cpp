// Start-up on Linux: make sure there is a display to talk to, create the application, then
// run ProgramEntry: the window and the event loop until the window is closed.
#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QWindow>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

#include "app/countdown_state.h"
#include "ui/main_window_qt.h"

namespace {

constexpr int kFatalExitCode = -1;

constexpr char kNoDisplayMessage[] =
    "shutdown-timer: 无法打开窗口：找不到图形显示 (no display to show the window on; "
    "set DISPLAY or WAYLAND_DISPLAY, or run it from a desktop session)\n";
constexpr char kNoWindowMessage[] = "无法创建主窗口。";
constexpr char kNoWindowStderr[] =
    "shutdown-timer: 无法创建主窗口 (the main window could not be created)\n";

bool HasEnv(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

// Without a display QApplication aborts with a core dump, so a missing one is caught first.
// A platform chosen explicitly (offscreen, vnc, eglfs …) is trusted, except the two desktop
// ones, which need their variable.
bool DisplayLooksUsable() {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty()) {
        return HasEnv("DISPLAY") || HasEnv("WAYLAND_DISPLAY");
    }
    if (platform.startsWith("xcb")) {
        return HasEnv("DISPLAY");
    }
    if (platform.startsWith("wayland")) {
        return HasEnv("WAYLAND_DISPLAY");
    }
    return true;
}

// A display that is named but cannot be reached still makes Qt give up while the application
// is being created; this turns its abort into the program's own fatal start-up error.
void ExitOnFatalStartupMessage(QtMsgType type,
                               const QMessageLogContext& /*context*/,
                               const QString& message) {
    std::fputs(message.toLocal8Bit().constData(), stderr);
    std::fputc('\n', stderr);
    if (type == QtFatalMsg) {
        std::fputs(kNoDisplayMessage, stderr);
        std::_Exit(kFatalExitCode);
    }
}

int ProgramEntry() {
    CountdownSeconds = 0;
    MainWindow window;
    window.show();
    if (window.windowHandle() == nullptr || !window.isVisible()) {
        std::fputs(kNoWindowStderr, stderr);
        QMessageBox::critical(nullptr, QString::fromUtf8("定时关机"),
                              QString::fromUtf8(kNoWindowMessage));
        return kFatalExitCode;
    }
    // Closing the window ends the loop; a countdown still running is abandoned with it.
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    if (!DisplayLooksUsable()) {
        std::fputs(kNoDisplayMessage, stderr);
        return kFatalExitCode;
    }
    const QtMessageHandler previous = qInstallMessageHandler(ExitOnFatalStartupMessage);
    QApplication application(argc, argv);
    qInstallMessageHandler(previous);

    QApplication::setApplicationName(QStringLiteral("shutdown-timer"));
    // Lets Wayland compositors and docks match the window to the installed desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("shutdown-timer"));
    return ProgramEntry();
}
