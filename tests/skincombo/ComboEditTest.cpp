// Combo boxes, edits and up-downs on skinned forms: which skin image each state shows, where
// the button goes right to left, the drawing styles, borders and the halves of spin buttons.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "classlib/extctrls/Edit.h"
#include "classlib/extctrls/UpDown.h"
#include "classlib/stdctrls/Button.h"
#include "classlib/stdctrls/ComboBox.h"
#include "guikit/GuiKit.h"
#include "skin/manager/SkinManager.h"
#include "skin/wrappers/SkinComBox.h"
#include "skin/wrappers/SkinEdit.h"
#include "skin/wrappers/SkinUpDown.h"
#include "skincombo/ComboTestKit.h"

using namespace combotest;

namespace {
TComboBox* AddCombo(TSkinnedForm& host, int top, TComboBoxStyle style)
{
    auto* combo = host.Add<TComboBox>(10, top, 150, 21);
    combo->SetStyle(style);
    combo->Items()->Add("MP3");
    combo->Items()->Add("Ogg");
    combo->SetItemIndex(0);
    return combo;
}

// Where the button and the ring of a combo window show.
struct TComboSpots {
    explicit TComboSpots(HWND combo) : window(combo), size(WindowSize(combo)) {}
    TColor Right() const { return PixelAt(window, size.cx - 4, size.cy / 2); }
    TColor Left() const { return PixelAt(window, 3, size.cy / 2); }
    TColor Top() const { return PixelAt(window, size.cx / 2, 0); }
    TColor RightEdge() const { return PixelAt(window, size.cx - 1, size.cy / 2); }
    bool WaitRight(TColor c) const { return WaitForPixel(window, size.cx - 4, size.cy / 2, c); }
    bool WaitLeft(TColor c) const { return WaitForPixel(window, 3, size.cy / 2, c); }
    HWND window;
    SIZE size;
};
} // namespace

