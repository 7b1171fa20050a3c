#include "classlib/extctrls/SpeedButton.h"

#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/Canvas.h"

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner), glyph_(std::make_unique<TBitmap>())
{
    SetBounds(0, 0, 23, 22);
    SetParentColor(true);
    clicksOnMouseUp_ = true; // the base clicks after MouseUp when the release is inside
    glyph_->OnChange = [this] { Invalidate(); };
}

TSpeedButton::~TSpeedButton() { glyph_->OnChange = nullptr; }

void TSpeedButton::SetGlyph(TBitmap* value)
{
    AssignGlyph(*glyph_, value, numGlyphs_);
    Invalidate();
}

void TSpeedButton::SetNumGlyphs(int value)
{
    numGlyphs_ = ClampNumGlyphs(value);
    Invalidate();
}

void TSpeedButton::SetFlat(bool value)
{
    flat_ = value;
    Invalidate();
}

void TSpeedButton::SetTransparent(bool value)
{
    transparent_ = value;
    Invalidate();
}

void TSpeedButton::SetGroupIndex(int value)
{
    groupIndex_ = value < 0 ? 0 : value;
    if (groupIndex_ == 0)
        down_ = false;
    Invalidate();
}

void TSpeedButton::ReleaseGroup()
{
    if (!Parent() || groupIndex_ == 0)
        return;
    for (int i = 0; i < Parent()->ControlCount(); ++i)
        if (auto* other = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
            other && other != this && other->groupIndex_ == groupIndex_ && other->down_) {
            other->down_ = false;
            other->Invalidate();
        }
}

void TSpeedButton::SetDown(bool value)
{
    if (groupIndex_ == 0)
        value = false;
    if (value == down_)
        return;
    if (!value && !allowAllUp_ && !Loading()) {
        // The last button of a group that must keep one down stays down.
        bool otherDown = false;
        if (Parent())
            for (int i = 0; i < Parent()->ControlCount(); ++i)
                if (auto* o = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
                    o && o != this && o->groupIndex_ == groupIndex_ && o->down_)
                    otherDown = true;
        if (!otherDown)
            return;
    }
    down_ = value;
    if (value)
        ReleaseGroup();
    Invalidate();
}

void TSpeedButton::SetAllowAllUp(bool value) { allowAllUp_ = value; }

void TSpeedButton::SetLayout(TButtonLayout value)
{
    layout_ = value;
    Invalidate();
}

void TSpeedButton::SetMargin(int value)
{
    margin_ = value < -1 ? -1 : value;
    Invalidate();
}

void TSpeedButton::SetSpacing(int value)
{
    spacing_ = value < -1 ? -1 : value;
    Invalidate();
}

void TSpeedButton::SetText(const std::string& value)
{
    TGraphicControl::SetText(value);
    Invalidate();
}

TButtonState TSpeedButton::State() const
{
    if (!Enabled())
        return bsDisabled;
    if (pressedIn_)
        return bsDown;
    if (down_)
        return bsExclusive;
    return bsUp;
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled())
        return;
    pressing_ = pressedIn_ = true;
    Invalidate();
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y)
{
    TGraphicControl::MouseMove(shift, x, y);
    if (!pressing_)
        return;
    const bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
    if (inside != pressedIn_) {
        pressedIn_ = inside;
        Invalidate();
    }
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseUp(button, shift, x, y);
    if (button != mbLeft || !pressing_)
        return;
    const bool clicked = pressedIn_;
    pressing_ = pressedIn_ = false;
    if (clicked && groupIndex_ != 0)
        SetDown(!down_ || !allowAllUp_ ? true : false);
    Invalidate();
}

void TSpeedButton::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        hot_ = m.Msg == CM_MOUSEENTER;
        if (flat_)
            Invalidate();
        break;
    case CM_ENABLEDCHANGED:
        Invalidate();
        break;
    default:
        break;
    }
    TGraphicControl::WndProc(m);
}

void TSpeedButton::Paint()
{
    TCanvas& c = *Canvas();
    HDC dc = c.Handle();
    RECT face = ClientRect();
    const TButtonState state = State();
    const bool sunk = state == bsDown || state == bsExclusive;
    if (!flat_ || !transparent_ || sunk) {
        c.Brush()->SetColor(state == bsExclusive && !pressedIn_ ? cl3DLight : Color());
        c.FillRect(face);
    }
    if (!flat_) {
        RECT edge = face;
        DrawEdge(dc, &edge, sunk ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    } else if (sunk || (hot_ && Enabled())) {
        RECT edge = face;
        DrawEdge(dc, &edge, sunk ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
    InflateRect(&face, -2, -2);
    const POINT offset = sunk ? POINT{1, 1} : POINT{0, 0};
    c.Font()->Assign(*Font());
    DrawGlyphAndCaption(c, face, *glyph_, numGlyphs_, Caption(), layout_, margin_, spacing_, state, offset);
}
