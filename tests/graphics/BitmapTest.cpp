// DIB-section bitmaps: formats, row layout, resizing, conversion, handles, transparency.
#include <gtest/gtest.h>

#include <cstring>

#include "GraphicsTestKit.h"
#include "classlib/graphics/Canvas.h"

namespace {
std::uint32_t Pattern(int x, int y) { return RGBColor(x * 40 % 256, y * 60 % 256, (x + y) * 25 % 256); }
std::uint32_t Cube(int x, int y) { return RGBColor((x % 6) * 51, (y % 6) * 51, ((x + y) % 6) * 51); }

struct FormatCase {
    TPixelFormat format;
    int bits;
    int rowBytesFor5;
};
} // namespace

TEST(Bitmap, EveryPixelFormatIsADibSectionWithAlignedBottomUpRows)
{
    const FormatCase cases[] = {{pf1bit, 1, 4},   {pf4bit, 4, 4},   {pf8bit, 8, 8},   {pf15bit, 16, 12},
                                {pf16bit, 16, 12}, {pf24bit, 24, 16}, {pf32bit, 32, 20}, {pfDevice, 32, 20}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bits);
        TBitmap b(5, 3, c.format);
        EXPECT_EQ(b.PixelFormat(), c.format);
        EXPECT_EQ(b.BitsPerPixel(), c.bits);
        EXPECT_EQ(b.RowBytes(), c.rowBytesFor5);
        DIBSECTION ds{};
        ASSERT_EQ(GetObjectW(b.Handle(), sizeof ds, &ds), static_cast<int>(sizeof ds));
        EXPECT_EQ(ds.dsBm.bmBitsPixel, c.bits);
        EXPECT_EQ(ds.dsBmih.biHeight, 3); // bottom-up
        // Row 0 is the top row, stored last.
        const auto* top = static_cast<const std::uint8_t*>(b.ScanLine(0));
        const auto* second = static_cast<const std::uint8_t*>(b.ScanLine(1));
        EXPECT_EQ(top - second, c.rowBytesFor5);
        EXPECT_EQ(static_cast<const void*>(b.ScanLine(2)), ds.dsBm.bmBits);
        EXPECT_EQ(b.PixelColor(4, 2), clBlack); // new bitmaps start black
        EXPECT_THROW(b.ScanLine(3), EInvalidGraphic);
        EXPECT_THROW(b.ScanLine(-1), EInvalidGraphic);
    }
}

TEST(Bitmap, PixelsWrittenThroughRowsAreWhatGdiSees)
{
    // The same picture in every format reads back alike from rows and from a DC.
    const TPixelFormat formats[] = {pf8bit, pf15bit, pf16bit, pf24bit, pf32bit};
    for (TPixelFormat f : formats) {
        SCOPED_TRACE(f);
        auto b = MakeBitmap(6, 4, f, Cube);
        const int tolerance = f == pf15bit || f == pf16bit ? 8 : 0;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x) {
                EXPECT_TRUE(Near(b->PixelColor(x, y), static_cast<TColor>(Cube(x, y)), tolerance)) << x << "," << y;
                EXPECT_TRUE(Near(b->Canvas()->Pixel(x, y), static_cast<TColor>(Cube(x, y)), tolerance)) << x << "," << y;
            }
    }
    // 24-bit rows are blue, green, red.
    TBitmap b(2, 1, pf24bit);
    PutPixel(b, 1, 0, RGBColor(10, 20, 30));
    const auto* row = static_cast<const std::uint8_t*>(b.ScanLine(0));
    EXPECT_EQ(row[3], 30);
    EXPECT_EQ(row[4], 20);
    EXPECT_EQ(row[5], 10);
}

TEST(Bitmap, ResizingKeepsTheTopLeftPartAndFormatConversionKeepsColours)
{
    auto b = MakeBitmap(7, 5, pf24bit, Pattern);
    b->SetSize(9, 3);
    EXPECT_EQ(b->Width(), 9);
    EXPECT_EQ(b->Height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(b->PixelColor(x, y), static_cast<TColor>(Pattern(x, y)));
    EXPECT_EQ(b->PixelColor(8, 2), clBlack);
    b->SetWidth(0);
    EXPECT_TRUE(b->Empty());
    EXPECT_EQ(b->Handle(), nullptr);

    // 24 -> 32 -> 24 is exact; to 8 bits exact for colours of the palette; 16 bits close.
    auto c = MakeBitmap(6, 6, pf24bit, Cube);
    int tolerance = 0;
    for (TPixelFormat f : {pf32bit, pf8bit, pf24bit, pf16bit, pf15bit, pf24bit}) {
        c->SetPixelFormat(f);
        EXPECT_EQ(c->PixelFormat(), f);
        if (f == pf16bit || f == pf15bit)
            tolerance = 8; // 5 bits per channel from here on
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x)
                EXPECT_TRUE(Near(c->PixelColor(x, y), static_cast<TColor>(Cube(x, y)), tolerance)) << f;
    }
    c->SetPixelFormat(pf1bit);
    EXPECT_EQ(c->Palette().size(), 2u);
    EXPECT_EQ(c->PixelColor(0, 0), clBlack);
    EXPECT_EQ(c->PixelColor(5, 5), clWhite); // (255, 255, 255) in the cube
}

