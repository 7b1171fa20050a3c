// Controls that look through to their parent: the parent's background and its windowless
// content under the control, painted into the control's own picture.
#include <gtest/gtest.h>

#include <memory>

#include "classlib/extctrls/Panel.h"
#include "classlib/forms/Application.h"
#include "classlib/forms/Form.h"
#include "classlib/graphics/Picture.h"
#include "classlib/stdctrls/Image.h"
#include "skin/draw/SkinDraw.h"
#include "skindata/SkinDataTestKit.h"

using namespace skindatatest;

namespace {
constexpr TColor kFormColour = 0x2040C0;
constexpr TColor kImageColour = 0x10A030;
constexpr TColor kUnset = 0x777777;

TColor At(TBitmap& b, int x, int y)
{
    GdiFlush();
    return b.PixelColor(x, y);
}
}

TEST(ParentBackground, TheParentPaintsItsBackgroundAndContentUnderTheControl)
{
    TApplication application;
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(40, 40, 240, 160);
    form->SetColor(kFormColour);
    // A picture of the parent's that lies partly under the control.
    auto* image = new TImage(form.get());
    image->SetParent(form.get());
    image->SetBounds(0, 0, 30, 40);
    FillBitmap(*image->Picture()->Bitmap(), 30, 40, kImageColour);
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(20, 30, 40, 25);
    form->Handle();

    TBitmap picture;
    FillBitmap(picture, 40, 25, kUnset);
    HDC dc = picture.Canvas()->Handle();
    PaintParentBackground(panel, dc);
    // Parent coordinates (20..60, 30..55): the image covers x < 30 and y < 40.
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool overImage = 20 + x < 30 && 30 + y < 40;
            ASSERT_EQ(At(picture, x, y), overImage ? kImageColour : kFormColour) << x << "," << y;
        }
    // The DC is as it was.
    POINT origin{-1, -1};
    GetViewportOrgEx(dc, &origin);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);

    // Without a parent nothing is painted.
    TPanel orphan(nullptr);
    orphan.SetBounds(0, 0, 10, 10);
    TBitmap untouched;
    FillBitmap(untouched, 10, 10, kUnset);
    PaintParentBackground(&orphan, untouched.Canvas()->Handle());
    PaintParentBackground(nullptr, untouched.Canvas()->Handle());
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(At(untouched, x, y), kUnset);
}
