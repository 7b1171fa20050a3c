// The wrapper base: attaching, the message dispatcher, painting entry points and input helpers.
#include "skin/wrappers/SkinControl.h"

#include "classlib/Unicode.h"
#include "classlib/controls/Messages.h"
#include "classlib/controls/WinControl.h"
#include "skin/SkinMessages.h"
#include "skin/data/SkinData.h"
#include "skin/form/SkinForm.h"
#include "skin/manager/SkinManager.h"

TColor SkinFaceColour(const TSkinData* skin)
{
    return ColorToRGB(skin ? skin->ButtonFaceColour : clBtnFace);
}

TSkinControl::TSkinControl(TComponent* owner) : TComponent(owner) {}

TSkinControl::~TSkinControl()
{
    // A control that is being destroyed frees its wrapper after its own parts are gone:
    // its window method must not be touched then.
    if (Control && OldWindowMethod && !ControlGone())
        Control->SetWindowProc(OldWindowMethod);
    OldWindowMethod = nullptr;
    if (NewWndProc) {
        if (IsWindow(Handle))
            SwapWindowProc(Handle, OldWndProc, UnicodeWindow);
        NewWndProc.reset();
    }
    if (Form)
        Form->RemoveChildSkin(this);
}

bool TSkinControl::ControlGone() const
{
    return Control && Control->ComponentState().Contains(csDestroying);
}

void TSkinControl::HookControl(TSkinForm* form, TSkinData* skin, TCanvas* canvas)
{
    Form = form;
    SkinData = skin;
    Canvas = canvas;
    Control = dynamic_cast<TControl*>(Owner());
    if (!Control)
        return;
    OldWindowMethod = Control->WindowProc();
    Control->SetWindowProc([this](TMessage& msg) { Dispatch(msg); });
    if (Form)
        Form->AddChildSkin(this);
}

void TSkinControl::ColourControl()
{
    if (!Control || !SkinData)
        return;
    if (!SkinData->Options().Contains(xoParentBackGround) && PropTrue("ParentBackground")) {
        SetProp("ParentBackground", "False");
        HadParentBackground = true;
    }
    SavedColor = Control->Color();
    Control->SetColor(SkinData->ButtonFaceColour);
}

void TSkinControl::AttachControl(TSkinForm* form, TSkinData* skin, bool colorControl, TCanvas* canvas)
{
    if (Attached)
        return;
    auto* windowed = dynamic_cast<TWinControl*>(Owner());
    if (!windowed)
        return;
    Handle = windowed->Handle();
    UnicodeWindow = IsWindowUnicode(Handle) != FALSE;
    ColorControl = colorControl;
    HookControl(form, skin, canvas);
    windowed->SetDoubleBuffered(true);
    if (colorControl)
        ColourControl();
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
    Caption = ControlText();
    NewWndProc = std::make_unique<TObjectWndProc>(this, &TSkinControl::WindowProcThunk);
    OldWndProc = SwapWindowProc(handle, NewWndProc->Proc(), UnicodeWindow);
    InvalidateRect(handle, nullptr, TRUE);
    Attached = true;
    State = wsAttached;
}

std::wstring TSkinControl::ControlText() const
{
    if (Control)
        return PropWide("Caption");
    if (!Handle)
        return {};
    const int length = GetWindowTextLengthW(Handle);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(Handle, text.data(), length + 1)));
    return text;
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
    else if (OldWndProc)
        msg.Result = CallSavedProc(OldWndProc, UnicodeWindow, Handle, msg.Msg, msg.WParam, msg.LParam);
    return msg.Result;
}

void TSkinControl::Dispatch(TMessage& msg)
{
    Handled = false;
    if (msg.Msg == SKM_ENABLESKIN) {
        SkinEnabled = msg.WParam > 0;
        // Either way the control shows its new look at once.
        if (SkinEnabled)
            Invalidate();
        else if (Handle)
            InvalidateRect(Handle, nullptr, TRUE);
        else if (PaintTarget)
            PaintTarget->Invalidate();
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
    if (!Handle || !GetWindowRect(Handle, &WindowRect))
        return;
    const RECT rect{0, 0, WindowRect.right - WindowRect.left, WindowRect.bottom - WindowRect.top};
    try {
        if (dc) {
            Draw(dc, rect);
        } else if (HDC windowDc = GetWindowDC(Handle)) {
            try {
                Draw(windowDc, rect);
            } catch (...) {
                ReleaseDC(Handle, windowDc);
                throw;
            }
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
    if (!ColorControl || !Control || ControlGone())
        return;
    if (HadParentBackground)
        SetProp("ParentBackground", "True");
    if (SavedColor != clNone)
        Control->SetColor(SavedColor);
}

void TSkinControl::Refresh()
{
    if (ColorControl && Control && SkinData)
        Control->SetColor(SkinData->ButtonFaceColour);
    Invalidate();
}

// ---- Input --------------------------------------------------------------------------------

void TSkinControl::MouseLeft(TSkinControl* wrapper)
{
    if (!wrapper)
        return;
    if (wrapper->Handle)
        SendMessageW(wrapper->Handle, CM_MOUSELEAVE, 0, 0);
    else if (wrapper->Control)
        wrapper->Control->Perform(CM_MOUSELEAVE);
}

void TSkinControl::TrackLeave(HWND handle)
{
    TrackMouseLeave(handle);
}

void TSkinControl::ForwardMouseDown(const TMessage& msg)
{
    if (!Control)
        return;
    int x = static_cast<short>(LOWORD(msg.LParam));
    int y = static_cast<short>(HIWORD(msg.LParam));
    // Client coordinates of such sizes no longer fit the message's 16 bits.
    if (Control->Width() > 0x8000 || Control->Height() > 0x8000) {
        POINT cursor{};
        GetCursorPos(&cursor);
        const POINT p = Control->ScreenToClient(cursor);
        x = p.x;
        y = p.y;
    }
    TShiftState shift = ShiftStateFromKeys(msg.WParam);
    if (msg.Msg == WM_LBUTTONDBLCLK)
        shift |= 1u << ssDouble;
    Control->MouseDown(mbLeft, shift, x, y);
}
