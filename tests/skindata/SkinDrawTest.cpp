// The drawing primitives, checked pixel by pixel on DIBs.
#include <gtest/gtest.h>

#include <functional>

#include "classlib/graphics/Canvas.h"
#include "skin/draw/SkinDraw.h"
#include "skindata/SkinDataTestKit.h"

using namespace skindatatest;

namespace {
constexpr TColor kBack = 0x123456;
constexpr int L = 2, T = 2, R = 3, B = 3, FW = 10, FH = 10;
const RECT kMargins{L, T, R, B};

int Zone(int v, int low, int size, int high) { return v < low ? 0 : v >= size - high ? 2 : 1; }

// Frame f (1-based) of the test strip: solid colours in the eight edge parts, a gradient
// in the centre so that tiling and stretching can be told apart.
TColor Source(int f, int x, int y)
{
    const int col = Zone(x, L, FW, R), row = Zone(y, T, FH, B);
    if (col == 1 && row == 1)
        return RGBColor(200 + f, 100 + (x - L) * 10, 100 + (y - T) * 10);
    return RGBColor(f * 40 + 10, col * 80 + 10, row * 80 + 10);
}

void Paint(TBitmap& b, int w, int h, const std::function<TColor(int, int)>& colour)
{
    FillBitmap(b, w, h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.Canvas()->SetPixel(x, y, colour(x, y));
}

// Three frames side by side (or stacked).
void Strip(TBitmap& b, bool vertical = false)
{
    Paint(b, vertical ? FW : 3 * FW, vertical ? 3 * FH : FH, [&](int x, int y) {
        return vertical ? Source(y / FH + 1, x, y % FH) : Source(x / FW + 1, x % FW, y);
    });
}

struct Canvas {
    TBitmap bitmap;
    Canvas(int w, int h) { FillBitmap(bitmap, w, h, kBack); }
    HDC Dc() { return bitmap.Canvas()->Handle(); }
    TColor At(int x, int y)
    {
        GdiFlush();
        return bitmap.PixelColor(x, y);
    }
    int Changed()
    {
        GdiFlush();
        int n = 0;
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x)
                n += bitmap.PixelColor(x, y) != kBack;
        return n;
    }
};

std::vector<RECT> RegionRects(HRGN region)
{
    const DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<std::uint8_t> data(size);
    GetRegionData(region, size, reinterpret_cast<RGNDATA*>(data.data()));
    const auto* header = reinterpret_cast<const RGNDATAHEADER*>(data.data());
    const auto* rects = reinterpret_cast<const RECT*>(data.data() + header->dwSize);
    return std::vector<RECT>(rects, rects + header->nCount);
}
}

TEST(SkinDraw, NineSliceKeepsCornersStretchesEdgesAndStretchesOrTilesTheCentre)
{
    TBitmap strip;
    Strip(strip);
    for (bool vertical : {false, true}) {
        TBitmap vstrip;
        Strip(vstrip, true);
        for (bool tile : {false, true}) {
            SCOPED_TRACE(std::string(vertical ? "vertical" : "horizontal") + (tile ? " tiled" : " stretched"));
            const int W = 30, H = 20;
            auto picture = RenderNineSlice({5, 7, 5 + W, 7 + H}, vertical ? vstrip : strip, kMargins, vertical, tile, 3, 2);
            ASSERT_EQ(picture->Width(), W);
            ASSERT_EQ(picture->Height(), H);
            GdiFlush();
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x) {
                    const int col = Zone(x, L, W, R), row = Zone(y, T, H, B);
                    if (col == 1 && row == 1)
                        continue;
                    // Edge and corner parts are solid in the source: any stretch keeps the colour.
                    ASSERT_EQ(picture->PixelColor(x, y), RGBColor(90, col * 80 + 10, row * 80 + 10)) << x << "," << y;
                }
            // The centre: 5 x 5 source pixels over 25 x 15 target pixels.
            EXPECT_EQ(picture->PixelColor(L, T), Source(2, L, T));
            EXPECT_EQ(picture->PixelColor(W - R - 1, H - B - 1), tile ? Source(2, L + (W - R - 1 - L) % 5, T + (H - B - 1 - T) % 5)
                                                                      : Source(2, FW - R - 1, FH - B - 1));
            if (tile) {
                for (int y = T; y < H - B; ++y)
                    for (int x = L; x < W - R; ++x)
                        ASSERT_EQ(picture->PixelColor(x, y), Source(2, L + (x - L) % 5, T + (y - T) % 5)) << x << "," << y;
            } else {
                // Stretched five times across: the first five columns repeat the first source column.
                for (int x = L; x < L + 5; ++x)
                    EXPECT_EQ(picture->PixelColor(x, T), Source(2, L, T)) << x;
                EXPECT_EQ(picture->PixelColor(L + 5, T), Source(2, L + 1, T));
            }
        }
    }
}

