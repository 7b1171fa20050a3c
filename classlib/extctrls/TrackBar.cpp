#include "classlib/extctrls/TrackBar.h"

#include <commctrl.h>

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner)
{
    SetBounds(0, 0, 150, 45);
    SetTabStop(true);
}

void TTrackBar::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.systemClass = TRACKBAR_CLASSW;
    p.style |= TBS_AUTOTICKS | (orientation_ == trVertical ? TBS_VERT | TBS_RIGHT : TBS_HORZ | TBS_BOTTOM);
}

void TTrackBar::InitializeWnd()
{
    TWinControl::InitializeWnd();
    HWND h = Handle();
    SendMessageW(h, TBM_SETRANGEMIN, FALSE, min_);
    SendMessageW(h, TBM_SETRANGEMAX, FALSE, max_);
    SendMessageW(h, TBM_SETTICFREQ, static_cast<WPARAM>(frequency_), 0);
    SendMessageW(h, TBM_SETPOS, TRUE, position_);
}

void TTrackBar::SaveWndState() { position_ = Position(); }

void TTrackBar::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TTrackBar::SetMin(int value)
{
    min_ = value;
    if (max_ < min_)
        max_ = min_;
    if (HandleAllocated())
        InitializeWnd();
    if (position_ < min_)
        SetPosition(min_);
}

void TTrackBar::SetMax(int value)
{
    max_ = value;
    if (min_ > max_)
        min_ = max_;
    if (HandleAllocated())
        InitializeWnd();
    if (position_ > max_)
        SetPosition(max_);
}

int TTrackBar::Position() const
{
    if (auto* self = const_cast<TTrackBar*>(this); self->HandleAllocated())
        return static_cast<int>(SendMessageW(self->Handle(), TBM_GETPOS, 0, 0));
    return position_;
}

void TTrackBar::SetPosition(int value)
{
    value = value < min_ ? min_ : value > max_ ? max_ : value;
    const bool changed = value != Position();
    position_ = value;
    if (HandleAllocated())
        SendMessageW(Handle(), TBM_SETPOS, TRUE, value);
    if (changed)
        Changed();
}

void TTrackBar::SetFrequency(int value)
{
    frequency_ = value < 1 ? 1 : value;
    if (HandleAllocated())
        SendMessageW(Handle(), TBM_SETTICFREQ, static_cast<WPARAM>(frequency_), 0);
}

void TTrackBar::SetOrientation(TTrackBarOrientation value)
{
    if (value == orientation_)
        return;
    orientation_ = value;
    // A turned bar keeps its place but swaps its extents; stored bounds are already turned.
    if (!Loading())
        SetBounds(Left(), Top(), Height(), Width());
    if (HandleAllocated())
        RecreateWnd();
}

void TTrackBar::WndProc(TMessage& m)
{
    if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
        const int now = Position();
        if (now != position_) {
            position_ = now;
            Changed();
        }
        return;
    }
    TWinControl::WndProc(m);
}
