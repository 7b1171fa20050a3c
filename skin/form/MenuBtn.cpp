#include "skin/form/MenuBtn.h"

#include <cwctype>

#include "skin/data/SkinData.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinMenuBar.h"
#include "skin/menu/MenuItemPainter.h"

wchar_t AcceleratorOf(const std::wstring& caption)
{
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&')
            continue;
        if (caption[i + 1] == L'&') {
            ++i; // "&&" is a literal ampersand
            continue;
        }
        return static_cast<wchar_t>(std::towupper(caption[i + 1]));
    }
    return 0;
}

void TMenuBtn::Paint()
{
    TSkinMenuBar* bar = Form->MenuBarPainter.get();
    if (!bar || bar->BarImage.Empty() || !Visible || Form->SkinState == ssAttached || !IsWindow(Form->FormHandle))
        return;
    const int w = Bounds.right - Bounds.left, h = bar->BarImage.Height();
    if (w <= 0)
        return;
    HDC dc = GetWindowDC(Form->FormHandle);
    if (!dc)
        return;
    BitBlt(dc, Bounds.left, bar->BarRect.top, w, h, bar->BarImage.Canvas()->Handle(), Bounds.left - bar->BarRect.left, 0,
           SRCCOPY);
    if (State == ncPressed || State == ncHot) {
        HBRUSH frame = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(SkinData->ButtonHilightColour)));
        FrameRect(dc, &Bounds, frame);
        DeleteObject(frame);
    }
    const TMenuFont font;
    HGDIOBJ oldFont = SelectObject(dc, font.Handle());
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Enabled ? static_cast<COLORREF>(ColorToRGB(SkinData->MenuBarTextColour)) : GetSysColor(COLOR_BTNSHADOW));
    RECT cell = Bounds;
    DrawTextW(dc, Caption.c_str(), -1, &cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
    ReleaseDC(Form->FormHandle, dc);
}
