#pragma once
// Driving windows in GUI tests as a person would, and waiting for what follows. Every wait
// keeps the calling thread's messages flowing (through Application when there is one, so
// keyboard navigation works as in the program) and gives up after a time-out.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace guikit {

using namespace std::chrono_literals;
constexpr std::chrono::milliseconds kDefaultTimeout = 20s;

// Handles the messages waiting on this thread.
void PumpMessages();
// Pumps until `condition` holds; false after the time-out.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = kDefaultTimeout);

std::string WindowText(HWND window);
std::string ClassName(HWND window);
std::vector<HWND> ChildWindows(HWND parent);
// Top-level windows of a process (0: this one) whose title and class match (empty: any).
std::vector<HWND> TopLevelWindows(const std::string& title = {}, const std::string& className = {},
                                  DWORD processId = 0);
// The first such window, waiting for it (nullptr after the time-out).
HWND WaitForWindow(const std::string& title, const std::string& className = {},
                   std::chrono::milliseconds timeout = kDefaultTimeout);

// The window's rectangle in its parent's client coordinates (screen ones for top-levels).
RECT BoundsInParent(HWND window);
SIZE ClientSize(HWND window);

// A left click at a client point: mouse move, button down, button up, posted to the window.
void Click(HWND window, int x, int y);
void Click(HWND window); // at the centre
// A click through the system's input queue: the cursor really moves there and presses.
void SystemClick(HWND window, int x, int y);
// A key pressed and released on the window that has the focus (posted to it).
void PressKey(WORD key);
// Characters typed into a window (WM_CHAR).
void TypeText(HWND window, const std::wstring& text);

// Where tests leave files for a person to look at: <build>/test-output (a Windows path).
std::string TestOutputDir();
// A screenshot of the window (frame included) as PNG in TestOutputDir(); returns its path.
std::string SaveScreenshot(HWND window, const std::string& name);

} // namespace guikit
