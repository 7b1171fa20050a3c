// Copying pictures with a key colour left out.
#include "classlib/graphics/Canvas.h"
#include "skin/draw/SkinDraw.h"

void DrawTransparent(HDC dc, const RECT& target, TBitmap& bitmap, TColor key)
{
    if (target.right < target.left || target.bottom < target.top || bitmap.Empty())
        return;
    const int w = bitmap.Width(), h = bitmap.Height();
    HDC source = bitmap.Canvas()->Handle();
    // The mask: 1 where the picture has the key colour.
    HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
    HDC maskDc = CreateCompatibleDC(dc);
    HGDIOBJ oldMask = SelectObject(maskDc, mask);
    const COLORREF oldBack = SetBkColor(source, static_cast<COLORREF>(ColorToRGB(key)));
    BitBlt(maskDc, 0, 0, w, h, source, 0, 0, SRCCOPY);
    SetBkColor(source, oldBack);
    SelectObject(maskDc, oldMask);
    DeleteDC(maskDc);
    // Mask bit set keeps the destination, clear copies the picture.
    MaskBlt(dc, target.left, target.top, w, h, source, 0, 0, mask, 0, 0, MAKEROP4(0x00AA0029, SRCCOPY));
    DeleteObject(mask);
}
