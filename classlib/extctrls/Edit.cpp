#include "classlib/extctrls/Edit.h"

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner)
{
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    SetColor(clWindow);
}

void TCustomEdit::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.systemClass = L"EDIT";
    p.style |= ES_AUTOHSCROLL | ES_LEFT;
    if (readOnly_)
        p.style |= ES_READONLY;
    if (borderStyle_ == bsSingle)
        p.exStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::InitializeWnd()
{
    TWinControl::InitializeWnd();
    SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TCustomEdit::SaveWndState()
{
    // What the user typed survives a new window (a changed border or style).
    text_ = GetText();
}

void TCustomEdit::SetBorderStyle(TBorderStyle value)
{
    if (value != bsNone)
        value = bsSingle;
    if (value == borderStyle_)
        return;
    borderStyle_ = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TCustomEdit::SetReadOnly(bool value)
{
    readOnly_ = value;
    if (HandleAllocated())
        SendMessageW(Handle(), EM_SETREADONLY, value, 0);
}

void TCustomEdit::SetMaxLength(int value)
{
    maxLength_ = value < 0 ? 0 : value;
    if (HandleAllocated())
        SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TCustomEdit::SelectAll()
{
    SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

int TCustomEdit::SelStart()
{
    DWORD start = 0, end = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(start);
}

int TCustomEdit::SelLength()
{
    DWORD start = 0, end = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TCustomEdit::WndProc(TMessage& m)
{
    if (m.Msg == CN_COMMAND) {
        if (HIWORD(m.WParam) == EN_CHANGE && OnChange)
            OnChange(this);
        return;
    }
    TWinControl::WndProc(m);
}
