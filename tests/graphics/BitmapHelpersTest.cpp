// The skin's bitmap helpers: grey, mirror, flip, rotations, colour mixes and gradients.
#include <gtest/gtest.h>

#include "GraphicsTestKit.h"
#include "classlib/graphics/Canvas.h"
#include "skin/BitmapHelpers.h"

namespace {
// A 3 x 2 picture with six distinct colours: (x, y) -> colour.
std::uint32_t Six(int x, int y) { return RGBColor(10 + x * 40, 100 + y * 50, 200 - x * 30 - y * 7); }

std::vector<std::vector<TColor>> Pixels(const TBitmap& b)
{
    std::vector<std::vector<TColor>> rows(static_cast<std::size_t>(b.Height()));
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            rows[y].push_back(b.PixelColor(x, y));
    return rows;
}

int Red(TColor c) { return c & 0xFF; }
} // namespace

TEST(BitmapHelpers, GreyOfPureRedAndOfAnyPictureIsTheChannelMean)
{
    auto b = MakeBitmap(2, 1, pf32bit, [](int x, int) -> std::uint32_t { return x ? RGBColor(10, 20, 40) : RGBColor(255, 0, 0); });
    GrayscaleBitmap(*b);
    EXPECT_EQ(b->PixelFormat(), pf24bit);
    EXPECT_EQ(b->PixelColor(0, 0), RGBColor(85, 85, 85));
    EXPECT_EQ(b->PixelColor(1, 0), RGBColor(23, 23, 23)); // 70 / 3, truncated
}

TEST(BitmapHelpers, MirrorFlipAndRotationsMovePixelsWhereExpected)
{
    auto b = MakeBitmap(3, 2, pf24bit, Six);
    const auto start = Pixels(*b);

    MirrorBitmap(*b);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(b->PixelColor(x, y), static_cast<TColor>(Six(2 - x, y)));
    MirrorBitmap(*b);
    EXPECT_EQ(Pixels(*b), start);

    FlipBitmap(*b);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(b->PixelColor(x, y), static_cast<TColor>(Six(x, 1 - y)));
    FlipBitmap(*b);

    RotateBitmapLeft(*b);
    ASSERT_EQ(b->Width(), 2);
    ASSERT_EQ(b->Height(), 3);
    EXPECT_EQ(b->PixelFormat(), pf24bit);
    EXPECT_EQ(b->PixelColor(0, 0), static_cast<TColor>(Six(2, 0))); // old top-right is the top-left
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) // old (x, y) at (y, W - 1 - x)
            EXPECT_EQ(b->PixelColor(y, 2 - x), static_cast<TColor>(Six(x, y)));
    RotateBitmapRight(*b);
    ASSERT_EQ(b->Width(), 3);
    EXPECT_EQ(Pixels(*b), start);

    RotateBitmapRight(*b);
    ASSERT_EQ(b->Width(), 2);
    EXPECT_EQ(b->PixelColor(0, 0), static_cast<TColor>(Six(0, 1))); // old bottom-left is the top-left
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) // old (x, y) at (H - 1 - y, x)
            EXPECT_EQ(b->PixelColor(1 - y, x), static_cast<TColor>(Six(x, y)));
    RotateBitmapLeft(*b);
    EXPECT_EQ(Pixels(*b), start);

    // Other formats are moved exactly too, never written past their rows.
    for (TPixelFormat f : {pf1bit, pf4bit, pf8bit, pf16bit, pf32bit}) {
        auto p = MakeBitmap(5, 3, f, [](int x, int y) -> std::uint32_t { return (x + y) % 2 ? clWhite : clBlack; });
        const auto before = Pixels(*p);
        RotateBitmapLeft(*p);
        MirrorBitmap(*p);
        FlipBitmap(*p);
        RotateBitmapLeft(*p);
        EXPECT_EQ(Pixels(*p), before) << f; // left, mirror, flip, left is the identity
    }
    TBitmap empty;
    RotateBitmapLeft(empty);
    EXPECT_TRUE(empty.Empty());
}

