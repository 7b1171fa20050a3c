// Check boxes, radio buttons and group boxes on a skinned form: the strip image of every
// state for both strip layouts, boxes right of their caption, and the group box frame.
#include <gtest/gtest.h>

#include "classlib/extctrls/GroupBox.h"
#include "classlib/extctrls/Panel.h"
#include "classlib/extctrls/RadioButton.h"
#include "classlib/graphics/Font.h"
#include "classlib/stdctrls/Button.h"
#include "classlib/stdctrls/CheckBox.h"
#include "guikit/GuiKit.h"
#include "skin/wrappers/SkinCheckBox.h"
#include "skin/wrappers/SkinGroupBox.h"
#include "skin/wrappers/SkinRadioButton.h"
#include "skinwrappers/WrapperTestKit.h"

using namespace wraptest;

namespace {
struct TCheckCase {
    TCheckBoxState state;
    bool enabled;
};
const TCheckCase kCheckCases[] = {{cbUnchecked, true},  {cbChecked, true},  {cbGrayed, true},
                                  {cbUnchecked, false}, {cbChecked, false}, {cbGrayed, false}};
struct TRadioCase {
    bool checked;
    bool enabled;
};
const TRadioCase kRadioCases[] = {{false, true}, {true, true}, {false, false}, {true, false}};

struct TStripLayout {
    int checkImages, radioImages;
    int checkExpected[6]; // image per check case
    int radioExpected[4];
};
const TStripLayout kLayouts[] = {
    {4, 4, {1, 2, 4, 3, 4, 4}, {1, 2, 3, 4}},
    {12, 8, {1, 5, 9, 4, 8, 12}, {1, 5, 4, 8}},
};
} // namespace

TEST(SkinCheckAndRadio, EveryStateShowsItsImageInBothStripLayouts)
{
    for (const TStripLayout& layout : kLayouts) {
        SCOPED_TRACE(layout.checkImages);
        TSkinnedForm host(MakeSkin(layout.checkImages, layout.radioImages));
        auto* focus = host.Add<TButton>(300, 10, 75, 25);
        std::vector<TCheckBox*> checks;
        for (const TCheckCase& c : kCheckCases) {
            auto* box = host.Add<TCheckBox>(10, 10 + 22 * static_cast<int>(checks.size()), 120, 17);
            box->SetCaption("Check");
            box->SetAllowGrayed(true);
            box->SetState(c.state);
            box->SetEnabled(c.enabled);
            checks.push_back(box);
        }
        std::vector<TRadioButton*> radios;
        for (const TRadioCase& c : kRadioCases) {
            // Each in a panel of its own: checking one unchecks its siblings.
            auto* panel = host.Add<TPanel>(150, 10 + 26 * static_cast<int>(radios.size()), 130, 24);
            panel->SetBevelOuter(bvNone);
            auto* radio = host.Add<TRadioButton>(2, 2, 120, 17, panel);
            radio->SetCaption("Radio");
            radio->SetChecked(c.checked);
            radio->SetEnabled(c.enabled);
            radios.push_back(radio);
        }
        ASSERT_NE(host.Show(), nullptr);
        focus->SetFocus();

        for (std::size_t i = 0; i < checks.size(); ++i) {
            SCOPED_TRACE("check case " + std::to_string(i));
            ASSERT_NE(dynamic_cast<TSkinCheckBox*>(WrapperOf(host.frame, checks[i]->Handle())), nullptr);
            EXPECT_TRUE(WaitForPixel(checks[i]->Handle(), kBoxSize / 2, checks[i]->Height() / 2,
                                     CheckColour(layout.checkExpected[i])));
        }
        for (std::size_t i = 0; i < radios.size(); ++i) {
            SCOPED_TRACE("radio case " + std::to_string(i));
            ASSERT_NE(dynamic_cast<TSkinRadioButton*>(WrapperOf(host.frame, radios[i]->Handle())), nullptr);
            EXPECT_TRUE(WaitForPixel(radios[i]->Handle(), kBoxSize / 2, radios[i]->Height() / 2,
                                     RadioColour(layout.radioExpected[i])));
        }
        // A click of the user moves the box on and the picture follows.
        checks[0]->SetState(cbChecked);
        EXPECT_TRUE(WaitForPixel(checks[0]->Handle(), kBoxSize / 2, checks[0]->Height() / 2,
                                 CheckColour(layout.checkExpected[1])));
        guikit::SaveScreenshot(host.form->Handle(), "skinwrappers-checks-" + std::to_string(layout.checkImages));
    }
}

