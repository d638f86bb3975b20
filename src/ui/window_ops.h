// Operations the handlers use on the main window. Each platform layer implements them once
// (window_ops_win32.cpp, window_ops_qt.cpp); the tests link a recording fake.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/layout.h"

// Whether the radio button is checked now.
bool IsRadioChecked(Control control);

// The current text of the edit box, UTF-8; empty when nothing was typed.
std::string GetEditText(Control control);

// Replaces the label's text and repaints it.
void SetLabelCaption(Control control, std::string_view utf8Text);

// The same period as now leaves a running timer's rhythm alone; another period stops it; a
// positive one then starts it, first elapsing one period later. 0 or less leaves it stopped.
void SetTimerPeriod(Control timer, int32_t milliseconds);

// A modal notice with the caption kNoticeCaption, the text and one OK button, no icon. Returns
// when the user dismisses it; countdown ticks go on meanwhile.
void ShowNotice(std::string_view utf8Text);

// Opens the URL with the desktop's default handler. Failures are not shown.
void OpenWebPage(std::string_view url);
