// Push buttons on a skinned form: the image of every state, caption colours and lines, the
// keyboard, switching the skin off and on, and looking through to the parent.
#include <gtest/gtest.h>

#include "classlib/graphics/Picture.h"
#include "classlib/stdctrls/Button.h"
#include "classlib/stdctrls/CheckBox.h"
#include "classlib/stdctrls/Image.h"
#include "guikit/GuiKit.h"
#include "skin/SkinMessages.h"
#include "skin/wrappers/SkinButton.h"
#include "skinwrappers/WrapperTestKit.h"

using namespace wraptest;

namespace {
constexpr TColor kImageColour = RGBColor(30, 140, 60);
constexpr int kInsideX = 6; // left of any caption, inside the image's stretched middle

int Centre(TControl* c) { return c->Height() / 2; }

void MoveCursorOver(TWinControl* control)
{
    const POINT p = control->ClientToScreen({control->Width() / 2, control->Height() / 2});
    SetCursorPos(p.x, p.y);
}

void MoveCursorAway(TForm* form)
{
    const POINT p = form->ClientToScreen({form->ClientWidth() - 5, form->ClientHeight() - 5});
    SetCursorPos(p.x, p.y);
}
} // namespace

TEST(SkinButton, EveryStateShowsItsImageAndTheCaptionFollows)
{
    TSkinnedForm host(MakeSkin());
    auto* first = host.Add<TCheckBox>(10, 10, 120, 17);
    auto* rip = host.Add<TButton>(10, 40, 75, 25);
    rip->SetCaption("Rip!");
    auto* abort = host.Add<TButton>(95, 40, 75, 25);
    abort->SetCaption("Abort");
    abort->SetEnabled(false);
    auto* go = host.Add<TButton>(180, 40, 75, 25);
    go->SetCaption("Go");
    go->SetDefault(true);
    auto* twoLines = host.Add<TButton>(10, 80, 90, 44);
    twoLines->SetCaption("Two||Lines");
    auto* image = host.Add<TImage>(200, 80, 100, 40);
    skindatatest::FillBitmap(*image->Picture()->Bitmap(), 100, 40, kImageColour);
    auto* seeThrough = host.Add<TButton>(210, 85, 75, 25);
    seeThrough->SetCaption("Glass");
    seeThrough->SetTag(5555);
    auto* plain = host.Add<TButton>(300, 40, 75, 25);
    plain->SetCaption("Plain");
    plain->SetTag(99);
    int clicks = 0;
    rip->OnClick = [&](TComponent*) { ++clicks; };
    first->SetTabOrder(0);

    MoveCursorAway(host.form.get());
    ASSERT_NE(host.Show(), nullptr);
    first->SetFocus();
    for (TButton* b : {rip, abort, go, twoLines, seeThrough})
        ASSERT_NE(dynamic_cast<TSkinButton*>(WrapperOf(host.frame, b->Handle())), nullptr) << b->Caption();

    // Normal, disabled (with the shadow text colour), default.
    EXPECT_TRUE(WaitForPixel(rip->Handle(), kInsideX, Centre(rip), ButtonColour(1)));
    EXPECT_TRUE(WaitForPixel(abort->Handle(), kInsideX, Centre(abort), ButtonColour(3)));
    EXPECT_TRUE(HasColour(abort->Handle(), {2, 2, 73, 23}, static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW))));
    EXPECT_TRUE(WaitForPixel(go->Handle(), kInsideX, Centre(go), ButtonColour(5)));
    // The mouse over a disabled button changes nothing.
    SendMessageW(abort->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(PixelAt(abort->Handle(), kInsideX, Centre(abort)), ButtonColour(3));

    // Hot while the mouse is over it, normal again when it leaves.
    MoveCursorOver(rip);
    EXPECT_TRUE(WaitForPixel(rip->Handle(), kInsideX, Centre(rip), ButtonColour(4)));
    MoveCursorAway(host.form.get());
    EXPECT_TRUE(WaitForPixel(rip->Handle(), kInsideX, Centre(rip), ButtonColour(1)));

    // Pressed while the button is down; releasing it clicks once and leaves it focused.
    PostMessageW(rip->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_TRUE(WaitForPixel(rip->Handle(), kInsideX, Centre(rip), ButtonColour(2)));
    EXPECT_EQ(clicks, 0);
    PostMessageW(rip->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_TRUE(guikit::WaitUntil([&] { return clicks == 1; }));
    EXPECT_TRUE(WaitForPixel(rip->Handle(), kInsideX, Centre(rip), ButtonColour(4)));

    // Space shows the pressed image until it is released; the click is the button's own.
    SendMessageW(rip->Handle(), WM_KEYDOWN, VK_SPACE, 0x00390001);
    EXPECT_TRUE(WaitForPixel(rip->Handle(), kInsideX, Centre(rip), ButtonColour(2)));
    guikit::PumpMessages();
    InvalidateRect(rip->Handle(), nullptr, TRUE);
    EXPECT_EQ(PixelAt(rip->Handle(), kInsideX, Centre(rip)), ButtonColour(2));
    EXPECT_EQ(clicks, 1);
    SendMessageW(rip->Handle(), WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001));
    EXPECT_TRUE(guikit::WaitUntil([&] { return clicks == 2; }));
    EXPECT_TRUE(WaitForPixel(rip->Handle(), kInsideX, Centre(rip), ButtonColour(4)));

    // "||" splits the caption into two lines; a plain caption keeps one.
    EXPECT_EQ(RowBands(twoLines->Handle(), {4, 4, 86, 40}, ButtonColour(1)), 2);
    EXPECT_EQ(RowBands(go->Handle(), {4, 4, 71, 21}, ButtonColour(5)), 1);

    // Tag 5555: the parent's picture (the image under it) shows where the button image is
    // transparent; elsewhere the face colour does.
    EXPECT_TRUE(WaitForPixel(seeThrough->Handle(), 0, 0, kImageColour));
    EXPECT_EQ(PixelAt(seeThrough->Handle(), kInsideX, Centre(seeThrough)), ButtonColour(1));
    EXPECT_EQ(PixelAt(go->Handle(), 0, 0), kFace);

    // Skinning off: the control's own look; on again: the skin's.
    first->SetFocus();
    EXPECT_TRUE(WaitForPixel(rip->Handle(), kInsideX, Centre(rip), ButtonColour(1)));
    SendMessageW(rip->Handle(), SKM_ENABLESKIN, 0, 0);
    EXPECT_TRUE(guikit::WaitUntil([&] {
        const TColor c = PixelAt(rip->Handle(), kInsideX, Centre(rip));
        return c != ButtonColour(1) && c != kFace;
    }));
    EXPECT_TRUE(AnswersSkinned(go->Handle()));
    SendMessageW(rip->Handle(), SKM_ENABLESKIN, 1, 0);
    EXPECT_TRUE(WaitForPixel(rip->Handle(), kInsideX, Centre(rip), ButtonColour(1)));

    // The skin component's DisableTag keeps a button to itself.
    EXPECT_EQ(WrapperOf(host.frame, plain->Handle()), nullptr);
    EXPECT_FALSE(AnswersSkinned(plain->Handle()));
    EXPECT_NE(PixelAt(plain->Handle(), kInsideX, Centre(plain)), ButtonColour(1));
    guikit::SaveScreenshot(host.form->Handle(), "skinwrappers-buttons");
}
