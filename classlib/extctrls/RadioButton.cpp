#include "classlib/extctrls/RadioButton.h"

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner)
{
    SetBounds(0, 0, 113, 17);
    SetParentColor(true);
}

void TRadioButton::CreateParams(TCreateParams& p)
{
    TButtonControl::CreateParams(p);
    // Not automatic: the siblings are unchecked here, whatever window they sit in.
    p.style |= BS_RADIOBUTTON;
    if (alignment_ == taLeftJustify)
        p.style |= BS_LEFTTEXT;
}

void TRadioButton::InitializeWnd()
{
    TButtonControl::InitializeWnd();
    SendMessageW(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool value)
{
    if (value == checked_)
        return;
    checked_ = value;
    if (HandleAllocated())
        SendMessageW(Handle(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (value && Parent())
        for (int i = 0; i < Parent()->ControlCount(); ++i)
            if (auto* other = dynamic_cast<TRadioButton*>(Parent()->Controls(i)); other && other != this)
                other->SetChecked(false);
    Perform(CM_STATECHANGED, value ? 1 : 0);
}

void TRadioButton::SetAlignment(TAlignment value)
{
    if (value == alignment_)
        return;
    alignment_ = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TRadioButton::ButtonClicked()
{
    SetChecked(true);
    Click();
}

void TRadioButton::WndProc(TMessage& m)
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
