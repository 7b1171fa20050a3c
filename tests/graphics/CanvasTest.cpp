// Drawing on a bitmap's canvas, checked pixel by pixel.
#include <gtest/gtest.h>

#include "GraphicsTestKit.h"
#include "classlib/graphics/Canvas.h"

namespace {
// Bounding box of the pixels of one colour; empty (right < left) when there are none.
RECT BoxOf(TBitmap& b, TColor colour)
{
    RECT box{b.Width(), b.Height(), -1, -1};
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.PixelColor(x, y) == colour) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x);
                box.bottom = std::max<LONG>(box.bottom, y);
            }
    return box;
}

std::unique_ptr<TBitmap> White(int w, int h)
{
    auto b = std::make_unique<TBitmap>(w, h, pf24bit);
    b->Canvas()->Brush()->SetColor(clWhite);
    b->Canvas()->FillRect(RECT{0, 0, w, h});
    return b;
}
} // namespace

TEST(Canvas, ShapesUseThePenAndTheBrush)
{
    auto b = White(40, 30);
    TCanvas& c = *b->Canvas();
    c.Brush()->SetColor(clRed);
    c.FillRect(RECT{2, 3, 6, 8}); // right and bottom are outside
    EXPECT_EQ(BoxOf(*b, clRed).left, 2);
    EXPECT_EQ(BoxOf(*b, clRed).bottom, 7);
    EXPECT_EQ(BoxOf(*b, clRed).right, 5);

    // The brush changes while selected: the next fill uses the new colour.
    c.Brush()->SetColor(clBlue);
    c.FillRect(RECT{2, 3, 4, 8});
    EXPECT_EQ(b->PixelColor(2, 3), clBlue);
    EXPECT_EQ(b->PixelColor(5, 3), clRed);

    c.Pen()->SetColor(clGreen);
    c.Brush()->SetColor(clYellow);
    c.Rectangle(10, 10, 20, 16);
    EXPECT_EQ(b->PixelColor(10, 10), clGreen);
    EXPECT_EQ(b->PixelColor(19, 15), clGreen);
    EXPECT_EQ(b->PixelColor(15, 13), clYellow);
    EXPECT_EQ(b->PixelColor(20, 16), clWhite);

    c.Pen()->SetColor(clNavy);
    c.Pen()->SetWidth(1);
    c.MoveTo(0, 25);
    c.LineTo(30, 25);
    EXPECT_EQ(c.PenPos().x, 30);
    const RECT line = BoxOf(*b, clNavy);
    EXPECT_EQ(line.left, 0);
    EXPECT_EQ(line.right, 29); // the end point is not drawn
    EXPECT_EQ(line.top, 25);
    EXPECT_EQ(line.bottom, 25);

    c.Brush()->SetStyle(bsClear); // outline only
    c.Pen()->SetColor(clPurple);
    c.Rectangle(22, 2, 30, 8);
    EXPECT_EQ(b->PixelColor(26, 5), clWhite);
    EXPECT_EQ(b->PixelColor(22, 5), clPurple);

    c.SetPixel(39, 29, clTeal);
    EXPECT_EQ(c.Pixel(39, 29), clTeal);
    EXPECT_EQ(c.Pixel(500, 500), clNone);
    c.Brush()->SetColor(clBtnFace); // a system colour draws as its current value
    c.FillRect(RECT{35, 0, 40, 2});
    EXPECT_EQ(b->PixelColor(36, 1), ColorToRGB(clBtnFace));
}

