// The wrapper base: attaching, the message dispatcher and painting entry points.
#include "skin/wrappers/SkinControl.h"

#include "classlib/TypeInfo.h"
#include "classlib/controls/Messages.h"
#include "classlib/controls/WinControl.h"
#include "skin/SkinMessages.h"
#include "skin/data/SkinData.h"
#include "skin/form/SkinForm.h"
#include "skin/manager/SkinManager.h"

TSkinControl::TSkinControl(TComponent* owner) : TComponent(owner) {}

TSkinControl::~TSkinControl()
{
    if (Control && OldWindowMethod) {
        Control->SetWindowProc(OldWindowMethod);
        OldWindowMethod = nullptr;
    }
    if (NewWndProc) {
        if (IsWindow(Handle))
            SwapWindowProc(Handle, OldWndProc, UnicodeWindow);
        NewWndProc.reset();
    }
    if (Form)
        Form->RemoveChildSkin(this);
}

void TSkinControl::AttachControl(TSkinForm* form, TSkinData* skin, bool colorControl, TCanvas* canvas)
{
    if (Attached)
        return;
    Form = form;
    SkinData = skin;
    ColorControl = colorControl;
    Canvas = canvas;
    Control = dynamic_cast<TControl*>(Owner());
    auto* windowed = dynamic_cast<TWinControl*>(Control);
    if (!windowed)
        return;
    Handle = windowed->Handle();
    UnicodeWindow = IsWindowUnicode(Handle) != FALSE;
    OldWindowMethod = Control->WindowProc();
    Control->SetWindowProc([this](TMessage& msg) { Dispatch(msg); });
    windowed->SetDoubleBuffered(true);
    if (Form)
        Form->AddChildSkin(this);
    if (colorControl) {
        if (!skin->Options().Contains(xoParentBackGround) && HasProperty(Control, "ParentBackground") &&
            LowerCase(GetPropText(Control, "ParentBackground")) == "true") {
            SetPropText(Control, "ParentBackground", "False");
            HadParentBackground = true;
        }
        SavedColor = Control->Color();
        Control->SetColor(skin->ButtonFaceColour);
    }
    OwnMouse = HadParentBackground;
    Control->Invalidate();
    Attached = true;
    State = wsAttached;
}

void TSkinControl::AttachWindow(HWND handle, TSkinData* skin, TSkinForm* form, TCanvas* canvas)
{
    if (Attached)
        return;
    Handle = handle;
    SkinData = skin;
    Form = form;
    Canvas = canvas;
    OwnMouse = false;
    if (Form)
        Form->AddChildSkin(this);
    UnicodeWindow = IsWindowUnicode(handle) != FALSE;
    const int length = GetWindowTextLengthW(handle);
    Caption.assign(static_cast<std::size_t>(length) + 1, L'\0');
    Caption.resize(static_cast<std::size_t>(GetWindowTextW(handle, Caption.data(), length + 1)));
    NewWndProc = std::make_unique<TObjectWndProc>(this, &TSkinControl::WindowProcThunk);
    OldWndProc = SwapWindowProc(handle, NewWndProc->Proc(), UnicodeWindow);
    InvalidateRect(handle, nullptr, TRUE);
    Attached = true;
    State = wsAttached;
}

LRESULT TSkinControl::WindowProcThunk(void* self, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessage message{msg, wParam, lParam, 0};
    static_cast<TSkinControl*>(self)->Dispatch(message);
    return message.Result;
}

LRESULT TSkinControl::CallControlProc(TMessage& msg)
{
    if (OldWindowMethod)
        OldWindowMethod(msg);
    else
        msg.Result = CallSavedProc(OldWndProc, UnicodeWindow, Handle, msg.Msg, msg.WParam, msg.LParam);
    return msg.Result;
}

void TSkinControl::Dispatch(TMessage& msg)
{
    Handled = false;
    if (msg.Msg == SKM_ENABLESKIN) {
        SkinEnabled = msg.WParam > 0;
        if (SkinEnabled)
            Invalidate();
        else if (Handle)
            InvalidateRect(Handle, nullptr, TRUE);
        return;
    }
    if (!SkinEnabled) {
        CallControlProc(msg);
        return;
    }
    if (BeforeMessage(msg)) {
        CallControlProc(msg);
        AfterMessage(msg);
    }
}

bool TSkinControl::BeforeMessage(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_NCDESTROY:
        CallControlProc(msg);
        SkinEnabled = false;
        State = wsDestroyed;
        Restore();
        return false;
    case SKM_ISSKINNED:
        msg.Result = 1;
        return false;
    default:
        return true;
    }
}

void TSkinControl::AfterMessage(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case CM_ENABLEDCHANGED:
        Invalidate();
        break;
    case WM_PAINT:
        PaintNow(reinterpret_cast<HDC>(msg.WParam));
        break;
    default:
        break;
    }
}

void TSkinControl::PaintNow(HDC dc)
{
    if (!GetWindowRect(Handle, &WindowRect))
        return;
    const RECT rect{0, 0, WindowRect.right - WindowRect.left, WindowRect.bottom - WindowRect.top};
    try {
        if (dc) {
            Draw(dc, rect);
        } else if (HDC windowDc = GetWindowDC(Handle)) {
            Draw(windowDc, rect);
            ReleaseDC(Handle, windowDc);
        }
    } catch (...) {
        // Painting never raises.
    }
}

void TSkinControl::Draw(HDC, const RECT&) {}

void TSkinControl::Invalidate()
{
    if (PaintTarget) {
        PaintTarget->Invalidate();
        return;
    }
    if (!Handle)
        return;
    InvalidateRect(Handle, nullptr, TRUE);
    UpdateWindow(Handle);
}

void TSkinControl::Restore()
{
    if (!ColorControl || !Control)
        return;
    if (HadParentBackground)
        SetPropText(Control, "ParentBackground", "True");
    if (SavedColor != clNone)
        Control->SetColor(SavedColor);
}

void TSkinControl::Refresh()
{
    if (ColorControl && Control && SkinData)
        Control->SetColor(SkinData->ButtonFaceColour);
    Invalidate();
}
