#pragma once
// Checks of skinned scroll bars shared by the scroll-bar tests and the main window's: a part of
// a window compared with a skin image drawn the way the painters draw it, and dragging with
// the real mouse while the system's scroll loop runs. That loop is modal inside this thread's
// message handling, so a helper thread presses, moves and releases the button and waits for
// each step to show, while this thread keeps pumping messages.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/Canvas.h"
#include "guikit/GuiKit.h"
#include "skin/draw/SkinDraw.h"

namespace scrolltest {

constexpr TColor kKeyColour = 0xFF00FF;

// A picture as plain pixels, readable from any thread.
struct TPixels {
    int w = 0, h = 0;
    std::vector<TColor> pixels;
    TColor At(int x, int y) const { return pixels[static_cast<std::size_t>(y * w + x)]; }
};

// Image k of an n-image strip stretched to w x h over `background`, the key colour transparent
// (a background of the key colour marks the pixels the image leaves open).
inline TPixels StripPicture(TBitmap& strip, int n, int k, int w, int h, TColor background)
{
    TBitmap b(w, h, pf24bit);
    b.Canvas()->Brush()->SetColor(background);
    b.Canvas()->FillRect({0, 0, w, h});
    DrawStripImage(b.Canvas()->Handle(), {0, 0, w, h}, strip, true, n, k);
    GdiFlush();
    TPixels picture{w, h, {}};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.pixels.push_back(b.Canvas()->Pixel(x, y));
    return picture;
}

// Pixels of the window (client coordinates, the picture's top-left at `origin`) that differ
// from the picture; its key-coloured pixels and those outside the client area are left out.
inline int DiffersFrom(HWND window, POINT origin, const TPixels& picture)
{
    RECT client{};
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    int differing = 0;
    for (int y = 0; y < picture.h && origin.y + y < client.bottom; ++y)
        for (int x = 0; x < picture.w && origin.x + x < client.right; ++x) {
            const TColor want = picture.At(x, y);
            if (want != kKeyColour && origin.y + y >= 0)
                differing += static_cast<TColor>(GetPixel(dc, origin.x + x, origin.y + y)) != want;
        }
    ReleaseDC(window, dc);
    return differing;
}

struct TDragStep {
    int dy = 0;        // cursor offset from the press point, along y
    bool shown = false;
    int cursorY = 0;   // where the cursor really went (screen)
};

namespace dragdetail {
inline void SendMouse(DWORD flags, POINT screen)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_MOVE) {
        const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
        input.mi.dwFlags |= MOUSEEVENTF_ABSOLUTE;
        input.mi.dx = MulDiv(screen.x, 65535, w - 1);
        input.mi.dy = MulDiv(screen.y, 65535, h - 1);
    }
    SendInput(1, &input, sizeof input);
}

inline bool Poll(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

inline HWND CaptureOf(DWORD thread)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) ? info.hwndCapture : nullptr;
}
} // namespace dragdetail

// Presses the left button at `press` (screen), then moves the cursor by each step's dy and
// waits until `shown(step)` holds (it runs on the helper thread), then releases. `captor` is
// the window whose scroll loop takes the mouse. Returns false when the loop never started.
inline bool DragThumb(POINT press, HWND captor, std::vector<TDragStep>& steps,
                      const std::function<bool(const TDragStep&)>& shown)
{
    using namespace std::chrono_literals;
    const DWORD gui = GetCurrentThreadId();
    std::atomic<bool> done{false};
    bool started = false;
    SetCursorPos(press.x, press.y);
    guikit::PumpMessages();
    std::thread driver([&] {
        dragdetail::SendMouse(MOUSEEVENTF_LEFTDOWN, press);
        started = dragdetail::Poll([&] { return dragdetail::CaptureOf(gui) == captor; }, 10s);
        for (TDragStep& step : steps) {
            if (!started)
                break;
            const POINT to{press.x, press.y + step.dy};
            dragdetail::SendMouse(MOUSEEVENTF_MOVE, to);
            dragdetail::Poll([&] {
                POINT at{};
                GetCursorPos(&at);
                return at.y == to.y;
            }, 5s);
            POINT at{};
            GetCursorPos(&at);
            step.cursorY = at.y;
            step.shown = dragdetail::Poll([&] { return shown(step); }, 5s);
        }
        dragdetail::SendMouse(MOUSEEVENTF_LEFTUP, press);
        dragdetail::Poll([&] { return dragdetail::CaptureOf(gui) != captor; }, 10s);
        done = true;
    });
    guikit::WaitUntil([&] { return done.load(); }, 60s);
    driver.join();
    guikit::PumpMessages();
    return started;
}

} // namespace scrolltest
