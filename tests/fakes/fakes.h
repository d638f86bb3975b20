// Recording fakes linked in place of the platform layers: the window operations, the local
// clock and the power service. Tests set them up, run a handler and read what it did.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "system/local_clock.h"
#include "ui/layout.h"
#include "ui/window_ops.h"

struct FakeWindow {
    std::map<Control, bool> radioChecked;
    std::map<Control, std::string> editText;
    std::map<Control, std::string> captions;  // labels, starting from the layout table
    int32_t timerPeriod = 0;
    std::vector<int32_t> timerPeriodCalls;  // every SetTimerPeriod value, in order
    int timerRestarts = 0;                  // calls that changed a running or stopped timer
    std::vector<std::string> notices;
    std::vector<std::string> openedUrls;
    std::vector<Control> editReads;  // every GetEditText call, in order
};

struct FakePower {
    bool accept = true;  // what the system answers
    struct Request {
        bool force;
    };
    std::vector<Request> requests;
    bool awake = false;            // whether the machine is being kept awake
    std::vector<bool> awakeCalls;  // every KeepSystemAwake value, in order
};

// The state every fake reads and writes. ResetFakes() restores the window's initial state
// (captions from the layout table, nothing checked or typed, timer stopped), a clock reading
// of 12:00, a power service that accepts, and CountdownSeconds = 0.
extern FakeWindow fakeWindow;
extern FakePower fakePower;
extern LocalTimeOfDay fakeClock;
extern int fakeClockReads;

void ResetFakes();