TEST(SkinDraw, NarrowTargetsDropTheSideMargins)
{
    TBitmap strip;
    Strip(strip);
    auto same = [](TBitmap& a, TBitmap& b) {
        GdiFlush();
        if (a.Width() != b.Width() || a.Height() != b.Height())
            return false;
        for (int y = 0; y < a.Height(); ++y)
            for (int x = 0; x < a.Width(); ++x)
                if (a.PixelColor(x, y) != b.PixelColor(x, y))
                    return false;
        return true;
    };
    // 4 wide < 2 + 3: drawn as if the side margins were 0 (the whole frame width stretched).
    auto narrow = RenderNineSlice({0, 0, 4, 20}, strip, kMargins, false, false, 3, 1);
    auto noSides = RenderNineSlice({0, 0, 4, 20}, strip, {0, T, 0, B}, false, false, 3, 1);
    auto withSides = RenderNineSlice({0, 0, 4, 20}, strip, {1, T, 1, B}, false, false, 3, 1);
    EXPECT_TRUE(same(*narrow, *noSides));
    EXPECT_FALSE(same(*narrow, *withSides));
    // Top and bottom margins stay: the first rows come from the frame's top rows only.
    GdiFlush();
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(GetBValue32(narrow->PixelColor(x, 0)), 10) << x;
        EXPECT_EQ(GetBValue32(narrow->PixelColor(x, 19)), 170) << x;
    }
    // 5 wide is not narrow: corners are copied one to one.
    auto exact = RenderNineSlice({0, 0, 5, 20}, strip, kMargins, false, false, 3, 1);
    GdiFlush();
    EXPECT_EQ(exact->PixelColor(0, 0), Source(1, 0, 0));
    EXPECT_EQ(exact->PixelColor(4, 19), Source(1, FW - 1, FH - 1));
    // Narrow both ways: the whole frame stretched into the target.
    auto tiny = RenderNineSlice({0, 0, 4, 4}, strip, kMargins, false, false, 3, 3);
    auto whole = RenderNineSlice({0, 0, 4, 4}, strip, {0, 0, 0, 0}, false, false, 3, 3);
    EXPECT_TRUE(same(*tiny, *whole));
}

TEST(SkinDraw, StripFramesAndPlacement)
{
    TBitmap strip;
    Paint(strip, 3 * 6, 4, [](int x, int) { return RGBColor(x / 6 * 100 + 20, 0, 0); });
    EXPECT_EQ(StripFrameRect(strip, false, 3, 2).left, 6);
    EXPECT_EQ(StripFrameRect(strip, false, 3, 2).right, 12);
    EXPECT_EQ(StripFrameRect(strip, false, 3, 9).left, 12); // kept within the strip

    Canvas stretched(20, 10);
    DrawStripImage(stretched.Dc(), {2, 1, 14, 9}, strip, false, 3, 2);
    EXPECT_EQ(stretched.Changed(), 12 * 8);
    EXPECT_EQ(stretched.At(2, 1), RGBColor(120, 0, 0));
    EXPECT_EQ(stretched.At(13, 8), RGBColor(120, 0, 0));

    Canvas centred(30, 30);
    DrawStripImageCentered(centred.Dc(), {10, 10, 21, 19}, strip, false, 3, 3);
    // 11 x 9 around 6 x 4: at (12, 12), halves rounded toward zero.
    EXPECT_EQ(centred.Changed(), 6 * 4);
    EXPECT_EQ(centred.At(12, 12), RGBColor(220, 0, 0));
    EXPECT_EQ(centred.At(17, 15), RGBColor(220, 0, 0));
    EXPECT_EQ(centred.At(11, 12), kBack);
    EXPECT_EQ(centred.At(18, 12), kBack);

    // Inverted targets draw nothing.
    Canvas none(20, 20);
    const RECT inverted{10, 10, 5, 15};
    DrawStripImage(none.Dc(), inverted, strip, false, 3, 1);
    DrawStripImageCentered(none.Dc(), inverted, strip, false, 3, 1);
    DrawNineSlice(none.Dc(), inverted, strip, false, false, false, 3, 1, kMargins);
    DrawNineSliceBorder(none.Dc(), {0, 10, 10, 5}, strip, false, 3, 1, kMargins);
    DrawHorzBar(none.Dc(), inverted, strip, false, 3, 1, kMargins);
    DrawVertBar(none.Dc(), inverted, strip, false, 3, 1, kMargins);
    DrawTransparent(none.Dc(), inverted, strip, kSkinKeyColour);
    DrawThreeSlice(*none.bitmap.Canvas(), inverted, strip, false, false, 3, 1, kMargins);
    TileImage(*none.bitmap.Canvas(), inverted, strip, {0, 0, 3, 3});
    TileImage(*none.bitmap.Canvas(), {0, 0, 20, 20}, strip, {2, 2, 2, 4}); // empty part
    EXPECT_EQ(none.Changed(), 0);
}

