#include "skin/wrappers/SkinTwoState.h"

#include <algorithm>

#include "classlib/controls/Messages.h"
#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/Font.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinText.h"
#include "skin/draw/SkinDraw.h"

namespace {
constexpr int kTransparentTag = 5555;
} // namespace

int WideStripImage(int index)
{
    switch (index) {
    case 2: return 5;
    case 3: return 4;
    case 4: return 8;
    default: return index;
    }
}

void TSkinTwoState::AttachControl(TSkinForm* form, TSkinData* skin, bool colorControl, TCanvas* canvas)
{
    TSkinControl::AttachControl(form, skin, colorControl, canvas);
    if (!Control)
        return;
    OwnPaint = true;
    ParentBack = Control->Tag() == kTransparentTag || skin->Options().Contains(xoTransparent);
}

void TSkinTwoState::AttachWindow(HWND handle, TSkinData* skin, TSkinForm* form, TCanvas* canvas)
{
    TSkinControl::AttachWindow(handle, skin, form, canvas);
    OwnPaint = false;
}

bool TSkinTwoState::BeforeMessage(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
        if (!OwnPaint)
            break;
        PaintOnWmPaint(msg);
        return false;
    case WM_ERASEBKGND:
        if (!ParentBack)
            break;
        EraseWithParent(msg);
        return false;
    default:
        break;
    }
    return TSkinControl::BeforeMessage(msg);
}

void TSkinTwoState::AfterMessage(TMessage& msg)
{
    switch (msg.Msg) {
    case BM_SETCHECK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case CM_EXIT:
    case CM_STATECHANGED:
        Invalidate();
        break;
    default:
        TSkinControl::AfterMessage(msg);
        break;
    }
}

bool TSkinTwoState::Disabled() const
{
    return (GetWindowLongPtrW(Handle, GWL_STYLE) & WS_DISABLED) != 0;
}

LRESULT TSkinTwoState::ButtonState() const
{
    return SendMessageW(Handle, BM_GETSTATE, 0, 0);
}

void TSkinTwoState::Draw(HDC dc, const RECT& rect)
{
    TBitmap* strip = Strip();
    if (!strip || strip->Empty()) {
        OwnPaint = false;
        return;
    }
    const int images = std::max(StripImages(), 1);
    const int w = strip->Width() / images, h = strip->Height();
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    const LONG_PTR style = GetWindowLongPtrW(Handle, GWL_STYLE);
    const bool leftText = (style & BS_LEFTTEXT) != 0;
    const bool rightAligned = (style & BS_CENTER) == BS_RIGHT;

    RECT box{0, (height - h) / 2, w, (height - h) / 2 + h};
    RECT textArea{w + 2, 0, width, height};
    if (leftText) {
        box.left = LeftTextBoxLeft(width, w);
        box.right = box.left + w;
        textArea = {0, 0, box.left - 2, height};
    }
    OffsetRect(&box, rect.left, rect.top);
    OffsetRect(&textArea, rect.left, rect.top);

    if (OwnPaint && !ParentBack)
        FillFace(dc, rect);
    DrawStripImage(dc, box, *strip, true, images, BoxImage(images));
    if (OwnPaint)
        DrawCaption(dc, textArea, rightAligned);
}

void TSkinTwoState::DrawCaption(HDC dc, RECT area, bool rightAligned)
{
    Caption = ControlText();
    Focused = GetFocus() == Handle;
    const int saved = SaveDC(dc);
    SelectControlFont(dc);
    // A disabled caption reads as disabled, like the box beside it.
    if (Disabled())
        SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(SkinData->ButtonShadowColour)));
    SetBkColor(dc, static_cast<COLORREF>(SkinFaceColour(SkinData)));
    SetBkMode(dc, TRANSPARENT);
    UINT flags = DT_WORDBREAK | DT_EXPANDTABS;
    if (rightAligned)
        flags |= DT_RIGHT;
    RECT measured = area;
    SkinDrawText(dc, Caption, measured, flags | DT_CALCRECT | DT_NOCLIP);
    const int th = measured.bottom - measured.top;
    area.top += (area.bottom - area.top - th) / 2;
    area.bottom = area.top + th;
    if (Focused)
        DrawFocusAround(dc, flags, area);
    SkinDrawText(dc, Caption, area, flags);
    RestoreDC(dc, saved);
}
