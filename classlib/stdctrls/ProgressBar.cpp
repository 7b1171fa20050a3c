#include "classlib/stdctrls/ProgressBar.h"

#include <commctrl.h>

#include <algorithm>

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner)
{
    SetBounds(0, 0, 150, 16);
}

void TProgressBar::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.systemClass = PROGRESS_CLASSW;
    if (smooth_)
        p.style |= PBS_SMOOTH;
}

void TProgressBar::InitializeWnd()
{
    TWinControl::InitializeWnd();
    SendMessageW(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
    SendMessageW(Handle(), PBM_SETSTEP, static_cast<WPARAM>(step_), 0);
    SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SaveWndState()
{
    position_ = Position();
}

void TProgressBar::SetMin(int value)
{
    min_ = value;
    position_ = std::max(position_, min_);
    if (HandleAllocated())
        SendMessageW(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

void TProgressBar::SetMax(int value)
{
    max_ = value;
    position_ = std::min(position_, max_);
    if (HandleAllocated())
        SendMessageW(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

int TProgressBar::Position() const
{
    if (HandleAllocated())
        return static_cast<int>(SendMessageW(const_cast<TProgressBar*>(this)->Handle(), PBM_GETPOS, 0, 0));
    return position_;
}

void TProgressBar::SetPosition(int value)
{
    position_ = std::clamp(value, std::min(min_, max_), std::max(min_, max_));
    if (HandleAllocated())
        SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetStep(int value)
{
    step_ = value;
    if (HandleAllocated())
        SendMessageW(Handle(), PBM_SETSTEP, static_cast<WPARAM>(value), 0);
}

void TProgressBar::SetSmooth(bool value)
{
    if (value == smooth_)
        return;
    smooth_ = value;
    RecreateWnd();
}

void TProgressBar::StepIt()
{
    StepBy(step_);
}

void TProgressBar::StepBy(int delta)
{
    int next = Position() + delta;
    if (max_ > min_ && next > max_)
        next = min_ + (next - min_) % (max_ - min_);
    SetPosition(next);
}
