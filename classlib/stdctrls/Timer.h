#pragma once
#include <windows.h>

#include "classlib/Component.h"
#include "classlib/controls/Control.h"

// Runs OnTimer every Interval milliseconds on the thread that made it, while Enabled.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned value);

    TNotifyEvent OnTimer;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    void UpdateTimer();

    bool enabled_ = true;
    unsigned interval_ = 1000;
    HWND window_ = nullptr;
    bool running_ = false;
};
