#include "classlib/stdctrls/Timer.h"

#include "classlib/controls/WinControl.h"

namespace {
constexpr wchar_t kClassName[] = L"KestripTimer";
constexpr UINT_PTR kTimerId = 1;
} // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{sizeof wc};
    if (!GetClassInfoExW(instance, kClassName, &wc)) {
        wc = WNDCLASSEXW{sizeof wc};
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = instance;
        wc.lpszClassName = kClassName;
        RegisterClassExW(&wc);
    }
    window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    UpdateTimer();
}

TTimer::~TTimer()
{
    enabled_ = false;
    UpdateTimer();
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

void TTimer::SetEnabled(bool value)
{
    if (value == enabled_)
        return;
    enabled_ = value;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned value)
{
    if (value == interval_)
        return;
    interval_ = value;
    UpdateTimer();
}

void TTimer::UpdateTimer()
{
    if (running_) {
        KillTimer(window_, kTimerId);
        running_ = false;
    }
    if (enabled_ && interval_ > 0 && window_)
        running_ = SetTimer(window_, kTimerId, interval_, nullptr) != 0;
}

LRESULT CALLBACK TTimer::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_TIMER) {
        auto* self = reinterpret_cast<TTimer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && self->enabled_ && self->OnTimer) {
            try {
                self->OnTimer(self);
            } catch (const std::exception& e) {
                HandleControlException(e);
            }
        }
        return 0;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}
