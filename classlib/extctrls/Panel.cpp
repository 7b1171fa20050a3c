#include "classlib/extctrls/Panel.h"

#include "classlib/Unicode.h"
#include "classlib/graphics/Canvas.h"

namespace {
// One ring of a bevel, `width` pixels thick, inside r; r shrinks by it.
void Frame3D(HDC dc, RECT& r, TColor topLeft, TColor bottomRight, int width)
{
    HBRUSH tl = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(topLeft)));
    HBRUSH br = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(bottomRight)));
    for (int i = 0; i < width && r.right > r.left && r.bottom > r.top; ++i) {
        RECT top{r.left, r.top, r.right - 1, r.top + 1}, left{r.left, r.top, r.left + 1, r.bottom - 1};
        RECT bottom{r.left, r.bottom - 1, r.right, r.bottom}, right{r.right - 1, r.top, r.right, r.bottom};
        FillRect(dc, &top, tl);
        FillRect(dc, &left, tl);
        FillRect(dc, &bottom, br);
        FillRect(dc, &right, br);
        InflateRect(&r, -1, -1);
    }
    DeleteObject(tl);
    DeleteObject(br);
}

void Bevel(HDC dc, RECT& r, TBevelCut cut, int width, TColor face)
{
    switch (cut) {
    case bvNone: break;
    case bvLowered: Frame3D(dc, r, clBtnShadow, clBtnHighlight, width); break;
    case bvRaised: Frame3D(dc, r, clBtnHighlight, clBtnShadow, width); break;
    case bvSpace: Frame3D(dc, r, face, face, width); break;
    }
}
} // namespace

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner)
{
    SetBounds(0, 0, 185, 41);
}

void TCustomPanel::SetBevelOuter(TBevelCut value)
{
    bevelOuter_ = value;
    Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut value)
{
    bevelInner_ = value;
    Invalidate();
}

void TCustomPanel::SetBevelWidth(int value)
{
    bevelWidth_ = value < 1 ? 1 : value;
    Invalidate();
}

void TCustomPanel::SetBorderWidth(int value)
{
    borderWidth_ = value < 0 ? 0 : value;
    Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment value)
{
    alignment_ = value;
    Invalidate();
}

void TCustomPanel::SetParentBackground(bool value)
{
    parentBackground_ = value;
    Invalidate();
}

void TCustomPanel::SetText(const std::string& value)
{
    TCustomControl::SetText(value);
    Invalidate();
}

TColor TCustomPanel::FaceColor() const
{
    return parentBackground_ && Parent() ? Parent()->Color() : Color();
}

RECT TCustomPanel::InnerRect() const
{
    RECT r = ClientRect();
    int inset = borderWidth_;
    if (bevelOuter_ != bvNone)
        inset += bevelWidth_;
    if (bevelInner_ != bvNone)
        inset += bevelWidth_;
    InflateRect(&r, -inset, -inset);
    return r;
}

void TCustomPanel::Paint()
{
    TCanvas& c = *Canvas();
    HDC dc = c.Handle();
    RECT r = ClientRect();
    const TColor face = FaceColor();
    Bevel(dc, r, bevelOuter_, bevelWidth_, face);
    Frame3D(dc, r, face, face, borderWidth_);
    Bevel(dc, r, bevelInner_, bevelWidth_, face);
    c.Brush()->SetColor(face);
    c.FillRect(r);

    const std::wstring text = Utf8ToWide(Caption());
    if (text.empty())
        return;
    c.Brush()->SetStyle(bsClear);
    c.RequireTools();
    UINT flags = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
    flags |= alignment_ == taCenter ? DT_CENTER : alignment_ == taRightJustify ? DT_RIGHT : DT_LEFT;
    if (!Enabled())
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
}
