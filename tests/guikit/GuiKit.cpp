#include "guikit/GuiKit.h"

#include <algorithm>
#include <vector>

#include "classlib/Unicode.h"
#include "classlib/forms/Application.h"

namespace guikit {

void PumpMessages()
{
    if (Application) {
        Application->ProcessMessages();
        return;
    }
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        PumpMessages();
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

std::string WindowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return WideToUtf8(text);
}

std::string ClassName(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return WideToUtf8(name);
}

std::vector<HWND> ChildWindows(HWND parent)
{
    std::vector<HWND> list;
    EnumChildWindows(
        parent,
        [](HWND w, LPARAM data) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(data)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&list));
    return list;
}

std::vector<HWND> TopLevelWindows(const std::string& title, const std::string& className, DWORD processId)
{
    struct Search {
        std::string title, className;
        DWORD process;
        std::vector<HWND> found;
    } search{title, className, processId ? processId : GetCurrentProcessId(), {}};
    EnumWindows(
        [](HWND w, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            DWORD process = 0;
            GetWindowThreadProcessId(w, &process);
            if (process != s.process)
                return TRUE;
            if (!s.title.empty() && WindowText(w) != s.title)
                return TRUE;
            if (!s.className.empty() && ClassName(w) != s.className)
                return TRUE;
            s.found.push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindow(const std::string& title, const std::string& className, std::chrono::milliseconds timeout)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND w : TopLevelWindows(title, className))
                if (IsWindowVisible(w)) {
                    found = w;
                    return true;
                }
            return false;
        },
        timeout);
    return found;
}

RECT BoundsInParent(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    if (HWND parent = GetParent(window); parent && (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

SIZE ClientSize(HWND window)
{
    RECT r{};
    GetClientRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

void Click(HWND window, int x, int y)
{
    const LPARAM at = MAKELPARAM(x, y);
    PostMessageW(window, WM_MOUSEMOVE, 0, at);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
}

void Click(HWND window)
{
    SIZE size = ClientSize(window);
    Click(window, size.cx / 2, size.cy / 2);
}

void SystemClick(HWND window, int x, int y)
{
    POINT p{x, y};
    ClientToScreen(window, &p);
    SetCursorPos(p.x, p.y);
    INPUT input[2] = {};
    input[0].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].type = INPUT_MOUSE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
}

void PressKey(WORD key)
{
    HWND target = GetFocus();
    const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    PostMessageW(target, WM_KEYDOWN, key, 1 | (scan << 16));
    PostMessageW(target, WM_KEYUP, key, 1 | (scan << 16) | (1u << 30) | (1u << 31));
}

void TypeText(HWND window, const std::wstring& text)
{
    for (wchar_t c : text)
        PostMessageW(window, WM_CHAR, c, 1);
}

std::string TestOutputDir()
{
    std::string dir = "Z:" KESTRIP_TEST_OUTPUT_DIR;
    std::replace(dir.begin(), dir.end(), '/', '\\');
    CreateDirectoryW(Utf8ToWide(dir).c_str(), nullptr);
    return dir;
}

} // namespace guikit
