#include "classlib/stdctrls/CheckBox.h"

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner)
{
    SetBounds(0, 0, 97, 17);
    SetParentColor(true);
}

void TCustomCheckBox::CreateParams(TCreateParams& p)
{
    TButtonControl::CreateParams(p);
    // Not automatic: the control decides the next state itself.
    p.style |= BS_3STATE;
}

void TCustomCheckBox::InitializeWnd()
{
    TButtonControl::InitializeWnd();
    SendMessageW(Handle(), BM_SETCHECK, static_cast<WPARAM>(state_), 0);
}

void TCustomCheckBox::SetState(TCheckBoxState value)
{
    if (value == state_)
        return;
    state_ = value;
    if (HandleAllocated())
        SendMessageW(Handle(), BM_SETCHECK, static_cast<WPARAM>(value), 0);
    Perform(CM_STATECHANGED, static_cast<WPARAM>(value));
}

void TCustomCheckBox::ButtonClicked()
{
    switch (state_) {
    case cbUnchecked:
        SetState(cbChecked);
        break;
    case cbChecked:
        SetState(allowGrayed_ ? cbGrayed : cbUnchecked);
        break;
    case cbGrayed:
        SetState(cbUnchecked);
        break;
    }
    Click();
}

void TCustomCheckBox::WndProc(TMessage& m)
{
    if (m.Msg == CM_DIALOGCHAR) {
        if (IsAccel(m.WParam) && CanFocus()) {
            SetFocus();
            ButtonClicked();
            m.Result = 1;
        }
        return;
    }
    TButtonControl::WndProc(m);
}