TEST(SkinCheckAndRadio, CaptionLeftOfTheBoxEndsTwoPixelsBeforeIt)
{
    TSkinnedForm host(MakeSkin());
    auto* focus = host.Add<TButton>(300, 10, 75, 25);
    auto* check = host.Add<TCheckBox>(10, 10, 150, 17);
    check->SetCaption("Left text");
    check->SetChecked(true);
    auto* radio = host.Add<TRadioButton>(10, 40, 150, 17);
    radio->SetCaption("Left text");
    radio->SetAlignment(taLeftJustify);
    ASSERT_NE(host.Show(), nullptr);
    focus->SetFocus();
    const HWND checkWindow = check->Handle();
    SetWindowLongPtrW(checkWindow, GWL_STYLE, GetWindowLongPtrW(checkWindow, GWL_STYLE) | BS_LEFTTEXT | BS_RIGHT);
    InvalidateRect(checkWindow, nullptr, TRUE);

    // The check box's image sits at the right edge, the radio's one pixel in from it.
    const int checkBox = 150 - kBoxSize, radioBox = 150 - kBoxSize - 1;
    EXPECT_TRUE(WaitForPixel(checkWindow, checkBox + kBoxSize / 2, 8, CheckColour(2)));
    EXPECT_EQ(PixelAt(checkWindow, checkBox - 1, 8), kFace);
    EXPECT_EQ(PixelAt(checkWindow, kBoxSize / 2, 8), kFace);
    EXPECT_TRUE(WaitForPixel(radio->Handle(), radioBox + kBoxSize / 2, 8, RadioColour(1)));
    EXPECT_EQ(PixelAt(radio->Handle(), 149, 8), kFace);
    // Right-aligned text ends at the text area's edge, 2 pixels before the box.
    const int textEnd = RightmostOther(checkWindow, {0, 0, checkBox, 17}, kFace);
    EXPECT_LT(textEnd, checkBox - 2);
    EXPECT_GE(textEnd, checkBox - 2 - 4);
    // Left-aligned text starts at the left and ends well before the box.
    const int radioTextEnd = RightmostOther(radio->Handle(), {0, 0, radioBox, 17}, kFace);
    EXPECT_GT(radioTextEnd, 0);
    EXPECT_LT(radioTextEnd, radioBox - 2);
}

TEST(SkinGroupBox, CaptionAtEightOnTheFaceColourBreaksTheRoundedFrame)
{
    TSkinnedForm host(MakeSkin());
    auto* group = host.Add<TGroupBox>(10, 10, 220, 90);
    group->SetCaption("Existing files");
    auto* inside = host.Add<TRadioButton>(10, 30, 100, 17, group);
    inside->SetCaption("Overwrite");
    ASSERT_NE(host.Show(), nullptr);
    ASSERT_NE(dynamic_cast<TSkinGroupBox*>(WrapperOf(host.frame, group->Handle())), nullptr);
    ASSERT_NE(WrapperOf(host.frame, inside->Handle()), nullptr);

    HDC dc = GetDC(group->Handle());
    const HGDIOBJ old = SelectObject(dc, group->Font()->Handle());
    SIZE zero{}, caption{};
    GetTextExtentPoint32A(dc, "0", 1, &zero);
    GetTextExtentPoint32A(dc, "Existing files", 14, &caption);
    SelectObject(dc, old);
    ReleaseDC(group->Handle(), dc);
    const int half = zero.cy / 2;
    const HWND g = group->Handle();

    EXPECT_TRUE(WaitForPixel(g, 5, half, kShadow));                            // the frame's top line
    EXPECT_EQ(PixelAt(g, kGroupCaptionLeft + caption.cx + 10, half), kShadow);  // and after the caption
    EXPECT_EQ(PixelAt(g, 1, half + 20), kShadow);                               // its left side
    EXPECT_EQ(PixelAt(g, 218, half + 20), kShadow);                             // its right side
    // The caption: nothing left of x = 8, no frame line behind it, opaque on the face colour.
    EXPECT_EQ(RightmostOther(g, {0, 0, kGroupCaptionLeft, half}, kFace), -1);
    EXPECT_FALSE(HasColour(g, {kGroupCaptionLeft, 0, kGroupCaptionLeft + caption.cx, zero.cy}, kShadow));
    EXPECT_TRUE(HasColour(g, {kGroupCaptionLeft, half, kGroupCaptionLeft + caption.cx, half + 1}, kFace));
    EXPECT_GT(RightmostOther(g, {kGroupCaptionLeft, 0, kGroupCaptionLeft + caption.cx, half}, kFace),
              kGroupCaptionLeft);
    guikit::SaveScreenshot(host.form->Handle(), "skinwrappers-groupbox");
}