TEST(SkinDraw, KeyColouredPixelsAreLeftOut)
{
    TBitmap picture;
    Paint(picture, 6, 5, [](int x, int y) { return (x + y) % 2 ? kSkinKeyColour : RGBColor(x * 30, y * 40, 7); });
    Canvas c(20, 20);
    DrawTransparent(c.Dc(), {4, 3, 20, 20}, picture, kSkinKeyColour);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const int px = x - 4, py = y - 3;
            const bool inside = px >= 0 && px < 6 && py >= 0 && py < 5;
            const TColor expected = inside && (px + py) % 2 == 0 ? RGBColor(px * 30, py * 40, 7) : kBack;
            ASSERT_EQ(c.At(x, y), expected) << x << "," << y;
        }

    // Nine-slice with transparency: the key shows the destination through.
    TBitmap strip;
    Paint(strip, 10, 10, [](int x, int y) { return x < 2 && y < 2 ? kSkinKeyColour : RGBColor(1, 2, 3); });
    Canvas n(30, 30);
    DrawNineSlice(n.Dc(), {5, 5, 25, 25}, strip, true, false, false, 1, 1, kMargins);
    EXPECT_EQ(n.At(5, 5), kBack);
    EXPECT_EQ(n.At(6, 6), kBack);
    EXPECT_EQ(n.At(7, 7), RGBColor(1, 2, 3));
    EXPECT_EQ(n.At(24, 24), RGBColor(1, 2, 3));
    EXPECT_EQ(n.At(25, 25), kBack);
    Canvas opaque(30, 30);
    DrawNineSlice(opaque.Dc(), {5, 5, 25, 25}, strip, false, false, false, 1, 1, kMargins);
    EXPECT_EQ(opaque.At(5, 5), kSkinKeyColour);
}

TEST(SkinDraw, BorderOnlyThreeSliceBarsAndTiles)
{
    TBitmap strip;
    Strip(strip);
    Canvas border(40, 30);
    DrawNineSliceBorder(border.Dc(), {5, 5, 35, 25}, strip, false, 3, 3, kMargins);
    EXPECT_EQ(border.At(5, 5), Source(3, 0, 0));
    EXPECT_EQ(border.At(34, 24), Source(3, FW - 1, FH - 1));
    EXPECT_EQ(border.At(20, 5), Source(3, 5, 0));
    EXPECT_EQ(border.At(5, 15), Source(3, 0, 5));
    EXPECT_EQ(border.At(20, 15), kBack); // no centre
    EXPECT_EQ(border.At(4, 4), kBack);
    EXPECT_EQ(border.Changed(), 30 * 20 - 25 * 15);

    // Three-slice: caps, then whole copies of the middle from x = L while x < W - R.
    TBitmap caps;
    Paint(caps, FW, 4, [](int x, int) { return RGBColor(x * 20, 50, 60); });
    Canvas three(23, 6);
    DrawThreeSlice(*three.bitmap.Canvas(), {0, 0, 23, 6}, caps, false, false, 1, 1, kMargins);
    for (int x = 0; x < 23; ++x) {
        const int source = x < L ? x : x >= 23 - R ? FW - (23 - x) : L + (x - L) % (FW - L - R);
        EXPECT_EQ(three.At(x, 0), RGBColor(source * 20, 50, 60)) << x;
        EXPECT_EQ(three.At(x, 5), RGBColor(source * 20, 50, 60)) << x;
    }

    // Horizontal bar: image height kept and centred; caps L and R wide.
    TBitmap bar;
    Paint(bar, 2 * FW, 6, [](int x, int) { return x % FW < L ? RGBColor(1, 0, 0) : x % FW >= FW - R ? RGBColor(3, 0, 0) : RGBColor(2, 0, 0); });
    Canvas h(40, 20);
    DrawHorzBar(h.Dc(), {0, 0, 40, 20}, bar, false, 2, 2, kMargins);
    EXPECT_EQ(h.At(0, 6), kBack);
    EXPECT_EQ(h.At(0, 7), RGBColor(1, 0, 0));
    EXPECT_EQ(h.At(1, 12), RGBColor(1, 0, 0));
    EXPECT_EQ(h.At(2, 7), RGBColor(2, 0, 0));
    EXPECT_EQ(h.At(36, 7), RGBColor(2, 0, 0));
    EXPECT_EQ(h.At(37, 7), RGBColor(3, 0, 0));
    EXPECT_EQ(h.At(39, 12), RGBColor(3, 0, 0));
    EXPECT_EQ(h.At(20, 13), kBack);
    EXPECT_EQ(h.Changed(), 40 * 6);
    // Narrower than the caps: clipped to the target.
    Canvas narrow(40, 20);
    DrawHorzBar(narrow.Dc(), {10, 0, 13, 20}, bar, false, 2, 1, kMargins);
    EXPECT_EQ(narrow.Changed(), 3 * 6);

    // Vertical bar: the same turned.
    TBitmap vbar;
    Paint(vbar, 6, FH, [](int, int y) { return y < T ? RGBColor(0, 1, 0) : y >= FH - B ? RGBColor(0, 3, 0) : RGBColor(0, 2, 0); });
    Canvas v(20, 40);
    DrawVertBar(v.Dc(), {0, 0, 20, 40}, vbar, true, 1, 1, kMargins);
    EXPECT_EQ(v.At(6, 0), kBack);
    EXPECT_EQ(v.At(7, 0), RGBColor(0, 1, 0));
    EXPECT_EQ(v.At(7, 2), RGBColor(0, 2, 0));
    EXPECT_EQ(v.At(12, 37), RGBColor(0, 3, 0));
    EXPECT_EQ(v.Changed(), 6 * 40);

    // Tiles repeat the part from the target's top-left.
    TBitmap part;
    Paint(part, 5, 4, [](int x, int y) { return RGBColor(x * 50, y * 60, 9); });
    Canvas tiles(12, 9);
    TileImage(*tiles.bitmap.Canvas(), {1, 1, 12, 9}, part, {1, 1, 4, 3});
    for (int y = 1; y < 9; ++y)
        for (int x = 1; x < 12; ++x)
            ASSERT_EQ(tiles.At(x, y), RGBColor((1 + (x - 1) % 3) * 50, (1 + (y - 1) % 2) * 60, 9)) << x << "," << y;
    EXPECT_EQ(tiles.At(0, 0), kBack);
}

