#include "classlib/extctrls/GroupBox.h"

#include "classlib/Unicode.h"
#include "classlib/graphics/Canvas.h"

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner)
{
    SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::SetText(const std::string& value)
{
    TCustomControl::SetText(value);
    Invalidate();
}

int TCustomGroupBox::CaptionHeight()
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    SIZE size{};
    GetTextExtentPoint32W(dc, L"0", 1, &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size.cy;
}

RECT TCustomGroupBox::InnerRect()
{
    RECT r = ClientRect();
    r.top += CaptionHeight() + 2;
    InflateRect(&r, -2, 0);
    r.bottom -= 2;
    return r;
}

void TCustomGroupBox::Paint()
{
    TCanvas& c = *Canvas();
    HDC dc = c.Handle();
    const RECT client = ClientRect();
    c.Brush()->SetColor(Color());
    c.FillRect(client);
    const int half = CaptionHeight() / 2;
    RECT frame{client.left, client.top + half, client.right, client.bottom};
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);

    const std::wstring text = Utf8ToWide(Caption());
    if (text.empty())
        return;
    c.RequireTools(); // font, text colour and an opaque face-coloured background
    RECT box{8, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, DT_CALCRECT | DT_SINGLELINE);
    box.right += 1;
    if (!Enabled())
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, static_cast<COLORREF>(ColorToRGB(Color())));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, DT_SINGLELINE | DT_EXPANDTABS);
}
