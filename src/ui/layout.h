// The main window described as data: caption, size and every control with its place, initial
// text and bound event. Both platform layers build their window from this table, so a
// coordinate or a caption is written only here.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

enum class Control : uint8_t {
    标签1,
    编辑框1,
    标签2,
    单选框1,
    标签11,
    标签4,
    编辑框2,
    标签3,
    编辑框3,
    标签5,
    单选框2,
    标签12,
    标签6,
    标签7,
    标签8,
    按钮1,
    标签9,
    标签10,
    时钟1_倒计时,
};

enum class ControlKind : uint8_t { Label, EditBox, RadioButton, PushButton, Timer };

// The control events the program listens to. Every other event of every control is ignored.
enum class ControlEvent : uint8_t {
    None,
    Clicked,             // push button clicked (mouse or space bar)
    LeftButtonPressed,   // left mouse button pressed on the control (not a double click)
    LeftButtonReleased,  // left mouse button released on the control
    PeriodElapsed,       // timer period elapsed
};

using PlainHandler = void (*)();
// x and y in the control's client coordinates; keys is a mask of kKeyCtrl, kKeyShift, kKeyAlt.
using MouseHandler = void (*)(int32_t x, int32_t y, uint32_t keys);

inline constexpr uint32_t kKeyCtrl = 1;
inline constexpr uint32_t kKeyShift = 2;
inline constexpr uint32_t kKeyAlt = 4;

struct Rect {
    int32_t left;
    int32_t top;
    int32_t width;
    int32_t height;
};

struct ControlSpec {
    Control control;
    std::string_view name;  // the layout name, UTF-8
    ControlKind kind;
    Rect rect;                     // client-area pixels; zero for the timer
    std::string_view initialText;  // UTF-8; empty for edit boxes, radio buttons and the timer
    ControlEvent event;
    PlainHandler onEvent;  // for Clicked and PeriodElapsed
    MouseHandler onMouse;  // for LeftButtonPressed and LeftButtonReleased
};

// The caption ends with the maker's instant-messaging account number.
inline constexpr std::string_view kWindowCaption = "Brelvo_定时关机小程序-qq800012345";
inline constexpr std::string_view kNoticeCaption = "信息：";
// The maker's site, opened by both link labels.
inline constexpr std::string_view kSiteUrl = "https://brelvo.example.com/";

// Outer size of the window on Windows, frame included. Not resizable.
inline constexpr int32_t kWindowWidth = 424;
inline constexpr int32_t kWindowHeight = 217;
// The client area that frame leaves with the classic metrics (3 px borders, 23 px title bar):
// the Linux window, which has no Win32 frame, uses it as its fixed content size.
inline constexpr int32_t kClientWidth = 418;
inline constexpr int32_t kClientHeight = 188;

inline constexpr int32_t kTimerPeriodMs = 1000;

// Every control in the order of the window's rows.
std::span<const ControlSpec> Controls();

// The control's row of the table. Every Control has one.
const ControlSpec& SpecOf(Control control);

// Tab and Shift+Tab cycle through these; labels and the timer never take the focus.
inline constexpr std::array kTabOrder = {
    Control::按钮1,   Control::编辑框1, Control::单选框1,
    Control::单选框2, Control::编辑框2, Control::编辑框3,
};

struct Point {
    int32_t x;
    int32_t y;
};

// Top-left corner that centres an outer window on a screen, each half truncated toward zero.
Point CentredOrigin(int32_t screenWidth, int32_t screenHeight);

// Runs the handler bound to this event of this control, if any; returns whether one ran.
// The platform layers report the events they see; which of them matter is decided here.
bool DispatchControlEvent(Control control,
                          ControlEvent event,
                          int32_t x = 0,
                          int32_t y = 0,
                          uint32_t keys = 0);