TEST(SkinComBox, RingAndButtonShowTheImageOfEachState)
{
    TSkinnedForm host(MakeSkin());
    TComboBox* formats = AddCombo(host, 10, csDropDownList);
    TComboBox* typed = AddCombo(host, 50, csDropDown);
    TComboBox* off = AddCombo(host, 90, csDropDownList);
    off->SetEnabled(false);
    TComboBox* simple = AddCombo(host, 130, csSimple);
    simple->SetHeight(80);
    auto* elsewhere = host.Add<TButton>(250, 10, 75, 25);
    MoveCursorAway();
    ASSERT_NE(host.Show(), nullptr);
    for (TComboBox* c : {formats, typed, off, simple})
        ASSERT_NE(dynamic_cast<TSkinComBox*>(WrapperOf(host.frame, c->Handle())), nullptr);
    // The list of a simple combo gets its scroll-bar wrapper.
    COMBOBOXINFO info{};
    ASSERT_TRUE(ComboBoxInfo(simple->Handle(), info));
    EXPECT_NE(WrapperOf(host.frame, info.hwndList), nullptr);

    elsewhere->SetFocus();
    const TComboSpots list(formats->Handle());
    EXPECT_TRUE(list.WaitRight(ComboColour(1)));
    EXPECT_EQ(list.Top(), SunkColour(1));
    EXPECT_EQ(PixelAt(formats->Handle(), 1, list.size.cy / 2), SunkColour(1));
    // The field inside the ring is the control's own.
    const TColor field = PixelAt(formats->Handle(), list.size.cx / 2, list.size.cy / 2);
    for (int k = 1; k <= 4; ++k)
        EXPECT_TRUE(field != ComboColour(k) && field != SunkColour(k)) << k;

    // Focused: image 4 for ring and button alike.
    formats->SetFocus();
    EXPECT_TRUE(list.WaitRight(ComboColour(4)));
    EXPECT_EQ(list.Top(), SunkColour(4));

    // Pressed while the mouse button is down; the list that took the release ends the press
    // when it closes.
    PostMessageW(formats->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(list.size.cx - 6, list.size.cy / 2));
    EXPECT_TRUE(list.WaitRight(ComboColour(2)));
    EXPECT_EQ(list.Top(), SunkColour(2));
    SendMessageW(formats->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_TRUE(list.WaitRight(ComboColour(4)));

    // Disabled: image 3 whatever the mouse does.
    const TComboSpots disabled(off->Handle());
    EXPECT_TRUE(disabled.WaitRight(ComboColour(3)));
    EXPECT_EQ(disabled.Top(), SunkColour(3));

    // A drop-down combo is focused through its edit.
    const TComboSpots edit(typed->Handle());
    EXPECT_TRUE(edit.WaitRight(ComboColour(1)));
    typed->SetFocus();
    ASSERT_TRUE(IsChild(typed->Handle(), GetFocus()));
    EXPECT_TRUE(edit.WaitRight(ComboColour(4)));
    guikit::SaveScreenshot(host.form->Handle(), "skincombo-combos");
}

// Right to left, and the other two drawing styles: the button's image for the state lands on
// the correct side, also from the mirrored strips (whose images run backwards).
TEST(SkinComBox, RightToLeftAndEveryDrawingStyleShowTheStateImageInPlace)
{
    struct TCase {
        const char* name;
        TSkinParts parts;
    };
    const TCase cases[] = {
        {"one strip", {}},
        {"ring and button", [] { TSkinParts p; p.comboRing = false; return p; }()},
        {"classic", [] { TSkinParts p; p.comboRing = false; p.comboStyle = 1; return p; }()},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TSkinnedForm host(MakeSkin(c.parts));
        // A skin file cannot ask for the classic look (its combo section's style is not read).
        if (c.parts.comboStyle)
            host.skin->ComboButton->Style = c.parts.comboStyle;
        TComboBox* plain = AddCombo(host, 10, csDropDownList);
        auto* elsewhere = host.Add<TButton>(250, 10, 75, 25);
        ASSERT_NE(host.Show(), nullptr);
        const HWND mirrored = host.AddForeign(L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, WS_EX_LEFTSCROLLBAR, 10, 60,
                                              150, 200);
        SendMessageW(mirrored, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Wav"));
        SendMessageW(mirrored, CB_SETCURSEL, 0, 0);
        ASSERT_NE(dynamic_cast<TSkinComBox*>(host.Skin(mirrored)), nullptr);
        elsewhere->SetFocus();

        const TComboSpots left(plain->Handle()), right(mirrored);
        EXPECT_TRUE(left.WaitRight(ComboColour(1)));
        if (c.parts.comboStyle == 1) {
            // Framed in the shadow colour, the button image stretched into the right end.
            EXPECT_EQ(PixelAt(plain->Handle(), 0, 0), kShadow);
            guikit::SaveScreenshot(host.form->Handle(), "skincombo-styles-classic");
            continue;
        }
        EXPECT_TRUE(right.WaitLeft(ComboColour(1)));
        EXPECT_NE(right.Right(), ComboColour(1));
        if (c.parts.comboRing)
            EXPECT_EQ(right.RightEdge(), SunkColour(1));
        else
            for (int k = 1; k <= 4; ++k)
                EXPECT_NE(left.Top(), SunkColour(k));
        SetFocus(mirrored);
        EXPECT_TRUE(right.WaitLeft(ComboColour(4)));
        EnableWindow(mirrored, FALSE);
        EXPECT_TRUE(right.WaitLeft(ComboColour(3)));
        guikit::SaveScreenshot(host.form->Handle(), std::string("skincombo-styles-") + std::to_string(&c - cases));
    }
}

// The edit of a drop-down combo is followed only in byte-string windows; a press in it shows
// the pressed image.
TEST(SkinComBox, TheEditOfAByteStringComboReportsPresses)
{
    TSkinnedForm host(MakeSkin());
    ASSERT_NE(host.Show(), nullptr);
    const HWND ansi = host.AddForeign(L"COMBOBOX", CBS_DROPDOWN | WS_VSCROLL, 0, 10, 10, 150, 200, true);
    const HWND wide = host.AddForeign(L"COMBOBOX", CBS_DROPDOWN | WS_VSCROLL, 0, 10, 60, 150, 200);
    auto* a = dynamic_cast<TSkinComBox*>(host.Skin(ansi));
    auto* w = dynamic_cast<TSkinComBox*>(host.Skin(wide));
    ASSERT_TRUE(a && w);
    ASSERT_FALSE(IsWindowUnicode(ansi));
    EXPECT_EQ(a->EditHandle, GetWindow(ansi, GW_CHILD));
    EXPECT_EQ(w->EditHandle, nullptr);
    const TComboSpots spots(ansi);
    EXPECT_TRUE(spots.WaitRight(ComboColour(1)));
    PostMessageW(a->EditHandle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(spots.WaitRight(ComboColour(2)));
    PostMessageW(a->EditHandle, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(spots.WaitRight(ComboColour(4)));
}

TEST(SkinEdit, OnlyEditsWithABorderGetTheFrameAndTheirSpinButtonIsSkinned)
{
    TSkinnedForm host(MakeSkin());
    auto* framed = host.Add<TEdit>(10, 10, 120, 21);
    auto* bare = host.Add<TEdit>(10, 40, 120, 21);
    bare->SetBorderStyle(bsNone);
    ASSERT_NE(host.Show(), nullptr);
    ASSERT_NE(dynamic_cast<TSkinEdit*>(WrapperOf(host.frame, framed->Handle())), nullptr);
    EXPECT_EQ(WrapperOf(host.frame, bare->Handle()), nullptr);

    // A shadow line outside, two white ones inside it.
    EXPECT_TRUE(WaitForPixel(framed->Handle(), 0, 0, kShadow));
    EXPECT_EQ(PixelAt(framed->Handle(), 60, 0), kShadow);
    EXPECT_EQ(PixelAt(framed->Handle(), 1, 10), kWhite);
    EXPECT_EQ(PixelAt(framed->Handle(), 2, 2), kWhite);

    // A foreign edit without a border is wrapped but gets no frame.
    const HWND plain = host.AddForeign(L"EDIT", 0, 0, 10, 70, 120, 20);
    ASSERT_NE(dynamic_cast<TSkinEdit*>(host.Skin(plain)), nullptr);
    InvalidateRect(plain, nullptr, TRUE);
    EXPECT_EQ(CountColour(plain, {0, 0, 120, 20}, kShadow), 0);

    // Printing draws the thin border on the given picture.
    const SIZE size = WindowSize(framed->Handle());
    TBitmap printed(size.cx, size.cy, pf24bit);
    SendMessageW(framed->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(printed.Canvas()->Handle()),
                 PRF_CLIENT);
    GdiFlush();
    EXPECT_EQ(printed.PixelColor(0, 0), kShadow);
    EXPECT_EQ(printed.PixelColor(size.cx - 1, size.cy / 2), kShadow);

    // A spin button inside an edit: found at the first paint, drawn embedded, 3 pixels off
    // the edit's edges.
    const HWND spinEdit = host.AddForeign(L"EDIT", 0, WS_EX_CLIENTEDGE, 10, 100, 120, 24);
    RECT client{};
    GetClientRect(spinEdit, &client);
    const HWND spin = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE, client.right - 16, 0, 16,
                                      client.bottom, spinEdit, nullptr, GetModuleHandleW(nullptr), nullptr);
    auto* edit = dynamic_cast<TSkinEdit*>(host.Skin(spinEdit));
    ASSERT_NE(edit, nullptr);
    InvalidateRect(spinEdit, nullptr, TRUE);
    ASSERT_TRUE(guikit::WaitUntil([&] { return edit->SpinSkin != nullptr; }));
    EXPECT_TRUE(edit->SpinSkin->Embedded);
    EXPECT_EQ(edit->SpinSkin->Handle, spin);
    MoveCursorAway();
    InvalidateRect(spin, nullptr, TRUE);
    const SIZE s = WindowSize(spin);
    EXPECT_TRUE(WaitForPixel(spin, s.cx / 2, s.cy / 4, UpDownColour(1)));
    EXPECT_EQ(PixelAt(spin, s.cx / 2, s.cy - 3), UpDownColour(5));
    EXPECT_EQ(PixelAt(spin, s.cx - 1, s.cy / 4), kWhite);
    EXPECT_EQ(PixelAt(spin, s.cx / 2, 0), kWhite);
    guikit::SaveScreenshot(host.form->Handle(), "skincombo-edits");
}

TEST(SkinUpDown, ThePressedHalfShowsItsImageAndTheOtherOneStaysNormal)
{
    struct TCase {
        bool elements;
        TUDOrientation orientation;
    };
    for (const TCase c : {TCase{true, udVertical}, TCase{true, udHorizontal}, TCase{false, udVertical}}) {
        SCOPED_TRACE(std::string(c.elements ? "skin images " : "plain ") +
                     (c.orientation == udVertical ? "vertical" : "horizontal"));
        TSkinParts parts;
        parts.upDowns = c.elements;
        TSkinnedForm host(MakeSkin(parts));
        const bool vertical = c.orientation == udVertical;
        auto* spin = host.Add<TUpDown>(20, 20, vertical ? 17 : 34, vertical ? 34 : 17);
        spin->SetOrientation(c.orientation);
        auto* off = host.Add<TUpDown>(80, 20, vertical ? 17 : 34, vertical ? 34 : 17);
        off->SetOrientation(c.orientation);
        off->SetEnabled(false);
        MoveCursorAway();
        ASSERT_NE(host.Show(), nullptr);
        ASSERT_NE(dynamic_cast<TSkinUpDown*>(WrapperOf(host.frame, spin->Handle())), nullptr);
        const HWND h = spin->Handle();
        const SIZE s = WindowSize(h);
        // A point inside each half, away from the fallback's outline and arrow.
        const POINT first = vertical ? POINT{3, s.cy / 4} : POINT{3, s.cy / 2};
        const POINT second = vertical ? POINT{3, s.cy * 3 / 4} : POINT{s.cx / 2 + 3, s.cy / 2};
        auto colour = [&](int k) {
            if (!c.elements)
                return k == 2 || k == 6 ? kShadow : kFace;
            return vertical ? UpDownColour(k) : UpDownHorzColour(k);
        };
        EXPECT_TRUE(WaitForPixel(h, first.x, first.y, colour(1)));
        EXPECT_EQ(PixelAt(h, second.x, second.y), colour(5));
        if (!c.elements)
            EXPECT_EQ(PixelAt(h, 0, 0), kDkShadow);

        // The mouse button down over the second half: image 6 there, 1 on the other.
        MoveCursorTo(h, second.x, second.y);
        PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(second.x, second.y));
        EXPECT_TRUE(WaitForPixel(h, second.x, second.y, colour(6)));
        EXPECT_EQ(PixelAt(h, first.x, first.y), colour(1));
        PostMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(second.x, second.y));
        MoveCursorAway();
        SendMessageW(h, WM_MOUSELEAVE, 0, 0);
        EXPECT_TRUE(WaitForPixel(h, second.x, second.y, colour(5)));

        if (c.elements) {
            EXPECT_TRUE(WaitForPixel(off->Handle(), first.x, first.y, colour(3)));
            EXPECT_EQ(PixelAt(off->Handle(), second.x, second.y), colour(7));
        }
        guikit::SaveScreenshot(host.form->Handle(), std::string("skincombo-updown-") + (c.elements ? "skin-" : "plain-") +
                                                        (vertical ? "vertical" : "horizontal"));
    }
}