TEST(BitmapHelpers, MixColorsCountsHundredthsBelow100AndThousandthsAbove)
{
    const TColor c1 = RGBColor(200, 100, 0), c2 = RGBColor(0, 0, 255);
    const struct {
        int amount;
        TColor expected;
    } cases[] = {
        {0, c2},
        {50, RGBColor(100, 50, 128)},  // rounded mean: (255 * 50 + 50) / 100 = 128
        {99, RGBColor(198, 99, 3)},    // 99 % of c1
        {100, RGBColor(20, 10, 230)},  // only 10 % of c1: (255 * 900 + 500) / 1000 = 230
        {150, RGBColor(30, 15, 217)},
        {1000, c1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MixColors(c1, c2, c.amount), c.expected) << c.amount;
    EXPECT_EQ(MixColors(clBtnFace, clBtnFace, 37), ColorToRGB(clBtnFace));
    EXPECT_EQ(MixColors(clWhite, clBlack, 2000), RGBColor(0xFE, 0xFE, 0xFE)); // (255 * 2000 + 500) / 1000 = 510, low byte 254
}

TEST(BitmapHelpers, GradientsAreComputedAndCachedInSixteenSlots)
{
    const int slot = MakeGradient(4, RGBColor(0, 0, 0), RGBColor(10, 0, 0));
    std::vector<int> reds;
    for (TColor c : GradientSlot(slot))
        reds.push_back(Red(c));
    EXPECT_EQ(reds, (std::vector<int>{0, 3, 7, 10}));
    EXPECT_EQ(FindGradient(4, RGBColor(0, 0, 0), RGBColor(10, 0, 0)), slot);
    EXPECT_EQ(GetGradient(4, RGBColor(0, 0, 0), RGBColor(10, 0, 0)), slot);
    EXPECT_EQ(FindGradient(5, RGBColor(0, 0, 0), RGBColor(10, 0, 0)), -1);

    // Falling: 10, 7, 4, 1 ends short of 0 and is never found again.
    const int down = GetGradient(4, RGBColor(10, 0, 0), RGBColor(0, 0, 0));
    reds.clear();
    for (TColor c : GradientSlot(down))
        reds.push_back(Red(c));
    EXPECT_EQ(reds, (std::vector<int>{10, 7, 4, 1}));
    EXPECT_EQ(FindGradient(4, RGBColor(10, 0, 0), RGBColor(0, 0, 0)), -1);
    const int again = GetGradient(4, RGBColor(10, 0, 0), RGBColor(0, 0, 0));
    EXPECT_NE(again, down);

    // Length 1 is the midpoint; it is not found again either.
    const int one = GetGradient(1, RGBColor(0, 0, 0), RGBColor(10, 21, 255));
    ASSERT_EQ(GradientSlot(one).size(), 1u);
    EXPECT_EQ(GradientSlot(one)[0], RGBColor(5, 10, 127));
    EXPECT_NE(GetGradient(1, RGBColor(0, 0, 0), RGBColor(10, 21, 255)), one);

    // The 17th new gradient after `first` overwrites its slot.
    const int first = MakeGradient(3, RGBColor(1, 1, 1), RGBColor(9, 9, 9));
    EXPECT_EQ(NextGradientSlot(), (first + 1) % kGradientSlots);
    for (int k = 0; k < 15; ++k)
        MakeGradient(2, RGBColor(k, 0, 0), RGBColor(0, k, 0));
    EXPECT_EQ(FindGradient(3, RGBColor(1, 1, 1), RGBColor(9, 9, 9)), first);
    EXPECT_EQ(MakeGradient(2, RGBColor(50, 0, 0), RGBColor(0, 50, 0)), first);
    EXPECT_EQ(FindGradient(3, RGBColor(1, 1, 1), RGBColor(9, 9, 9)), -1);
}

TEST(BitmapHelpers, GradientFillPaintsLineByLineInsideTheClip)
{
    TBitmap b(20, 12, pf24bit);
    TCanvas& c = *b.Canvas();
    c.Brush()->SetColor(clWhite);
    c.FillRect(RECT{0, 0, 20, 12});
    HDC dc = c.Handle();

    // Vertical: row by row from c1 to c2 over 4 rows.
    GradientFill(dc, RECT{2, 1, 6, 5}, RGBColor(0, 0, 0), true, RGBColor(10, 0, 0));
    for (int x = 2; x < 6; ++x) {
        EXPECT_EQ(b.PixelColor(x, 1), RGBColor(0, 0, 0));
        EXPECT_EQ(b.PixelColor(x, 2), RGBColor(3, 0, 0));
        EXPECT_EQ(b.PixelColor(x, 3), RGBColor(7, 0, 0));
        EXPECT_EQ(b.PixelColor(x, 4), RGBColor(10, 0, 0));
    }
    EXPECT_EQ(b.PixelColor(2, 5), clWhite);
    EXPECT_EQ(b.PixelColor(6, 1), clWhite);

    // Horizontal, with system colours resolved.
    GradientFill(dc, RECT{10, 0, 13, 2}, clBtnFace, false, clBlack);
    EXPECT_EQ(b.PixelColor(10, 1), ColorToRGB(clBtnFace));
    EXPECT_TRUE(Near(b.PixelColor(12, 1), clBlack, 1)); // falling channels may stop one short

    // Only the lines inside the clipping box are painted, with their own colours.
    HRGN clip = CreateRectRgn(0, 8, 20, 10);
    SelectClipRgn(dc, clip);
    GradientFill(dc, RECT{0, 6, 4, 12}, RGBColor(0, 0, 0), true, RGBColor(0, 0, 250));
    SelectClipRgn(dc, nullptr);
    DeleteObject(clip);
    EXPECT_EQ(b.PixelColor(1, 7), clWhite);
    EXPECT_EQ(b.PixelColor(1, 8), RGBColor(0, 0, 100)); // line 2 of 6: (250 * 2 + 2) / 5
    EXPECT_EQ(b.PixelColor(1, 9), RGBColor(0, 0, 150));
    EXPECT_EQ(b.PixelColor(1, 10), clWhite);

    // Empty rectangles and rectangles outside the clip paint nothing and cache nothing.
    const int next = NextGradientSlot();
    GradientFill(dc, RECT{15, 5, 15, 9}, clRed, false, clBlue);
    GradientFill(dc, RECT{15, 5, 18, 5}, clRed, true, clBlue);
    GradientFill(dc, RECT{30, 30, 40, 40}, clRed, true, clBlue);
    EXPECT_EQ(NextGradientSlot(), next);
    EXPECT_EQ(b.PixelColor(15, 5), clWhite);

    // Repainting an equal rectangle finds the cached gradient.
    GradientFill(dc, RECT{2, 1, 6, 5}, RGBColor(0, 0, 0), true, RGBColor(10, 0, 0));
    EXPECT_EQ(NextGradientSlot(), next);
}
