#include "skin/wrappers/SkinScControl.h"

#include "classlib/controls/Messages.h"
#include "classlib/controls/WinControl.h"

namespace {
// The vertical-scroll notification the class library reflects back to a scroll-bar control.
constexpr UINT kReflectedVScroll = 0xBC00 + WM_VSCROLL;
} // namespace

void TSkinScControl::AttachControl(TSkinForm* form, TSkinData* skin, bool, TCanvas* canvas)
{
    if (auto* control = dynamic_cast<TWinControl*>(Owner()))
        AttachBar(control, skin, form, canvas);
}

void TSkinScControl::AttachBar(TWinControl* control, TSkinData* skin, TSkinForm* form, TCanvas* canvas)
{
    if (Attached || !control)
        return;
    Handle = control->Handle();
    UnicodeWindow = IsWindowUnicode(Handle) != FALSE;
    HookControl(form, skin, canvas);
    Bar = new TSkinBarOverlay(this);
    Bar->SetHint(control->Hint());
    Bar->SetShowHint(control->ShowHint());
    Bar->AttachToControl(this, control, bkControl);
    if (!control->Visible())
        Bar->HideBar();
    Attached = true;
    State = wsAttached;
}

void TSkinScControl::AttachWindow(HWND handle, TSkinData* skin, TSkinForm* form, TCanvas* canvas)
{
    if (Attached || !IsWindow(handle))
        return;
    Bar = new TSkinBarOverlay(this);
    SkinData = skin;
    Bar->AttachToWindow(this, handle, bkControl);
    TSkinControl::AttachWindow(handle, skin, form, canvas);
}

void TSkinScControl::AfterMessage(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_WINDOWPOSCHANGED:
        if (Bar)
            Bar->Place();
        break;
    case WM_NCPAINT:
        if (auto* control = dynamic_cast<TWinControl*>(Control); control && control->HandleAllocated())
            Handle = control->Handle();
        if (Bar)
            Bar->Place();
        break;
    case SBM_SETSCROLLINFO:
    case SBM_SETPOS:
    case SBM_SETRANGEREDRAW:
    case kReflectedVScroll:
        // The bar control draws a new position straight away, without a paint message.
        if (Bar)
            Bar->Repaint();
        break;
    case CM_VISIBLECHANGED:
        if (Bar && msg.WParam)
            Bar->Place();
        else if (Bar)
            Bar->HideBar();
        break;
    default:
        TSkinControl::AfterMessage(msg);
        break;
    }
}

void TSkinScControl::Draw(HDC, const RECT&)
{
    if (Bar)
        Bar->Repaint();
}

void TSkinScControl::Restore()
{
    TSkinControl::Restore();
    if (State != wsDestroyed) {
        delete Bar;
        Bar = nullptr;
    } else if (Bar) {
        Bar->HideBar();
    }
}