TEST(SkinDraw, RegionsFromPictures)
{
    // All key: empty.
    TBitmap key;
    Paint(key, 8, 6, [](int, int) { return kSkinKeyColour; });
    int joins = -1;
    HRGN empty = RegionFromBitmap(key, 0, 0, 1, 1, 1, kSkinKeyColour, &joins);
    RECT box;
    EXPECT_EQ(GetRgnBox(empty, &box), NULLREGION);
    EXPECT_EQ(joins, 0);
    DeleteObject(empty);

    // No key: one rectangle per row, shifted by the offsets.
    TBitmap solid;
    Paint(solid, 7, 3, [](int x, int y) { return RGBColor(x, y, 0); });
    HRGN full = RegionFromBitmap(solid, 10, 20, 1, 1, 1, kSkinKeyColour, &joins);
    EXPECT_EQ(joins, 1);
    ASSERT_EQ(GetRgnBox(full, &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.top, 20);
    EXPECT_EQ(box.right, 17);
    EXPECT_EQ(box.bottom, 23);
    DeleteObject(full);

    // Tolerance: (255, 1, 255) and (254, 0, 255) around the key.
    TBitmap nearKey;
    Paint(nearKey, 3, 1, [](int x, int) { return x == 0 ? RGBColor(255, 1, 255) : x == 1 ? RGBColor(254, 0, 255) : RGBColor(255, 0, 254); });
    HRGN tolerant = RegionFromBitmap(nearKey, 0, 0, 1, 1, 1, kSkinKeyColour);
    EXPECT_FALSE(PtInRegion(tolerant, 0, 0));
    EXPECT_TRUE(PtInRegion(tolerant, 1, 0));
    EXPECT_TRUE(PtInRegion(tolerant, 2, 0));
    DeleteObject(tolerant);

    // 4,500 one-pixel runs, rows alternating so that no two rows merge: joined at 2,000,
    // 4,000 and the rest; the region's rectangles are exactly the runs.
    TBitmap dots;
    Paint(dots, 90, 100, [](int x, int y) { return (x + y) % 2 ? kSkinKeyColour : RGBColor(0, 128, 0); });
    HRGN many = RegionFromBitmap(dots, 3, 4, 1, 1, 1, kSkinKeyColour, &joins);
    EXPECT_EQ(joins, 3);
    const std::vector<RECT> rects = RegionRects(many);
    ASSERT_EQ(rects.size(), 4500u);
    std::size_t i = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = y % 2; x < 90; x += 2, ++i) {
            ASSERT_EQ(rects[i].left, x + 3) << i;
            ASSERT_EQ(rects[i].top, y + 4) << i;
            ASSERT_EQ(rects[i].right, x + 4) << i;
            ASSERT_EQ(rects[i].bottom, y + 5) << i;
        }
    DeleteObject(many);
}
