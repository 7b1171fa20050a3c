#include "classlib/extctrls/UpDown.h"

#include <commctrl.h>

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner)
{
    SetBounds(0, 0, 17, 21);
}

void TUpDown::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.systemClass = UPDOWN_CLASSW;
    p.style |= UDS_ARROWKEYS | UDS_NOTHOUSANDS;
    if (associate_)
        p.style |= UDS_SETBUDDYINT;
    if (orientation_ == udHorizontal)
        p.style |= UDS_HORZ;
    if (wrap_)
        p.style |= UDS_WRAP;
}

void TUpDown::InitializeWnd()
{
    TWinControl::InitializeWnd();
    HWND h = Handle();
    SendMessageW(h, UDM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    UDACCEL accel{0, static_cast<UINT>(increment_)};
    SendMessageW(h, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    if (associate_) {
        SendMessageW(h, UDM_SETBUDDY, reinterpret_cast<WPARAM>(associate_->Handle()), 0);
        // Some systems resize the arrows to their own width when a buddy is set.
        SetWindowPos(h, nullptr, Left(), Top(), Width(), Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SendMessageW(h, UDM_SETPOS32, 0, static_cast<LPARAM>(position_));
}

void TUpDown::SaveWndState() { position_ = Position(); }

void TUpDown::SetAssociate(TWinControl* value)
{
    if (value == associate_ || value == this)
        return;
    if (associate_)
        associate_->RemoveFreeNotification(this);
    associate_ = value;
    if (associate_)
        associate_->FreeNotification(this);
    if (HandleAllocated())
        RecreateWnd(); // the buddy style is fixed at creation
}

void TUpDown::Notification(TComponent* component, TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == associate_) {
        associate_ = nullptr;
        if (HandleAllocated())
            SendMessageW(Handle(), UDM_SETBUDDY, 0, 0);
    }
}

void TUpDown::SetMin(int value)
{
    min_ = value;
    if (HandleAllocated())
        SendMessageW(Handle(), UDM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
}

void TUpDown::SetMax(int value)
{
    max_ = value;
    if (HandleAllocated())
        SendMessageW(Handle(), UDM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
}

int TUpDown::Position() const
{
    if (auto* self = const_cast<TUpDown*>(this); self->HandleAllocated())
        return static_cast<int>(SendMessageW(self->Handle(), UDM_GETPOS32, 0, 0));
    return position_;
}

void TUpDown::SetPosition(int value)
{
    const int lo = min_ < max_ ? min_ : max_, hi = min_ < max_ ? max_ : min_;
    position_ = value < lo ? lo : value > hi ? hi : value;
    if (HandleAllocated())
        SendMessageW(Handle(), UDM_SETPOS32, 0, static_cast<LPARAM>(position_));
}

void TUpDown::SetIncrement(int value)
{
    increment_ = value < 1 ? 1 : value;
    if (HandleAllocated()) {
        UDACCEL accel{0, static_cast<UINT>(increment_)};
        SendMessageW(Handle(), UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    }
}

void TUpDown::SetOrientation(TUDOrientation value)
{
    if (value == orientation_)
        return;
    orientation_ = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TUpDown::SetWrap(bool value)
{
    if (value == wrap_)
        return;
    wrap_ = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TUpDown::WndProc(TMessage& m)
{
    if (m.Msg == CN_VSCROLL || m.Msg == CN_HSCROLL) {
        if (LOWORD(m.WParam) != SB_ENDSCROLL) {
            position_ = Position();
            Click();
        }
        return;
    }
    TWinControl::WndProc(m);
}
