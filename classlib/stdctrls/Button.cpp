#include "classlib/stdctrls/Button.h"

#include <cwctype>

#include "classlib/Unicode.h"
#include "classlib/forms/Form.h"

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner)
{
    SetTabStop(true);
}

void TButtonControl::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.systemClass = L"BUTTON";
}

void TButtonControl::WndProc(TMessage& m)
{
    if (m.Msg == CN_COMMAND) {
        if (HIWORD(m.WParam) == BN_CLICKED)
            ButtonClicked();
        return;
    }
    TWinControl::WndProc(m);
}

bool TButtonControl::IsAccel(WPARAM key) const
{
    const std::wstring text = Utf8ToWide(Caption());
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&')
            continue;
        if (text[i + 1] == L'&') {
            ++i;
            continue;
        }
        return std::towupper(text[i + 1]) == std::towupper(static_cast<wint_t>(key));
    }
    return false;
}

TButton::TButton(TComponent* owner) : TButtonControl(owner)
{
    SetBounds(0, 0, 75, 25);
}

void TButton::CreateParams(TCreateParams& p)
{
    TButtonControl::CreateParams(p);
    p.style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool value)
{
    default_ = value;
    if (HandleAllocated())
        SendMessageW(Handle(), BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click()
{
    if (modalResult_ != 0)
        if (TCustomForm* form = GetParentForm(this))
            form->SetModalResult(modalResult_);
    TButtonControl::Click();
}

void TButton::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case CM_DIALOGKEY:
        if (m.WParam == VK_RETURN && CanFocus()) {
            const bool active = Focused() || (default_ && !dynamic_cast<TButton*>(FindControl(GetFocus())));
            if (active) {
                Click();
                m.Result = 1;
            }
            return;
        }
        if (m.WParam == VK_ESCAPE && cancel_ && CanFocus()) {
            Click();
            m.Result = 1;
        }
        return;
    case CM_DIALOGCHAR:
        if (IsAccel(m.WParam) && CanFocus()) {
            SetFocus();
            Click();
            m.Result = 1;
        }
        return;
    default:
        break;
    }
    TButtonControl::WndProc(m);
}
