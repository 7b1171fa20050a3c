#include "skin/wrappers/SkinBitButton.h"

#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/Canvas.h"
#include "classlib/graphics/ImageList.h"
#include "skin/data/SkinData.h"
#include "skin/manager/SkinManager.h"

int TSkinBitButton::ImageIndex() const
{
    int index = 1;
    if (Focused || (MouseState & msHot))
        index = 4;
    if (MouseState & msPressed)
        index = 2;
    if (!Enabled)
        index = 3;
    return index;
}

TGlyphFace TSkinBitButton::ReadGlyphFace(int glyphImage) const
{
    TGlyphFace face;
    face.glyph = PropObjectAs<TBitmap>("Glyph");
    face.numGlyphs = static_cast<int>(PropOrdinal("NumGlyphs"));
    if (face.numGlyphs < 1)
        face.numGlyphs = 1;
    face.glyphImage = glyphImage;
    face.images = PropObjectAs<TImageList>("Images");
    const int imageIndex = static_cast<int>(PropOrdinal("ImageIndex"));
    const int disabledIndex = static_cast<int>(PropOrdinal("DisabledIndex"));
    face.imageIndex = glyphImage == 2 && disabledIndex != -1 ? disabledIndex : imageIndex;
    face.margin = static_cast<int>(PropOrdinal("Margin"));
    face.spacing = static_cast<int>(PropOrdinal("Spacing"));
    face.layout = LayoutFromName(PropName("Layout"));
    face.centred = LowerCase(PropName("Alignment")) == "tacenter";
    return face;
}

void TSkinBitButton::Draw(HDC dc, const RECT& rect)
{
    if (!BeginDraw())
        return;
    const int index = ImageIndex();
    DrawFace(rect, index);
    HDC buffer = Buffer.Canvas()->Handle();
    const HGDIOBJ oldFont = SelectControlFont(buffer);
    SetTextColourFor(buffer, index);
    const int glyphImage = index == 2 ? 3 : index == 3 ? 2 : 1;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    const RECT textRect = DrawGlyphFace(buffer, {0, 0, w, h}, ReadGlyphFace(glyphImage), SplitCaption(Caption));
    DrawFocus(buffer, textRect);
    BitBlt(dc, rect.left, rect.top, w, h, buffer, 0, 0, SRCCOPY);
    SelectObject(buffer, oldFont);
}
