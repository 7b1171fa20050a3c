// Owner-drawn menu items drawn into bitmaps from a hand-made skin: which frame of the MenuItem
// strip lies under an item, the caption's colour by state, the glyph box, separators and the
// plain look without the element.
#include <gtest/gtest.h>

#include <windows.h>

#include "classlib/graphics/ImageList.h"
#include "skin/data/SkinData.h"
#include "skin/menu/MenuItemPainter.h"
#include "skinmenus/MenusTestKit.h"

using namespace skinmenutest;

namespace {

struct LoadedSkin {
    std::unique_ptr<TSkinData> skin = std::make_unique<TSkinData>(nullptr);
    explicit LoadedSkin(const Bytes& image)
    {
        skindatatest::PutImage(*skin, image);
        skin->LoadSkin();
    }
};

constexpr int kW = 140, kH = 20;
// Where the caption starts: 1 + the element's left margin + a 16-pixel glyph box + 3.
constexpr RECT kTextArea{1 + kItemLeftWidth + 16 + 3, 0, 110, kH};
constexpr RECT kGlyphBox{1 + kItemLeftWidth, 1, 1 + kItemLeftWidth + 16, 17};

std::unique_ptr<TBitmap> Draw(TSkinData& skin, const TMenuItemLook& look, bool selected, TBitmap* background = nullptr,
                              POINT origin = {0, 0}, int height = kH)
{
    auto bitmap = std::make_unique<TBitmap>(kW, height, pf32bit);
    DrawItemSkinned(skin, look, *bitmap->Canvas(), {0, 0, kW, height}, selected, background, origin);
    return bitmap;
}

TMenuItemLook Look(const wchar_t* caption, bool enabled = true, bool checked = false)
{
    TMenuItemLook look;
    look.Caption = caption;
    look.Enabled = enabled;
    look.Checked = checked;
    return look;
}

// 16 x 16 images: a red square on the key colour (transparent around it), then a blue one.
std::unique_ptr<TImageList> Glyphs()
{
    auto list = std::make_unique<TImageList>();
    TBitmap strip(32, 16, pf24bit);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x) {
            const bool inside = (x % 16) >= 4 && (x % 16) < 12 && y >= 4 && y < 12;
            strip.Canvas()->SetPixel(x, y, !inside ? kSkinKeyColour : x < 16 ? TColor{0x0000FF} : TColor{0xFF0000});
        }
    list->AddMasked(strip, kSkinKeyColour);
    return list;
}

} // namespace

TEST(MenuItemPainter, FrameFollowsSelectionAndCaptionColourFollowsState)
{
    LoadedSkin loaded(MenuSkin());
    LoadedSkin sameShadow(MenuSkin({.shadow = kMenuText}));
    ASSERT_TRUE(loaded.skin->MenuItem);
    ASSERT_EQ(loaded.skin->MenuItem->Frame, 5);
    struct Case {
        TSkinData* skin;
        bool selected, enabled;
        TColor frame, text;
    } cases[] = {
        {loaded.skin.get(), false, true, kItemFrames[0], kMenuText},
        {loaded.skin.get(), true, true, kItemFrames[3], kHilightText},
        {loaded.skin.get(), false, false, kItemFrames[0], kShadow},
        {loaded.skin.get(), true, false, kItemFrames[3], kShadow},
        // A shadow colour equal to the text colour gives way to the system's.
        {sameShadow.skin.get(), false, false, kItemFrames[0], static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "selected " << c.selected << " enabled " << c.enabled);
        auto bitmap = Draw(*c.skin, Look(L"WWWWMM", c.enabled), c.selected);
        EXPECT_EQ(bitmap->Canvas()->Pixel(kW - 8, kH / 2), c.frame);
        EXPECT_EQ(bitmap->Canvas()->Pixel(kGlyphBox.left + 8, kGlyphBox.top + 8), c.frame) << "empty glyph box";
        EXPECT_GT(CountNear(*bitmap, kTextArea, c.text, 24), 3) << "caption pixels";
        if (c.text != kMenuText)
            EXPECT_EQ(CountNear(*bitmap, kTextArea, kMenuText, 24), 0);
    }
}