TEST(Bitmap, AssignCopiesAndHandlesCanBeGivenAndTaken)
{
    auto a = MakeBitmap(4, 3, pf8bit, Cube);
    a->SetTransparentColor(clFuchsia);
    TBitmap b;
    b.Assign(*a);
    EXPECT_NE(b.Handle(), a->Handle());
    EXPECT_EQ(b.PixelFormat(), pf8bit);
    EXPECT_EQ(b.Palette().size(), a->Palette().size());
    EXPECT_EQ(b.TransparentColor(), clFuchsia);
    PutPixel(*a, 0, 0, clWhite);
    EXPECT_EQ(b.PixelColor(0, 0), static_cast<TColor>(Cube(0, 0))); // a deep copy

    // A device bitmap given as a handle is read into a DIB section.
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP ddb = CreateCompatibleBitmap(screen, 3, 2);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(mem, ddb);
    SetPixelV(mem, 2, 1, RGB(1, 2, 3));
    SelectObject(mem, old);
    DeleteDC(mem);
    TBitmap c;
    c.SetHandle(ddb);
    EXPECT_EQ(c.Width(), 3);
    EXPECT_EQ(c.Height(), 2);
    EXPECT_EQ(c.PixelColor(2, 1), RGBColor(1, 2, 3));

    HBITMAP taken = c.ReleaseHandle();
    EXPECT_TRUE(c.Empty());
    DIBSECTION ds{};
    EXPECT_EQ(GetObjectW(taken, sizeof ds, &ds), static_cast<int>(sizeof ds));
    DeleteObject(taken);
}

TEST(Bitmap, TransparentColourIsTheBottomLeftPixelUnlessFixed)
{
    TBitmap b(4, 4, pf24bit);
    b.Canvas()->Brush()->SetColor(clGreen);
    b.Canvas()->FillRect(RECT{0, 0, 4, 4});
    PutPixel(b, 0, 3, clFuchsia);
    EXPECT_EQ(b.TransparentMode(), tmAuto);
    EXPECT_EQ(b.TransparentColor(), clFuchsia);
    b.SetTransparentColor(clGreen);
    EXPECT_EQ(b.TransparentMode(), tmFixed);
    EXPECT_EQ(b.TransparentColor(), clGreen);
    b.SetTransparentColor(clDefault);
    EXPECT_EQ(b.TransparentColor(), clFuchsia);
}

TEST(Bitmap, BitmapResourcesOfTheProgramLoad)
{
    TBitmap track;
    track.LoadFromResourceName(GetModuleHandleW(nullptr), L"TRACK");
    EXPECT_EQ(track.Width(), 16);
    EXPECT_EQ(track.Height(), 4);
    EXPECT_EQ(track.PixelFormat(), pf4bit);
    EXPECT_EQ(track.PixelColor(3, 0), clGray);
    EXPECT_EQ(track.PixelColor(3, 1), clSilver);
    EXPECT_EQ(track.PixelColor(15, 3), clWhite);

    TBitmap tessel;
    tessel.LoadFromResourceName(GetModuleHandleW(nullptr), L"TESSELMENU");
    EXPECT_EQ(tessel.Width(), 64);
    EXPECT_EQ(tessel.PixelFormat(), pf1bit);
    EXPECT_EQ(tessel.PixelColor(48 + 2, 2), clBlack); // the X of the fourth glyph
    EXPECT_EQ(tessel.PixelColor(48 + 2, 3), clWhite);
    EXPECT_EQ(tessel.PixelColor(5, 13), clBlack);    // the bar of the first one
    EXPECT_THROW(tessel.LoadFromResourceName(GetModuleHandleW(nullptr), L"NOSUCHBITMAP"), EInvalidGraphic);
    EXPECT_EQ(tessel.Width(), 64); // unchanged after the failure
}
