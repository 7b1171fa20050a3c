// Progress bars: composed off-screen from the skin's bar images and copied in one block.
#include "skin/wrappers/SkinProgress.h"

#include <utility>

#include <windows.h>
#include <commctrl.h>

#include "classlib/graphics/Canvas.h"
#include "skin/BitmapHelpers.h"
#include "skin/data/SkinData.h"
#include "skin/draw/SkinDraw.h"

namespace {
constexpr int kBarImages = 2;
} // namespace

bool TSkinProgress::HasImage() const
{
    return SkinData && SkinData->Progress && !SkinData->Progress->Image.Empty();
}

bool TSkinProgress::BeforeMessage(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_ERASEBKGND:
        msg.Result = 1;
        return false;
    case WM_PAINT:
        if (!HasImage())
            return true;
        PaintOnWmPaint(msg);
        return false;
    default:
        return TSkinControl::BeforeMessage(msg);
    }
}

int TSkinProgress::FilledLength(int width, int p, int m)
{
    if (p <= 0 || m <= 0)
        return 0;
    return MulDiv(width, p, m);
}

void TSkinProgress::Draw(HDC dc, const RECT& rect)
{
    if (!HasImage() || rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    const int p = static_cast<int>(SendMessageW(Handle, PBM_GETPOS, 0, 0));
    const int m = static_cast<int>(SendMessageW(Handle, PBM_GETRANGE, FALSE, 0));
    if (SkinData->Progress->Style == 1)
        DrawChunks(dc, rect, p, m);
    else
        DrawBar(dc, rect, p, m);
}

void TSkinProgress::DrawChunks(HDC dc, const RECT& rect, int p, int m)
{
    TDataSkinBorder& element = *SkinData->Progress;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    Buffer.SetPixelFormat(pf24bit);
    if (Buffer.Width() != w || Buffer.Height() != h)
        Buffer.SetSize(w, h);
    HDC buffer = Buffer.Canvas()->Handle();
    const RECT local{0, 0, w, h};
    FillFace(buffer, local);
    DrawNineSlice(buffer, local, element.Image, true, false, element.Tile != 0, 1, 1, element.Margins());

    TBitmap& chunk = element.Image2;
    const int filled = FilledLength(w, p, m);
    if (filled > 0 && !chunk.Empty()) {
        // Whole chunks side by side; the strip's end cuts the last one at the filled width.
        TBitmap strip(filled, chunk.Height(), pf24bit);
        const int copies = filled / chunk.Width() + 1;
        for (int i = 0; i < copies; ++i)
            BitBlt(strip.Canvas()->Handle(), i * chunk.Width(), 0, chunk.Width(), chunk.Height(),
                   chunk.Canvas()->Handle(), 0, 0, SRCCOPY);
        const int x = element.LeftWidth, y = (h - chunk.Height()) / 2;
        DrawTransparent(buffer, {x, y, x + filled, y + chunk.Height()}, strip, kSkinKeyColour);
    }
    BitBlt(dc, rect.left, rect.top, w, h, buffer, 0, 0, SRCCOPY);
}

void TSkinProgress::DrawBar(HDC dc, const RECT& rect, int p, int m)
{
    TDataSkinBorder& element = *SkinData->Progress;
    const bool vertical = (GetWindowLongPtrW(Handle, GWL_STYLE) & PBS_VERTICAL) != 0;
    int w = rect.right - rect.left, h = rect.bottom - rect.top;
    // A vertical bar is drawn lying, its start at the left, then turned.
    if (vertical)
        std::swap(w, h);
    Buffer.SetPixelFormat(pf24bit);
    Buffer.SetSize(w, h);
    HDC buffer = Buffer.Canvas()->Handle();
    const RECT local{0, 0, w, h};
    FillFace(buffer, local);
    const RECT margins = element.Margins();
    const bool tile = element.Tile != 0;
    DrawNineSlice(buffer, local, element.Image, true, false, tile, kBarImages, 1, margins);
    if (const int filled = FilledLength(w, p, m); filled > 0)
        DrawNineSlice(buffer, {0, 0, filled, h}, element.Image, true, false, tile, kBarImages, 2, margins);
    // A quarter turn against the clock puts the lying bar's start at the bottom.
    if (vertical)
        RotateBitmapLeft(Buffer);
    BitBlt(dc, rect.left, rect.top, Buffer.Width(), Buffer.Height(), Buffer.Canvas()->Handle(), 0, 0, SRCCOPY);
}
