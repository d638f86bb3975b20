// The program's one window, built from the layout table with plain Win32 controls.
#pragma once

#include "ui/layout.h"

// The Win32 window handle type, declared here so that this header needs no <windows.h>.
struct HWND__;
using WindowHandle = HWND__*;

// Registers the class, creates the window and its controls and shows it, focus on 按钮1.
// Null when the window could not be created.
WindowHandle CreateMainWindow(int showCommand);

// The window itself, and the child window of a control (null for the timer and after the
// window was closed).
WindowHandle MainWindow();
WindowHandle ControlWindow(Control control);
