#include "skin/wrappers/SkinGroupBox.h"

#include "classlib/controls/WinControl.h"
#include "classlib/graphics/Font.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinText.h"

void TSkinGroupBox::AttachControl(TSkinForm* form, TSkinData* skin, bool colorControl, TCanvas* canvas)
{
    TSkinControl::AttachControl(form, skin, colorControl, canvas);
    OwnPaint = Control != nullptr;
}

bool TSkinGroupBox::BeforeMessage(TMessage& msg)
{
    if (OwnPaint && msg.Msg == WM_PAINT) {
        PaintOnWmPaint(msg);
        return false;
    }
    if (OwnPaint && msg.Msg == WM_ERASEBKGND) {
        EraseWithParent(msg);
        return false;
    }
    return TSkinControl::BeforeMessage(msg);
}

void TSkinGroupBox::Draw(HDC dc, const RECT& rect)
{
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    Caption.clear();
    if (Handle) {
        const int length = GetWindowTextLengthW(Handle);
        Caption.assign(static_cast<std::size_t>(length) + 1, L'\0');
        Caption.resize(static_cast<std::size_t>(GetWindowTextW(Handle, Caption.data(), length + 1)));
    }
    if (Caption.empty())
        Caption = PropWide("Caption");

    const int saved = SaveDC(dc);
    SetViewportOrgEx(dc, rect.left, rect.top, nullptr);
    SelectControlFont(dc);
    SIZE zero{};
    GetTextExtentPoint32A(dc, "0", 1, &zero);
    const int half = zero.cy / 2;

    if (!Control && SkinData->FaceBrush) {
        // Cover the system's own frame first.
        RECT outer{0, half, width, height};
        FrameRect(dc, &outer, SkinData->FaceBrush);
        InflateRect(&outer, -1, -1);
        FrameRect(dc, &outer, SkinData->FaceBrush);
    }
    HPEN pen = CreatePen(PS_SOLID, 1, static_cast<COLORREF>(ColorToRGB(SkinData->ButtonShadowColour)));
    SelectObject(dc, pen);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, 1, half, width - 1, height - 1, 5, 5);

    if (!Caption.empty()) {
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, static_cast<COLORREF>(SkinFaceColour(SkinData)));
        RECT text{kGroupCaptionLeft, 0, width, height};
        SkinDrawText(dc, Caption, text, DT_CALCRECT | DT_EXPANDTABS);
        SkinDrawText(dc, Caption, text, DT_EXPANDTABS);
    }
    RestoreDC(dc, saved);
    DeleteObject(pen);
    if (OwnPaint)
        if (auto* container = dynamic_cast<TWinControl*>(Control))
            container->PaintControls(dc);
}
