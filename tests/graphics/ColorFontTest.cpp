// Colours and their names; fonts, their sizes and handles; pens and brushes.
#include <gtest/gtest.h>

#include "classlib/graphics/Brush.h"
#include "classlib/graphics/Font.h"
#include "classlib/graphics/Pen.h"

TEST(Color, SystemColoursResolveAndNamesGoBothWays)
{
    EXPECT_EQ(clBtnFace, static_cast<TColor>(0xFF00000F));
    EXPECT_LT(clBtnFace, 0);
    EXPECT_EQ(ColorToRGB(clBtnFace), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(ColorToRGB(clBtnShadow), static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FF);
    EXPECT_EQ(RGBColor(1, 2, 3), 0x030201);
    EXPECT_EQ(GetBValue32(RGBColor(1, 2, 3)), 3);

    const struct {
        TColor colour;
        const char* text;
    } cases[] = {{clBtnFace, "clBtnFace"}, {clWindowText, "clWindowText"}, {clFuchsia, "clFuchsia"},
                 {clNone, "clNone"},       {clDefault, "clDefault"},       {0x123456, "$00123456"},
                 {static_cast<TColor>(0xFF000063), "$FF000063"}};
    for (const auto& c : cases) {
        EXPECT_EQ(ColorToString(c.colour), c.text);
        EXPECT_EQ(StringToColor(c.text), c.colour) << c.text;
    }
    EXPECT_EQ(ColorNames().size(), 43u);
    for (const TColorName& n : ColorNames()) { // every name reads back to its colour and back
        EXPECT_EQ(StringToColor(n.name), n.color) << n.name;
        EXPECT_EQ(ColorToString(n.color), n.name);
    }
    EXPECT_EQ(StringToColor("clbtnface"), clBtnFace);
    EXPECT_EQ(StringToColor("255"), clRed);
    EXPECT_EQ(StringToColor("-16777201"), clBtnFace);
    for (const char* bad : {"", "$", "clNothing", "12x", "$1FFFFFFFF"})
        EXPECT_FALSE(StringToColor(bad).has_value()) << bad;
    EXPECT_FALSE(ColorToIdent(0x123456).has_value());
}

TEST(Font, SizeHeightStyleAndTheCachedHandle)
{
    TFont f;
    EXPECT_EQ(f.Name(), "MS Sans Serif");
    EXPECT_EQ(f.Height(), -11);
    EXPECT_EQ(f.Size(), 8);
    f.SetSize(10);
    EXPECT_EQ(f.Height(), -13);
    f.SetHeight(-16);
    EXPECT_EQ(f.Size(), 12);

    int changes = 0;
    f.OnChange = [&] { ++changes; };
    f.SetName("Verdana");
    f.SetStyle({fsBold, fsUnderline});
    f.SetCharset(ANSI_CHARSET);
    f.SetName("Verdana"); // no change
    EXPECT_EQ(changes, 3);

    HFONT h = f.Handle();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(f.Handle(), h); // cached
    LOGFONTW lf{};
    ASSERT_TRUE(GetObjectW(h, sizeof lf, &lf));
    EXPECT_STREQ(lf.lfFaceName, L"Verdana");
    EXPECT_EQ(lf.lfHeight, -16);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_TRUE(lf.lfUnderline);
    EXPECT_FALSE(lf.lfItalic);
    EXPECT_EQ(lf.lfCharSet, ANSI_CHARSET);

    f.SetColor(clRed); // tells the owner, keeps the handle
    EXPECT_EQ(changes, 4);
    f.SetHeight(-20);
    ASSERT_TRUE(GetObjectW(f.Handle(), sizeof lf, &lf));
    EXPECT_EQ(lf.lfHeight, -20);

    // Assign and taking the description of an existing handle.
    TFont g;
    g.Assign(f);
    EXPECT_TRUE(g.SameAs(f));
    EXPECT_TRUE(g.Style().Contains(fsBold));
    EXPECT_FALSE(g.Style().Contains(fsItalic));
    EXPECT_EQ(g.Color(), clRed);
    TFont k;
    k.SetHandle(f.Handle());
    EXPECT_EQ(k.Name(), "Verdana");
    EXPECT_EQ(k.Height(), -20);
    EXPECT_EQ(k.Style(), (TFontStyles{fsBold, fsUnderline}));
    EXPECT_EQ(TFontStyles::FromMask((TFontStyles{fsItalic, fsStrikeOut}).Mask()), (TFontStyles{fsItalic, fsStrikeOut}));
}

TEST(PenBrush, HandlesFollowTheSettings)
{
    TPen p;
    p.SetColor(clBlue);
    p.SetWidth(3);
    LOGPEN lp{};
    ASSERT_TRUE(GetObjectW(p.Handle(), sizeof lp, &lp));
    EXPECT_EQ(lp.lopnColor, static_cast<COLORREF>(clBlue));
    EXPECT_EQ(lp.lopnWidth.x, 3);
    p.SetStyle(psClear);
    ASSERT_TRUE(GetObjectW(p.Handle(), sizeof lp, &lp));
    EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_NULL));
    EXPECT_EQ(PenModeToRop2(pmXor), R2_XORPEN);

    TBrush b;
    b.SetColor(clGreen);
    LOGBRUSH lb{};
    ASSERT_TRUE(GetObjectW(b.Handle(), sizeof lb, &lb));
    EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(lb.lbColor, static_cast<COLORREF>(clGreen));
    b.SetStyle(bsClear);
    EXPECT_EQ(b.Handle(), GetStockObject(HOLLOW_BRUSH));
    b.SetColor(clRed); // a colour makes a clear brush solid again
    EXPECT_EQ(b.Style(), bsSolid);
    b.SetStyle(bsCross);
    ASSERT_TRUE(GetObjectW(b.Handle(), sizeof lb, &lb));
    EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_HATCHED));
    EXPECT_EQ(lb.lbHatch, static_cast<ULONG_PTR>(HS_CROSS));
}