TEST(Canvas, TextIsDrawnInTheFontColourAndMeasured)
{
    auto b = White(200, 40);
    TCanvas& c = *b->Canvas();
    c.Font()->SetName("Tahoma");
    c.Font()->SetHeight(-16);
    c.Font()->SetColor(clRed);
    c.Brush()->SetStyle(bsClear);
    const SIZE size = c.TextExtent("Kestrip");
    EXPECT_GT(size.cx, 20);
    EXPECT_GT(size.cy, 10);
    EXPECT_GT(c.TextWidth("WWWW"), c.TextWidth("W"));
    c.TextOut(5, 4, "Kestrip");
    const RECT ink = BoxOf(*b, clRed);
    ASSERT_LE(ink.left, ink.right) << "no text drawn";
    EXPECT_GE(ink.left, 5);
    EXPECT_LE(ink.right, 5 + size.cx);
    EXPECT_GE(ink.top, 4);
    EXPECT_LE(ink.bottom, 4 + size.cy);

    // A bigger font is wider; a non-ASCII text is measured as text, not as nothing.
    const int small = c.TextWidth("Track");
    c.Font()->SetHeight(-30);
    EXPECT_GT(c.TextWidth("Track"), small);
    EXPECT_GT(c.TextWidth("M\xC3\xBAsica \xE9\x9F\xB3"), c.TextWidth("M"));

    // TextRect clips and, with a solid brush, fills its rectangle.
    auto d = White(60, 30);
    TCanvas& e = *d->Canvas();
    e.Font()->SetColor(clBlue);
    e.Brush()->SetColor(clYellow);
    e.TextRect(RECT{10, 5, 30, 25}, 12, 6, "WWWWWWWWWW");
    EXPECT_EQ(d->PixelColor(9, 10), clWhite);
    EXPECT_EQ(d->PixelColor(30, 10), clWhite); // clipped at the right edge
    const RECT blue = BoxOf(*d, clBlue);
    EXPECT_LE(blue.right, 29);
    EXPECT_GE(blue.left, 12);
    EXPECT_EQ(d->PixelColor(10, 24), clYellow);
}

TEST(Canvas, GraphicsAreDrawnStretchedCopiedAndKeyedOut)
{
    auto src = std::make_unique<TBitmap>(4, 2, pf24bit);
    src->Canvas()->Brush()->SetColor(clRed);
    src->Canvas()->FillRect(RECT{0, 0, 2, 2});
    src->Canvas()->Brush()->SetColor(clFuchsia);
    src->Canvas()->FillRect(RECT{2, 0, 4, 2});

    auto dst = White(20, 10);
    dst->Canvas()->Draw(1, 1, *src);
    EXPECT_EQ(dst->PixelColor(1, 1), clRed);
    EXPECT_EQ(dst->PixelColor(4, 2), clFuchsia);
    EXPECT_EQ(dst->PixelColor(5, 1), clWhite);

    dst->Canvas()->StretchDraw(RECT{10, 0, 18, 4}, *src); // twice as big
    EXPECT_EQ(dst->PixelColor(13, 3), clRed);
    EXPECT_EQ(dst->PixelColor(14, 3), clFuchsia);
    EXPECT_EQ(dst->PixelColor(17, 3), clFuchsia);
    EXPECT_EQ(dst->PixelColor(18, 3), clWhite);

    // Transparent: the key colour leaves the background.
    src->SetTransparent(true);
    src->SetTransparentColor(clFuchsia);
    auto keyed = White(6, 4);
    keyed->Canvas()->Draw(0, 0, *src);
    EXPECT_EQ(keyed->PixelColor(0, 0), clRed);
    EXPECT_EQ(keyed->PixelColor(3, 1), clWhite);

    // CopyRect between canvases.
    auto copy = White(8, 8);
    copy->Canvas()->CopyRect(RECT{4, 4, 6, 6}, *dst->Canvas(), RECT{1, 1, 3, 3});
    EXPECT_EQ(copy->PixelColor(4, 4), clRed);
    EXPECT_EQ(copy->PixelColor(5, 5), clRed);
    EXPECT_EQ(copy->PixelColor(6, 6), clWhite);

    // Resizing the bitmap under its canvas: the canvas draws on the new pixels.
    dst->SetSize(30, 12);
    dst->Canvas()->Brush()->SetColor(clLime);
    dst->Canvas()->FillRect(RECT{25, 10, 30, 12});
    EXPECT_EQ(dst->PixelColor(29, 11), clLime);
    EXPECT_EQ(dst->PixelColor(1, 1), clRed);
}

TEST(Canvas, ACanvasOnAForeignDcLeavesItAsItWas)
{
    TBitmap target(10, 30, pf24bit);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ oldBitmap = SelectObject(dc, target.Handle());
    HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN), brush = GetCurrentObject(dc, OBJ_BRUSH),
            font = GetCurrentObject(dc, OBJ_FONT);
    {
        TCanvas c(dc);
        c.Brush()->SetColor(clMaroon);
        c.FillRect(RECT{0, 0, 5, 5});
        c.Pen()->SetColor(clOlive);
        c.Rectangle(5, 5, 10, 10);
        c.TextOut(0, 12, "x");
    }
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
    SelectObject(dc, oldBitmap);
    DeleteDC(dc);
    EXPECT_EQ(target.PixelColor(4, 4), clMaroon);
    EXPECT_EQ(target.PixelColor(5, 5), clOlive);
}
