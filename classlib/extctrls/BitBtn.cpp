#include "classlib/extctrls/BitBtn.h"

#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/Canvas.h"

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), glyph_(std::make_unique<TBitmap>())
{
    glyph_->OnChange = [this] { Invalidate(); };
}

TBitBtn::~TBitBtn() { glyph_->OnChange = nullptr; }

void TBitBtn::CreateParams(TCreateParams& p)
{
    TButton::CreateParams(p);
    p.style = (p.style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
}

void TBitBtn::SetGlyph(TBitmap* value)
{
    AssignGlyph(*glyph_, value, numGlyphs_);
    Invalidate();
}

void TBitBtn::SetNumGlyphs(int value)
{
    numGlyphs_ = ClampNumGlyphs(value);
    Invalidate();
}

void TBitBtn::SetKind(TBitBtnKind value)
{
    kind_ = value;
    struct KindInfo {
        const char* caption;
        int modalResult;
    };
    static const KindInfo kKinds[] = {{"", 0},        {"OK", 1},       {"Cancel", 2},   {"&Help", 0},
                                      {"&Yes", 6},    {"&No", 7},      {"&Close", 0},   {"Abort", 3},
                                      {"&Retry", 4},  {"&Ignore", 5},  {"&All", 8}};
    if (value == bkCustom)
        return;
    // While loading, a stored Caption or ModalResult that follows wins.
    SetCaption(kKinds[value].caption);
    SetModalResult(kKinds[value].modalResult);
    if (value == bkOK || value == bkYes)
        SetDefault(true);
    if (value == bkCancel || value == bkNo)
        SetCancel(true);
}

void TBitBtn::SetLayout(TButtonLayout value)
{
    layout_ = value;
    Invalidate();
}

void TBitBtn::SetMargin(int value)
{
    margin_ = value < -1 ? -1 : value;
    Invalidate();
}

void TBitBtn::SetSpacing(int value)
{
    spacing_ = value < -1 ? -1 : value;
    Invalidate();
}

void TBitBtn::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case BM_SETSTYLE:
        // Default changes the push-button style; the button must stay owner-drawn.
        m.WParam = (m.WParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_OWNERDRAW;
        break;
    case CN_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam));
        m.Result = TRUE;
        return;
    case WM_LBUTTONDBLCLK:
        // An owner-drawn button takes a double click as a second click.
        m.Msg = WM_LBUTTONDOWN;
        break;
    default:
        break;
    }
    TButton::WndProc(m);
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& item)
{
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool focused = (item.itemState & ODS_FOCUS) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    TCanvas c(item.hDC);
    RECT r = item.rcItem;
    c.Brush()->SetColor(Color());
    c.FillRect(r);
    if (Default() || focused) { // the default button's dark outline
        c.Brush()->SetColor(cl3DDkShadow);
        c.FrameRect(r);
        InflateRect(&r, -1, -1);
    }
    DrawFrameControl(item.hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    InflateRect(&r, -2, -2);
    c.Font()->Assign(*Font());
    c.Brush()->SetColor(Color());
    const TButtonState state = disabled ? bsDisabled : pressed ? bsDown : bsUp;
    DrawGlyphAndCaption(c, r, *glyph_, numGlyphs_, Caption(), layout_, margin_, spacing_, state,
                        pressed ? POINT{1, 1} : POINT{0, 0});
    if (focused && !(item.itemState & ODS_NOFOCUSRECT)) {
        InflateRect(&r, -1, -1);
        DrawFocusRect(item.hDC, &r);
    }
}
