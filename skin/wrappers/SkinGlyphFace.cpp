#include "skin/wrappers/SkinGlyphFace.h"

#include <algorithm>

#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/Canvas.h"
#include "classlib/graphics/ImageList.h"
#include "skin/BitmapHelpers.h"
#include "skin/data/SkinText.h"
#include "skin/draw/SkinDraw.h"
#include "skin/manager/SkinManager.h"

TButtonLayout LayoutFromName(const std::string& name)
{
    const std::string lower = LowerCase(name);
    if (lower == "blglyphright")
        return blGlyphRight;
    if (lower == "blglyphtop")
        return blGlyphTop;
    if (lower == "blglyphbottom")
        return blGlyphBottom;
    return blGlyphLeft;
}

namespace {
SIZE FaceGlyphSize(const TGlyphFace& face)
{
    if (face.glyph && !face.glyph->Empty())
        return {face.glyph->Width() / std::max(face.numGlyphs, 1), face.glyph->Height()};
    if (face.images && face.imageIndex != -1)
        return {face.images->Width(), face.images->Height()};
    return {0, 0};
}

void DrawGlyphImage(HDC dc, POINT at, SIZE size, const TGlyphFace& face)
{
    int image = face.glyphImage;
    if (face.numGlyphs < image)
        image = 1;
    TBitmap picture(size.cx, size.cy, pf24bit);
    BitBlt(picture.Canvas()->Handle(), 0, 0, size.cx, size.cy, face.glyph->Canvas()->Handle(), (image - 1) * size.cx,
           0, SRCCOPY);
    if (face.glyphImage == 2)
        GrayscaleBitmap(picture);
    GdiFlush();
    // The bottom-left pixel names the transparent colour, as glyphs are drawn.
    const TColor key = picture.PixelColor(0, size.cy - 1);
    DrawTransparent(dc, {at.x, at.y, at.x + size.cx, at.y + size.cy}, picture, key);
}
} // namespace

RECT DrawGlyphFace(HDC dc, const RECT& client, const TGlyphFace& face, const std::wstring& text)
{
    const SIZE glyph = FaceGlyphSize(face);
    const bool horizontal = face.layout == blGlyphLeft || face.layout == blGlyphRight;
    RECT textArea = client;
    InflateRect(&textArea, -2, -2);
    if (horizontal)
        textArea.right -= glyph.cx + 2;
    else
        textArea.bottom -= glyph.cy + 2;
    SIZE textSize{0, 0};
    if (!text.empty()) {
        RECT measured = textArea;
        SkinDrawText(dc, text, measured, DT_CALCRECT | DT_WORDBREAK);
        textSize = {measured.right - measured.left, measured.bottom - measured.top};
    }
    const int margin = face.centred ? -1 : face.margin;
    const TGlyphPlacement place = PlaceGlyph(client, glyph, textSize, face.layout, margin, face.spacing);

    if (glyph.cx > 0 && glyph.cy > 0) {
        if (face.glyph && !face.glyph->Empty())
            DrawGlyphImage(dc, place.glyph, glyph, face);
        else
            ImageList_Draw(face.images->Handle(), face.imageIndex, dc, place.glyph.x, place.glyph.y, ILD_TRANSPARENT);
    }
    RECT textRect = place.text;
    if (!text.empty()) {
        UINT flags = DT_WORDBREAK;
        if (face.layout == blGlyphRight)
            flags |= DT_RIGHT;
        else if (!horizontal)
            flags |= DT_CENTER;
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        SkinDrawText(dc, text, textRect, flags);
        SetBkMode(dc, oldMode);
    }
    return textRect;
}
