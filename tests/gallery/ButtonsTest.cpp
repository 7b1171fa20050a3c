// Glyph buttons: where glyph and caption go, speed-button groups, bitmap buttons drawn by us.
#include <gtest/gtest.h>

#include <windows.h>

#include "Host.h"
#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/graphics/Graphics.h"

namespace {
// A 16 x 16 glyph: magenta (transparent) with a green square in the middle.
std::unique_ptr<TBitmap> Glyph(int images = 1)
{
    auto b = std::make_unique<TBitmap>(16 * images, 16, pf24bit);
    b->Canvas()->Brush()->SetColor(clFuchsia);
    b->Canvas()->FillRect(RECT{0, 0, 16 * images, 16});
    for (int i = 0; i < images; ++i) {
        b->Canvas()->Brush()->SetColor(i == 0 ? clLime : i == 1 ? clGray : clRed);
        b->Canvas()->FillRect(RECT{16 * i + 4, 4, 16 * i + 12, 12});
    }
    return b;
}

bool HasColour(HWND window, const RECT& area, COLORREF colour)
{
    UpdateWindow(window);
    HDC dc = GetDC(window);
    bool found = false;
    for (int y = area.top; y < area.bottom && !found; ++y)
        for (int x = area.left; x < area.right && !found; ++x)
            found = GetPixel(dc, x, y) == colour;
    ReleaseDC(window, dc);
    return found;
}
} // namespace

TEST(ButtonGlyph, GlyphAndCaptionAreLaidOutLikeButtonsDo)
{
    const RECT client{0, 0, 100, 30};
    const SIZE glyph{16, 16}, text{40, 13};
    const struct {
        TButtonLayout layout;
        int margin, spacing;
        POINT glyphAt;
        LONG textLeft, textTop;
    } cases[] = {
        {blGlyphLeft, -1, 4, {20, 7}, 40, 9},    // centred: margin (100 - 16 - 4 - 40 + 1) / 2 = 20
        {blGlyphLeft, -1, -1, {14, 7}, 44, 9},   // thirds: (100 - 56) / 3 = 14
        {blGlyphLeft, 2, -1, {2, 7}, 39, 9},     // spacing (100 - 2 - 16 - 40 + 1) / 2 = 21
        {blGlyphLeft, 5, 3, {5, 7}, 24, 9},
        {blGlyphRight, 5, 3, {79, 7}, 36, 9},    // 100 - 5 - 16; text ends 3 before it
        {blGlyphTop, 1, 1, {42, 1}, 30, 18},
        {blGlyphBottom, 1, 1, {42, 13}, 30, -1},
    };
    for (const auto& c : cases) {
        const TGlyphPlacement p = PlaceGlyph(client, glyph, text, c.layout, c.margin, c.spacing);
        SCOPED_TRACE(c.layout * 1000 + c.margin * 10 + c.spacing);
        EXPECT_EQ(p.glyph.x, c.glyphAt.x);
        EXPECT_EQ(p.glyph.y, c.glyphAt.y);
        EXPECT_EQ(p.text.left, c.textLeft);
        EXPECT_EQ(p.text.top, c.textTop);
        EXPECT_EQ(p.text.right - p.text.left, 40);
    }
    // No caption: no spacing, the glyph alone is centred.
    const TGlyphPlacement alone = PlaceGlyph(client, glyph, SIZE{0, 0}, blGlyphLeft, -1, 4);
    EXPECT_EQ(alone.glyph.x, 42);
    // Offsets of the client rectangle carry over.
    const TGlyphPlacement moved = PlaceGlyph(RECT{10, 20, 110, 50}, glyph, text, blGlyphLeft, 5, 3);
    EXPECT_EQ(moved.glyph.x, 15);
    EXPECT_EQ(moved.glyph.y, 27);
}

