// Painting routines every wrapper shares: face and parent fills, the paint and erase handlers
// of wrappers that paint instead of their control, focus rectangles, skin elements and the
// image-and-text items of headers and tabs.
#include <algorithm>

#include "classlib/controls/WinControl.h"
#include "classlib/graphics/Canvas.h"
#include "classlib/graphics/Font.h"
#include "classlib/graphics/ImageList.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinText.h"
#include "skin/draw/SkinDraw.h"
#include "skin/wrappers/SkinControl.h"

namespace {
void FillSolid(HDC dc, const RECT& rect, TColor colour)
{
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(colour)));
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}
} // namespace

HGDIOBJ TSkinControl::SelectControlFont(HDC dc) const
{
    if (auto* font = PropObjectAs<TFont>("Font")) {
        SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(font->Color())));
        return SelectObject(dc, font->Handle());
    }
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(SkinData->ButtonTextColour)));
    auto font = reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0));
    return SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
}

void TSkinControl::FillFace(HDC dc, const RECT& rect) const
{
    FillSolid(dc, rect, SkinFaceColour(SkinData));
}

void TSkinControl::FillParentColor(HDC dc, const RECT& rect) const
{
    if (Control && Control->Parent())
        FillSolid(dc, rect, Control->Parent()->Color());
    else
        FillFace(dc, rect);
}

void TSkinControl::PaintOnWmPaint(TMessage& msg)
{
    HDC dc = reinterpret_cast<HDC>(msg.WParam);
    PAINTSTRUCT ps{};
    const bool begun = dc == nullptr;
    if (begun)
        dc = BeginPaint(Handle, &ps);
    if (GetWindowRect(Handle, &WindowRect)) {
        const RECT rect{0, 0, WindowRect.right - WindowRect.left, WindowRect.bottom - WindowRect.top};
        try {
            Draw(dc, rect);
        } catch (...) {
            // Painting never raises.
        }
    }
    if (begun)
        EndPaint(Handle, &ps);
    msg.Result = 0;
}

void TSkinControl::EraseWithParent(TMessage& msg)
{
    HDC dc = reinterpret_cast<HDC>(msg.WParam);
    if (Control) {
        PaintParentBackground(Control, dc);
    } else {
        RECT client{};
        GetClientRect(Handle, &client);
        FillParentColor(dc, client);
    }
    msg.Result = 1;
}

void TSkinControl::DrawFocusAround(HDC dc, UINT flags, const RECT& rect)
{
    RECT measured = rect;
    SkinDrawText(dc, Caption, measured, flags | DT_CALCRECT | DT_NOCLIP);
    const int w = measured.right - measured.left, h = measured.bottom - measured.top;
    RECT box{rect.left, measured.top, rect.left + w, measured.top + h};
    if (flags & DT_CENTER)
        OffsetRect(&box, (rect.right - rect.left - w) / 2, 0);
    else if (flags & DT_RIGHT)
        OffsetRect(&box, rect.right - rect.left - w, 0);
    InflateRect(&box, 2, 1);
    IntersectRect(&box, &box, &rect);
    if (!IsRectEmpty(&box))
        DrawFocusRect(dc, &box);
}

void TSkinControl::DrawSkinElement(HDC dc, const RECT& rect, int imageCount, int imageIndex, TDataSkinObject& element)
{
    if (element.Image.Empty())
        return;
    DrawNineSlice(dc, rect, element.Image, element.Trans == 1, false, element.Tile != 0, imageCount, imageIndex,
                  element.Margins());
}

void TSkinControl::DrawTextAndImage(TCanvas& canvas, const RECT& rect, int alignment, const std::wstring& text,
                                    int imageIndex, TImageList* images)
{
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    const bool withImage = imageIndex != -1 && images && images->Width() < width;
    const int imageWidth = withImage ? images->Width() : 0;
    HDC dc = canvas.Handle();
    canvas.RequireTools();
    const UINT flags = DT_END_ELLIPSIS | DT_EXPANDTABS | DT_SINGLELINE;
    int textWidth = 0, textHeight = 0;
    if (!text.empty()) {
        RECT measured{0, 0, width, height};
        SkinDrawText(dc, text, measured, flags | DT_CALCRECT | DT_NOCLIP);
        textWidth = measured.right - measured.left;
        textHeight = measured.bottom - measured.top;
    }
    int x = 3;
    if (alignment == 1)
        x = (width - imageWidth - textWidth) / 2;
    else if (alignment == 2)
        x = width - imageWidth - textWidth - 2;
    if (x < 2)
        x = 1;
    if (withImage)
        ImageList_Draw(images->Handle(), imageIndex, dc, rect.left + x, rect.top + (height - imageWidth) / 2,
                       ILD_TRANSPARENT);
    if (text.empty())
        return;
    const bool disabled = Handle && (GetWindowLongPtrW(Handle, GWL_STYLE) & WS_DISABLED);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour =
        disabled ? SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW)) : GetTextColor(dc);
    LOGFONTW font{};
    HFONT plain = nullptr, old = nullptr;
    if (GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font)) {
        font.lfWeight = FW_NORMAL;
        font.lfItalic = font.lfUnderline = font.lfStrikeOut = FALSE;
        plain = CreateFontIndirectW(&font);
        old = static_cast<HFONT>(SelectObject(dc, plain));
    }
    RECT r{rect.left + x + imageWidth, rect.top + (height - textHeight) / 2, rect.right,
           rect.top + (height - textHeight) / 2 + textHeight};
    r.left = std::min(r.left, rect.right);
    SkinDrawText(dc, text, r, flags);
    if (plain) {
        SelectObject(dc, old);
        DeleteObject(plain);
    }
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}
