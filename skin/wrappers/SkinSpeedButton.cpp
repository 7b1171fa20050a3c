#include "skin/wrappers/SkinSpeedButton.h"

#include "classlib/controls/Messages.h"
#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/Canvas.h"
#include "skin/data/SkinData.h"
#include "skin/draw/SkinDraw.h"

namespace {
constexpr int kButtonImages = 5;
constexpr int kTransparentTag = 5555;
} // namespace

void TSkinSpeedButton::AttachGraphic(TSkinForm* form, TSkinData* skin, TCanvas* canvas)
{
    if (Attached)
        return;
    HookControl(form, skin, canvas);
    if (!Control)
        return;
    PaintTarget = Control;
    ParentBack = Control->Tag() == kTransparentTag || skin->Options().Contains(xoTransparent);
    Attached = true;
    State = wsAttached;
    Invalidate();
}

void TSkinSpeedButton::AttachControl(TSkinForm* form, TSkinData* skin, bool, TCanvas* canvas)
{
    AttachGraphic(form, skin, canvas);
}

bool TSkinSpeedButton::BeforeMessage(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_PAINT:
        if (msg.WParam && Control)
            Draw(reinterpret_cast<HDC>(msg.WParam), {0, 0, Control->Width(), Control->Height()});
        msg.Result = 1;
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        CallControlProc(msg);
        MouseState |= msPressed;
        Invalidate();
        return false;
    case WM_NCDESTROY:
    case CM_DESTROYING:
        // The control frees its wrapper itself; the frame only drops it from its list.
        CallControlProc(msg);
        SkinEnabled = false;
        State = wsDestroyed;
        return false;
    case WM_ERASEBKGND:
        return true;
    default:
        return TSkinButton::BeforeMessage(msg);
    }
}

void TSkinSpeedButton::AfterMessage(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_KEYDOWN:
    case WM_KEYUP:
        SpaceKey(msg);
        break;
    case WM_LBUTTONUP:
        MouseState &= ~msPressed;
        Invalidate();
        break;
    case CM_MOUSEENTER:
        MouseState |= msHot;
        Invalidate();
        break;
    case CM_MOUSELEAVE:
        MouseState &= ~(msHot | msPressed);
        if (Control && Control->Enabled())
            Invalidate();
        break;
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
        break;
    default:
        TSkinButton::AfterMessage(msg);
        break;
    }
}

int TSkinSpeedButton::ImageIndex() const
{
    int index = MouseState & msPressed ? 2 : MouseState & msHot ? 4 : 1;
    if (!PropTrue("Enabled"))
        index = 3;
    if (PropTrue("Down"))
        index = 2;
    return index;
}

void TSkinSpeedButton::Draw(HDC dc, const RECT& rect)
{
    // Painting the parent under the button paints the button again: that paint is skipped.
    if (painting_ || !BeginDraw())
        return;
    painting_ = true;
    try {
        const int index = ImageIndex();
        const int w = rect.right - rect.left, h = rect.bottom - rect.top;
        if (Buffer.Width() != w || Buffer.Height() != h)
            Buffer.SetSize(w, h);
        HDC buffer = Buffer.Canvas()->Handle();
        const RECT local{0, 0, w, h};
        if (ParentBack)
            PaintParentBackground(Control, buffer);
        else
            FillFace(buffer, local);
        if (index == 2 || index == 4 || !PropTrue("Flat"))
            DrawSkinElement(buffer, local, kButtonImages, index, *SkinData->Buttons);
        const HGDIOBJ oldFont = SelectControlFont(buffer);
        SetTextColourFor(buffer, index);
        TGlyphFace face = ReadGlyphFace(index == 2 ? 3 : index == 3 ? 2 : 1);
        face.images = nullptr;
        DrawGlyphFace(buffer, local, face, SplitCaption(Caption));
        BitBlt(dc, rect.left, rect.top, w, h, buffer, 0, 0, SRCCOPY);
        SelectObject(buffer, oldFont);
    } catch (...) {
        // Painting never raises.
    }
    painting_ = false;
}
