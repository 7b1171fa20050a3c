// Push buttons: the skin's button image for the state, the caption centred over it.
#include "skin/wrappers/SkinButton.h"

#include "classlib/TypeInfo.h"
#include "classlib/controls/Messages.h"
#include "classlib/graphics/Canvas.h"
#include "classlib/graphics/Font.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinText.h"
#include "skin/draw/SkinDraw.h"
#include "skin/form/SkinForm.h"
#include "skin/manager/SkinManager.h"

namespace {
constexpr int kButtonImages = 5;
constexpr int kTransparentTag = 5555;
} // namespace

std::wstring SplitCaption(std::wstring caption)
{
    if (const auto at = caption.find(L"||"); at != std::wstring::npos)
        caption.replace(at, 2, L"\r\n");
    return caption;
}

void TSkinButton::AttachControl(TSkinForm* form, TSkinData* skin, bool colorControl, TCanvas* canvas)
{
    TSkinControl::AttachControl(form, skin, colorControl, canvas);
    if (!Control)
        return;
    // Buttons of these families track the mouse themselves.
    if (const TClassInfo* info = Classes().ClassOf(Control)) {
        const std::string name = LowerCase(info->name);
        if (name.rfind("trz", 0) == 0 || name.rfind("tel", 0) == 0)
            OwnMouse = true;
    }
    ParentBack = Control->Tag() == kTransparentTag || skin->Options().Contains(xoTransparent);
}

bool TSkinButton::BeforeMessage(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_PAINT:
        PaintOnWmPaint(msg);
        return false;
    case WM_ERASEBKGND:
        msg.Result = 1;
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (Handle && GetFocus() != Handle)
            SetFocus(Handle);
        MouseState |= msPressed;
        PaintNow(nullptr);
        if (!OwnMouse)
            ForwardMouseDown(msg);
        msg.Result = 0;
        return false;
    default:
        return TSkinControl::BeforeMessage(msg);
    }
}

void TSkinButton::MouseEntered()
{
    if (!(MouseState & msHot) && IsWindowEnabled(Handle)) {
        MouseState |= msHot;
        Invalidate();
    }
    // The frame of a foreign window tells the hot wrapper when the mouse has gone.
    if (Form && !Control)
        Form->HotChild = this;
}

void TSkinButton::AfterMessage(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_SETTEXT:
        PaintNow(nullptr);
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
        SpaceKey(msg);
        break;
    case CM_DIALOGKEY:
    case CM_FOCUSCHANGED:
        Invalidate();
        break;
    case WM_MOUSEMOVE:
        MouseEntered();
        TrackLeave(Handle);
        break;
    case WM_LBUTTONUP:
        if (MouseState & msPressed) {
            MouseState &= ~msPressed;
            Invalidate();
            if (Control)
                Control->Click();
            else if (HWND parent = GetParent(Handle))
                PostMessageW(parent, WM_COMMAND, static_cast<WPARAM>(GetDlgCtrlID(Handle)),
                             reinterpret_cast<LPARAM>(Handle));
        }
        break;
    case WM_MOUSELEAVE:
    case CM_MOUSELEAVE:
        if (MouseState & (msHot | msPressed)) {
            MouseState &= ~(msHot | msPressed);
            Invalidate();
        }
        break;
    default:
        TSkinControl::AfterMessage(msg);
        break;
    }
}

bool TSkinButton::SpaceKey(const TMessage& msg)
{
    if (msg.WParam != VK_SPACE || (msg.Msg != WM_KEYDOWN && msg.Msg != WM_KEYUP))
        return false;
    if (msg.Msg == WM_KEYDOWN)
        MouseState |= msPressed;
    else
        MouseState &= ~msPressed;
    Invalidate();
    return true;
}

bool TSkinButton::IsDefaultButton() const
{
    if (Control)
        return PropTrue("Default");
    return (GetWindowLongPtrW(Handle, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

int TSkinButton::ImageIndex() const
{
    int index = 1;
    if (Focused)
        index = 4;
    if (MouseState & msPressed)
        index = 2;
    else if (MouseState & msHot)
        index = 4;
    if (!Enabled)
        index = 3;
    // The strip's fifth image marks the button that Enter presses.
    if (index == 1 && IsDefaultButton())
        index = 5;
    return index;
}

bool TSkinButton::BeginDraw()
{
    if (!SkinData || !SkinData->Buttons || SkinData->Buttons->Image.Empty())
        return false;
    Focused = GetFocus() == Handle && Handle;
    Enabled = Control && !Handle ? Control->Enabled() : !(GetWindowLongPtrW(Handle, GWL_STYLE) & WS_DISABLED);
    MultiLine = PropTrue("MultiLine");
    Caption = ControlText();
    return true;
}

void TSkinButton::DrawFace(const RECT& rect, int index)
{
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (Buffer.Width() != w || Buffer.Height() != h)
        Buffer.SetSize(w, h);
    HDC dc = Buffer.Canvas()->Handle();
    const RECT local{0, 0, w, h};
    if (ParentBack && Control)
        PaintParentBackground(Control, dc);
    else
        FillFace(dc, local);
    DrawSkinElement(dc, local, kButtonImages, index, *SkinData->Buttons);
}

void TSkinButton::SetTextColourFor(HDC dc, int index)
{
    const TDataSkinButton& b = *SkinData->Buttons;
    if (index == 3) {
        SetTextColor(dc, Control ? GetSysColor(COLOR_BTNSHADOW) : 0x808080);
        return;
    }
    TColor colour = clNone;
    if (index == 1 && b.HasNormalColour2)
        colour = b.NormalColour2;
    else if ((index == 4 || index == 5) && b.HasMouseOverColour2)
        colour = b.MouseOverColour2;
    else if (index == 2 && b.HasPressedColour2)
        colour = b.PressedColour2;
    if (colour != clNone)
        SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(colour)));
}

void TSkinButton::DrawFocus(HDC dc, RECT textRect)
{
    if (!Focused || SkinData->Options().Contains(xoNoFocusRect))
        return;
    InflateRect(&textRect, 2, 2);
    SetTextColor(dc, 0x000000);
    SetBkColor(dc, 0xFFFFFF);
    DrawFocusRect(dc, &textRect);
}

void TSkinButton::Draw(HDC dc, const RECT& rect)
{
    if (!BeginDraw())
        return;
    const int index = ImageIndex();
    DrawFace(rect, index);
    HDC buffer = Buffer.Canvas()->Handle();
    const HGDIOBJ oldFont = SelectControlFont(buffer);
    SetTextColourFor(buffer, index);

    const std::wstring text = SplitCaption(Caption);
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    RECT textRect{2, 2, w - 2, h - 2};
    RECT measured = textRect;
    SkinDrawText(buffer, text, measured, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK | DT_CENTER);
    const int tw = measured.right - measured.left, th = measured.bottom - measured.top;
    textRect.top = (h - th) / 2;
    textRect.bottom = textRect.top + th;
    textRect.left = (w - tw) / 2;
    textRect.right = textRect.left + tw;
    const int oldMode = SetBkMode(buffer, TRANSPARENT);
    SkinDrawText(buffer, text, textRect, DT_EXPANDTABS | DT_WORDBREAK | DT_CENTER);
    SetBkMode(buffer, oldMode);
    DrawFocus(buffer, textRect);

    BitBlt(dc, rect.left, rect.top, w, h, buffer, 0, 0, SRCCOPY);
    SelectObject(buffer, oldFont);
}
