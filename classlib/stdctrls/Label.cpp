#include "classlib/stdctrls/Label.h"

#include "classlib/Unicode.h"
#include "classlib/graphics/Canvas.h"

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner)
{
    SetBounds(0, 0, 65, 17);
    SetParentColor(true);
}

void TLabel::SetAlignment(TAlignment value)
{
    alignment_ = value;
    Invalidate();
}

void TLabel::SetTransparent(bool value)
{
    transparent_ = value;
    Invalidate();
}

void TLabel::SetWordWrap(bool value)
{
    wordWrap_ = value;
    Invalidate();
}

void TLabel::SetShowAccelChar(bool value)
{
    showAccelChar_ = value;
    Invalidate();
}

void TLabel::SetAutoSize(bool value)
{
    autoSize_ = value;
    AdjustSize();
}

void TLabel::SetText(const std::string& value)
{
    TGraphicControl::SetText(value);
    AdjustSize();
}

void TLabel::FontChanged()
{
    TGraphicControl::FontChanged();
    AdjustSize();
}

UINT TLabel::TextFlags() const
{
    UINT flags = DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE);
    if (!showAccelChar_)
        flags |= DT_NOPREFIX;
    if (alignment_ == taRightJustify)
        flags |= DT_RIGHT;
    else if (alignment_ == taCenter)
        flags |= DT_CENTER;
    return flags;
}

void TLabel::AdjustSize()
{
    if (!autoSize_ || Loading())
        return;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    std::wstring text = Utf8ToWide(Caption().empty() ? " " : Caption());
    RECT r{0, 0, wordWrap_ ? Width() : 0, 0};
    DrawTextW(dc, text.c_str(), -1, &r, TextFlags() | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    SetBounds(Left(), Top(), r.right, r.bottom);
}

void TLabel::Paint()
{
    TCanvas* canvas = Canvas();
    RECT r{0, 0, Width(), Height()};
    if (!transparent_) {
        canvas->Brush()->SetColor(Color());
        canvas->Brush()->SetStyle(bsSolid);
        canvas->FillRect(r);
    }
    canvas->RequireTools();
    HDC dc = canvas->Handle();
    SetBkMode(dc, TRANSPARENT);
    std::wstring text = Utf8ToWide(Caption());
    if (!Enabled()) {
        RECT shifted{r.left + 1, r.top + 1, r.right + 1, r.bottom + 1};
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextW(dc, text.c_str(), -1, &shifted, TextFlags());
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    } else {
        SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
    }
    DrawTextW(dc, text.c_str(), -1, &r, TextFlags());
}