TEST(MenuItemPainter, GlyphBoxShowsCheckMarkOrImageOnDither)
{
    LoadedSkin loaded(MenuSkin());
    TSkinData& skin = *loaded.skin;
    auto glyphs = Glyphs();
    ASSERT_EQ(glyphs->Count(), 2);
    const TColor face = static_cast<TColor>(GetSysColor(COLOR_BTNFACE));
    const TColor light = static_cast<TColor>(GetSysColor(COLOR_BTNHIGHLIGHT));
    struct Case {
        const char* what;
        bool checked;
        int image;
        bool images;
        int red, mark, dither; // expected: 1 some, 0 none
    } cases[] = {
        {"checked without image list", true, -1, false, 0, 1, 0},
        {"checked, image list without index", true, -1, true, 0, 1, 0},
        {"checked with image", true, 0, true, 1, 0, 1},
        {"unchecked with image", false, 0, true, 1, 0, 0},
        {"unchecked without image", false, -1, true, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TMenuItemLook look = Look(L"Item", true, c.checked);
        look.ImageIndex = c.image;
        look.Images = c.images ? glyphs.get() : nullptr;
        auto bitmap = Draw(skin, look, false);
        EXPECT_EQ(CountNear(*bitmap, kGlyphBox, 0x0000FF, 8) > 0, c.red == 1);
        EXPECT_EQ(CountNear(*bitmap, kGlyphBox, kMenuText, 24) > 0, c.mark == 1);
        const int dither = std::min(CountNear(*bitmap, kGlyphBox, face), CountNear(*bitmap, kGlyphBox, light));
        EXPECT_EQ(dither > 8, c.dither == 1) << dither;
        if (!c.red && !c.mark)
            EXPECT_EQ(CountNear(*bitmap, kGlyphBox, kItemFrames[0]), 16 * 16);
    }
}

TEST(MenuItemPainter, SeparatorTakesTheSecondFramesLowestRowsOverThePopupBackground)
{
    // Frame 2's five lowest rows: a 4-pixel left end, a 4-pixel right end, key colour between.
    constexpr TColor left = 0x0000AA, right = 0x00AA00, upper = 0x777777;
    TBitmap strip(100, 16, pf24bit);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 100; ++x) {
            TColor c = kItemFrames[x / 20];
            if (x >= 20 && x < 40)
                c = y < 11 ? upper : x < 24 ? left : x >= 36 ? right : kSkinKeyColour;
            strip.Canvas()->SetPixel(x, y, c);
        }
    skindatatest::TTestSkin test = skinformtest::PlainFrameSkin(
        "[MenuItem]\nImage=item.bmp\nLeftWidth=4\nRightWidth=4\nTopHeight=2\nBottomHeight=2\nTrans=1\n");
    test.Entry("item.bmp", strip.SaveToData());
    LoadedSkin loaded(test.Pack());
    // The pop-up's picture: its left half one colour, its right half another.
    TBitmap background(400, 40, pf32bit);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 400; ++x)
            background.Canvas()->SetPixel(x, y, x < 200 ? TColor{0x101010} : TColor{0xC0C0C0});
    for (const auto& [originX, shows] : {std::pair{10, TColor{0x101010}}, std::pair{250, TColor{0xC0C0C0}}}) {
        auto bitmap = Draw(*loaded.skin, Look(L"-"), false, &background, {originX, 5}, 5);
        for (int y = 0; y < 5; ++y) {
            EXPECT_EQ(bitmap->Canvas()->Pixel(1, y), left);
            EXPECT_EQ(bitmap->Canvas()->Pixel(kW - 2, y), right);
            EXPECT_EQ(bitmap->Canvas()->Pixel(kW / 2, y), shows) << "the key colour lets the background through";
        }
    }
}

TEST(MenuItemPainter, WithoutTheElementItemsArePlainInTheSkinColours)
{
    LoadedSkin loaded(MenuSkin({.menuItem = false}));
    ASSERT_FALSE(loaded.skin->MenuItem);
    auto normal = Draw(*loaded.skin, Look(L"WWWW"), false);
    auto selected = Draw(*loaded.skin, Look(L"WWWW"), true);
    EXPECT_EQ(normal->Canvas()->Pixel(kW - 4, kH / 2), kMenuColour);
    EXPECT_EQ(selected->Canvas()->Pixel(kW - 4, kH / 2), kHilight);
    const RECT text{1 + 16 + 3, 0, 100, kH};
    EXPECT_GT(CountNear(*selected, text, kHilightText, 24), 3);
    EXPECT_GT(CountNear(*normal, text, kMenuText, 24), 3);
}

TEST(MenuItemPainter, EntriesOfMenuHandlesAndTheirMeasure)
{
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING | MF_CHECKED, 4101, L"&New\tCtrl+N");
    AppendMenuW(menu, MF_SEPARATOR, 4102, nullptr);
    AppendMenuW(menu, MF_STRING | MF_GRAYED, 4103, L"Gone");
    SetMenuDefaultItem(menu, 4101, FALSE);
    const TMenuItemLook first = LookOfMenuEntry(menu, 4101);
    EXPECT_EQ(first.Caption, L"&New");
    EXPECT_EQ(first.ShortCut, L"Ctrl+N");
    EXPECT_TRUE(first.Checked);
    EXPECT_TRUE(first.Default);
    EXPECT_TRUE(first.Enabled);
    EXPECT_TRUE(LookOfMenuEntry(menu, 4102).IsLine());
    EXPECT_FALSE(LookOfMenuEntry(menu, 4103).Enabled);
    DestroyMenu(menu);

    LoadedSkin loaded(MenuSkin());
    HDC dc = GetDC(nullptr);
    const TMenuFont font;
    HGDIOBJ old = SelectObject(dc, font.Handle());
    SIZE text{};
    GetTextExtentPoint32W(dc, L"Gone", 4, &text);
    SelectObject(dc, old);
    const SIZE measured = MeasureItemText(*loaded.skin, dc, L"Gone", 15);
    EXPECT_EQ(measured.cx, text.cx + 26 + kItemLeftWidth);
    EXPECT_EQ(measured.cy, 15 + 4);
    EXPECT_EQ(MeasureItemText(*loaded.skin, dc, L"", 15).cy, 8);
    ReleaseDC(nullptr, dc);
}
