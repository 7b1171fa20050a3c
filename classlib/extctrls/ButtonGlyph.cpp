#include "classlib/extctrls/ButtonGlyph.h"

#include "classlib/Unicode.h"
#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/Canvas.h"

TGlyphPlacement PlaceGlyph(const RECT& client, SIZE glyph, SIZE text, TButtonLayout layout, int margin, int spacing)
{
    const int cw = client.right - client.left, ch = client.bottom - client.top;
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    if (text.cx == 0 || text.cy == 0 || glyph.cx == 0 || glyph.cy == 0)
        spacing = 0;
    const int clientAxis = horizontal ? cw : ch;
    const int glyphAxis = horizontal ? glyph.cx : glyph.cy;
    const int textAxis = horizontal ? text.cx : text.cy;
    if (margin == -1) {
        if (spacing == -1) {
            margin = (clientAxis - glyphAxis - textAxis) / 3;
            spacing = margin;
        } else {
            margin = (clientAxis - glyphAxis - spacing - textAxis + 1) / 2;
        }
    } else if (spacing == -1) {
        spacing = (clientAxis - margin - glyphAxis - textAxis + 1) / 2;
    }

    TGlyphPlacement p;
    int gx, gy, tx, ty;
    if (horizontal) {
        gy = (ch - glyph.cy + 1) / 2;
        ty = (ch - text.cy + 1) / 2;
        if (layout == blGlyphLeft) {
            gx = margin;
            tx = margin + glyph.cx + spacing;
        } else {
            gx = cw - margin - glyph.cx;
            tx = gx - spacing - text.cx;
        }
    } else {
        gx = (cw - glyph.cx + 1) / 2;
        tx = (cw - text.cx + 1) / 2;
        if (layout == blGlyphTop) {
            gy = margin;
            ty = margin + glyph.cy + spacing;
        } else {
            gy = ch - margin - glyph.cy;
            ty = gy - spacing - text.cy;
        }
    }
    p.glyph = {client.left + gx, client.top + gy};
    p.text = {client.left + tx, client.top + ty, client.left + tx + text.cx, client.top + ty + text.cy};
    return p;
}

void AssignGlyph(TBitmap& glyph, const TBitmap* value, int& numGlyphs)
{
    if (value)
        glyph.Assign(*value);
    else
        glyph.SetSize(0, 0);
    if (glyph.Height() > 0 && glyph.Width() % glyph.Height() == 0) {
        const int n = glyph.Width() / glyph.Height();
        if (n >= 1 && n <= 4)
            numGlyphs = n;
    }
}

int ClampNumGlyphs(int value) { return value < 1 ? 1 : value > 4 ? 4 : value; }

SIZE GlyphSize(const TBitmap& glyph, int numGlyphs)
{
    if (glyph.Empty())
        return {0, 0};
    return {glyph.Width() / (numGlyphs > 0 ? numGlyphs : 1), glyph.Height()};
}

void DrawGlyph(TCanvas& canvas, const TBitmap& glyph, int numGlyphs, TButtonState state, POINT at)
{
    const SIZE size = GlyphSize(glyph, numGlyphs);
    if (size.cx <= 0 || size.cy <= 0)
        return;
    int index = static_cast<int>(state);
    const bool greyed = state == bsDisabled && numGlyphs < 2;
    if (index >= numGlyphs)
        index = 0;
    TBitmap image(size.cx, size.cy, pf24bit);
    TBitmap& source = const_cast<TBitmap&>(glyph);
    BitBlt(image.Canvas()->Handle(), 0, 0, size.cx, size.cy, source.Canvas()->Handle(), index * size.cx, 0, SRCCOPY);
    const TColor key = image.PixelColor(0, size.cy - 1);
    if (greyed) {
        // Lighter grey with the key colour kept, so the face shows through as before.
        for (int y = 0; y < size.cy; ++y) {
            auto* p = static_cast<std::uint8_t*>(image.ScanLine(y));
            for (int x = 0; x < size.cx; ++x, p += 3) {
                if ((p[2] | (p[1] << 8) | (p[0] << 16)) == key)
                    continue;
                const int g = 128 + (p[0] + p[1] + p[2]) / 6;
                p[0] = p[1] = p[2] = static_cast<std::uint8_t>(g);
            }
        }
    }
    TransparentBlt(canvas.Handle(), at.x, at.y, size.cx, size.cy, image.Canvas()->Handle(), 0, 0, size.cx, size.cy,
                   static_cast<UINT>(key));
}

void DrawGlyphAndCaption(TCanvas& canvas, const RECT& client, const TBitmap& glyph, int numGlyphs,
                         const std::string& caption, TButtonLayout layout, int margin, int spacing,
                         TButtonState state, POINT offset)
{
    const std::wstring text = Utf8ToWide(caption);
    SIZE textSize{0, 0};
    HDC dc = canvas.Handle();
    canvas.RequireTools();
    if (!text.empty()) {
        RECT measure{0, 0, client.right - client.left, 0};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measure, DT_CALCRECT | DT_SINGLELINE);
        textSize = {measure.right - measure.left, measure.bottom - measure.top};
    }
    RECT face = client;
    OffsetRect(&face, offset.x, offset.y);
    const TGlyphPlacement p = PlaceGlyph(face, GlyphSize(glyph, numGlyphs), textSize, layout, margin, spacing);
    DrawGlyph(canvas, glyph, numGlyphs, state, p.glyph);
    if (text.empty())
        return;
    SetBkMode(dc, TRANSPARENT);
    RECT r = p.text;
    if (state == bsDisabled) {
        // Engraved: a light copy one pixel down-right under the shadow-coloured text.
        OffsetRect(&r, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        OffsetRect(&r, -1, -1);
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    }
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}
