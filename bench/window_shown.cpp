// Starts a program and reports when its first window is shown and how much memory it holds.
// Usage: window_shown [--settle MS] PROGRAM [ARGS...]
// Prints "shown_ms=… rss_kb=…": milliseconds from the exec to the first top-level window
// mapped on the X display, then the resident set size after MS ms (default 1000) more. The
// program is ended afterwards. Needs an X display without a window manager (Xvfb), where a
// program maps its top-level windows directly on the root.
#include <X11/Xlib.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

namespace {

long ResidentKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    int first = 1;
    long settleMs = 1000;
    if (argc > 2 && std::strcmp(argv[1], "--settle") == 0) {
        settleMs = std::strtol(argv[2], nullptr, 10);
        first = 3;
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: window_shown [--settle MS] PROGRAM [ARGS...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "window_shown: no X display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[first], argv + first);
        _exit(127);
    }

    double shownMs = -1;
    const auto deadline = start + std::chrono::seconds(30);
    while (shownMs < 0 && std::chrono::steady_clock::now() < deadline) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect) {
                shownMs = std::chrono::duration<double, std::milli>(
                              std::chrono::steady_clock::now() - start)
                              .count();
                break;
            }
        }
        if (waitpid(child, nullptr, WNOHANG) == child) {
            std::fprintf(stderr, "window_shown: %s ended before showing a window\n", argv[first]);
            return 1;
        }
        if (shownMs < 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    }
    long rssKb = -1;
    if (shownMs >= 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
        rssKb = ResidentKb(child);
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    XCloseDisplay(display);
    if (shownMs < 0) {
        std::fprintf(stderr, "window_shown: no window within 30 s\n");
        return 1;
    }
    std::printf("shown_ms=%.1f rss_kb=%ld\n", shownMs, rssKb);
    return 0;
}