TEST(SpeedButton, GroupsKeepOneDownAndAClickRunsOnClick)
{
    Host h;
    auto* a = h.Add<TSpeedButton>(10, 10, 24, 24);
    auto* b = h.Add<TSpeedButton>(36, 10, 24, 24);
    auto* plain = h.Add<TSpeedButton>(70, 10, 40, 24);
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    a->SetDown(true);
    EXPECT_TRUE(a->Down());
    int clicks = 0;
    b->OnClick = [&](TComponent*) { ++clicks; };
    HWND form = h.form->Handle();
    guikit::Click(form, 48, 22);
    ASSERT_TRUE(guikit::WaitUntil([&] { return clicks == 1; }));
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    b->SetDown(false); // the last one down of a group without AllowAllUp stays down
    EXPECT_TRUE(b->Down());
    b->SetAllowAllUp(true);
    guikit::Click(form, 48, 22);
    ASSERT_TRUE(guikit::WaitUntil([&] { return clicks == 2; }));
    EXPECT_FALSE(b->Down());
    plain->SetDown(true); // no group: never down
    EXPECT_FALSE(plain->Down());

    // A press that leaves the button before the release is no click.
    int plainClicks = 0;
    plain->OnClick = [&](TComponent*) { ++plainClicks; };
    PostMessageW(form, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(80, 20));
    PostMessageW(form, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 200));
    PostMessageW(form, WM_LBUTTONUP, 0, MAKELPARAM(200, 200));
    guikit::Click(form, 80, 20);
    ASSERT_TRUE(guikit::WaitUntil([&] { return plainClicks >= 1; }));
    guikit::PumpMessages();
    EXPECT_EQ(plainClicks, 1);
    EXPECT_EQ(clicks, 2); // one click, one OnClick
}

TEST(SpeedButton, PaintsItsGlyphAndGreysItWhenDisabled)
{
    Host h;
    h.form->SetColor(clWhite);
    auto* s = h.Add<TSpeedButton>(20, 20, 30, 30);
    auto glyph = Glyph();
    s->SetGlyph(glyph.get());
    HWND form = h.form->Handle();
    const RECT area{20, 20, 50, 50};
    ASSERT_TRUE(guikit::WaitUntil([&] { return HasColour(form, area, RGB(0, 255, 0)); }));
    EXPECT_FALSE(HasColour(form, area, RGB(255, 0, 255))); // the key colour is transparent
    s->SetEnabled(false);
    ASSERT_TRUE(guikit::WaitUntil([&] { return !HasColour(form, area, RGB(0, 255, 0)); }));
    // Grey: 128 + (0 + 255 + 0) / 6 = 170.
    EXPECT_TRUE(HasColour(form, area, RGB(170, 170, 170)));

    // A strip of three images picks its own disabled image.
    auto strip = Glyph(3);
    s->SetGlyph(strip.get());
    EXPECT_EQ(s->NumGlyphs(), 3);
    ASSERT_TRUE(guikit::WaitUntil([&] { return HasColour(form, area, RGB(128, 128, 128)); }));
}

TEST(BitBtn, DrawsGlyphAndCaptionAndClicksLikeAButton)
{
    Host h;
    auto* b = h.Add<TBitBtn>(10, 10, 100, 30);
    b->SetCaption("Eject");
    auto glyph = Glyph();
    b->SetGlyph(glyph.get());
    int clicks = 0;
    b->OnClick = [&](TComponent*) { ++clicks; };
    HWND w = b->Handle();
    EXPECT_EQ(GetWindowLongPtrW(w, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    ASSERT_TRUE(guikit::WaitUntil([&] { return HasColour(w, RECT{0, 0, 100, 30}, RGB(0, 255, 0)); }));
    EXPECT_FALSE(HasColour(w, RECT{0, 0, 100, 30}, RGB(255, 0, 255)));
    b->SetDefault(true); // the default style must not undo the owner drawing
    EXPECT_EQ(GetWindowLongPtrW(w, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    guikit::Click(w);
    ASSERT_TRUE(guikit::WaitUntil([&] { return clicks == 1; }));
    b->SetLayout(blGlyphRight);
    ASSERT_TRUE(guikit::WaitUntil([&] { return HasColour(w, RECT{60, 0, 100, 30}, RGB(0, 255, 0)); }));
    EXPECT_FALSE(HasColour(w, RECT{0, 0, 40, 30}, RGB(0, 255, 0)));

    auto* ok = h.Add<TBitBtn>(10, 50, 100, 30);
    ok->SetKind(bkOK);
    EXPECT_EQ(ok->Caption(), "OK");
    EXPECT_EQ(ok->ModalResult(), 1);
    EXPECT_TRUE(ok->Default());
}
