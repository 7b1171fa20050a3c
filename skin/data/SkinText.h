#pragma once
// Text helpers of the painters. ControlFromHandle (the class library's) finds the control
// object of a window.
#include <string>

#include <windows.h>

#include "classlib/controls/Control.h"

// Text in the system's ANSI code page to UTF-16.
std::wstring AnsiToWide(const std::string& text);
// DrawTextW of the text; returns what DrawText returns.
int SkinDrawText(HDC dc, const std::wstring& text, RECT& rect, UINT format);
