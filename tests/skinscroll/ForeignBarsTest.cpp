// Scroll bars of windows without a class-library control on a skinned form: stand-alone bar
// controls (one shorter than two arrows, one disabled), a size grip, and the window scroll
// bars of a system list box, whose overlay hands a real click to the system's scroll loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "guikit/GuiKit.h"
#include "skin/SkinMessages.h"
#include "skin/wrappers/SkinScControl.h"
#include "skin/wrappers/SkinScrollbarH.h"
#include "skin/wrappers/SkinSizer.h"
#include "skinscroll/ScrollTestKit.h"

using namespace scrolltest;
using namespace std::chrono_literals;

namespace {
constexpr int kUp = 9, kDown = 13, kLeft = 1, kRight = 5;

HWND MakeChild(HWND parent, const wchar_t* className, DWORD style, int x, int y, int w, int h)
{
    return CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

// The first column of row y showing the colour; -1 when none.
int FirstColumnWith(HWND window, int y, TColor colour)
{
    RECT r{};
    GetClientRect(window, &r);
    for (int x = 0; x < r.right; ++x)
        if (PixelAt(window, x, y) == colour)
            return x;
    return -1;
}
} // namespace

TEST(SkinScControl, BarControlsShowArrowsTrackAndThumbFromTheirOwnScrollValues)
{
    TSkinnedForm host(MakeSkin());
    TSkinForm* frame = host.Show();
    ASSERT_NE(frame, nullptr);
    const HWND form = host.form->Handle();
    const int a = GetSystemMetrics(SM_CXHSCROLL);

    // Shorter than two arrows: each arrow takes half the bar (an odd length leaves the middle
    // row) and no track is left.
    const int shortLength = a + 4;
    HWND stub = MakeChild(form, L"SCROLLBAR", SBS_VERT, 20, 200, a, shortLength);
    frame->SkinForeignChild(stub);
    auto* stubWrapper = dynamic_cast<TSkinScControl*>(WrapperOf(frame, stub));
    ASSERT_NE(stubWrapper, nullptr);
    ASSERT_NE(stubWrapper->Bar, nullptr);
    EXPECT_EQ(stubWrapper->Bar->Kind, bkControl);
    EXPECT_TRUE(stubWrapper->Bar->Vertical);
    EXPECT_TRUE(stubWrapper->Bar->Shown);
    const HWND stubOverlay = stubWrapper->Bar->Handle();
    const int half = shortLength / 2;
    EXPECT_TRUE(WaitForPixel(stubOverlay, a / 2, 0, ArrowColour(kUp)));
    EXPECT_EQ(PixelAt(stubOverlay, a / 2, half - 1), ArrowColour(kUp));
    EXPECT_EQ(PixelAt(stubOverlay, a / 2, shortLength - half), ArrowColour(kDown));
    EXPECT_EQ(PixelAt(stubOverlay, a / 2, shortLength - 1), ArrowColour(kDown));
    for (int k = 1; k <= 4; ++k)
        EXPECT_FALSE(AnyPixel(stubOverlay, TrackColour(k))) << k;

    // A horizontal bar at half its range: the thumb where its position puts it.
    const int length = 200;
    HWND wide = MakeChild(form, L"SCROLLBAR", SBS_HORZ, 60, 200, length, a);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 50, 0};
    SetScrollInfo(wide, SB_CTL, &si, TRUE);
    frame->SkinForeignChild(wide);
    auto* wideWrapper = dynamic_cast<TSkinScControl*>(WrapperOf(frame, wide));
    ASSERT_NE(wideWrapper, nullptr);
    EXPECT_FALSE(wideWrapper->Bar->Vertical);
    const HWND wideOverlay = wideWrapper->Bar->Handle();
    const int thumbStart = a + MulDiv(length - 2 * a, 50, 100);
    const int thumbLength = MulDiv(length - 2 * a, 10 - 1, 100);
    InvalidateRect(wideOverlay, nullptr, FALSE);
    EXPECT_TRUE(WaitForPixel(wideOverlay, 1, a / 2, ArrowColour(kLeft)));
    EXPECT_EQ(PixelAt(wideOverlay, length - 2, a / 2), ArrowColour(kRight));
    EXPECT_EQ(FirstColumnWith(wideOverlay, 1, ThumbColour(1)), thumbStart);
    EXPECT_EQ(PixelAt(wideOverlay, thumbStart + thumbLength - 1, 1), ThumbColour(1));
    EXPECT_EQ(PixelAt(wideOverlay, thumbStart + thumbLength, 1), TrackColour(1));
    EXPECT_EQ(PixelAt(wideOverlay, a, 1), TrackColour(1));
    // A new position reaches the overlay without a paint of the form.
    si.fMask = SIF_POS;
    si.nPos = 0;
    SetScrollInfo(wide, SB_CTL, &si, TRUE);
    EXPECT_TRUE(guikit::WaitUntil([&] { return FirstColumnWith(wideOverlay, 1, ThumbColour(1)) == a; }, 5s));

    // Disabled: track image 3, no thumb.
    EnableWindow(wide, FALSE);
    InvalidateRect(wideOverlay, nullptr, FALSE);
    EXPECT_TRUE(WaitForPixel(wideOverlay, length / 2, a / 2, TrackColour(3)));
    EXPECT_FALSE(AnyPixel(wideOverlay, ThumbColour(1)));
    guikit::SaveScreenshot(form, "skinscroll-bar-controls");
    DestroyWindow(stub);
    DestroyWindow(wide);
    guikit::PumpMessages();
}

TEST(SkinSizer, ASizeGripMadeOnASkinnedFormIsFilledWithTheFace)
{
    TSkinnedForm host(MakeSkin());
    TSkinForm* frame = host.Show();
    ASSERT_NE(frame, nullptr);
    // The skin manager sees the grip being made and hands it over by itself.
    HWND grip = MakeChild(host.form->Handle(), L"SCROLLBAR", SBS_SIZEGRIP, 300, 200, 20, 20);
    ASSERT_NE(grip, nullptr);
    EXPECT_NE(dynamic_cast<TSkinSizer*>(WrapperOf(frame, grip)), nullptr);
    InvalidateRect(grip, nullptr, TRUE);
    EXPECT_TRUE(WaitForPixel(grip, 10, 10, kFace));
    EXPECT_EQ(PixelAt(grip, 18, 18), kFace);
    DestroyWindow(grip);
    guikit::PumpMessages();
}

TEST(SkinScrollbarH, AForeignListBoxGetsOverlaysThatForwardTheMouse)
{
    TSkinnedForm host(MakeSkin());
    TSkinForm* frame = host.Show();
    ASSERT_NE(frame, nullptr);
    HWND box = MakeChild(host.form->Handle(), L"LISTBOX", WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT |
                         LBS_DISABLENOSCROLL, 20, 20, 200, 150);
    SendMessageW(box, LB_SETHORIZONTALEXTENT, 600, 0);
    for (int i = 0; i < 40; ++i)
        SendMessageW(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>((L"Line " + std::to_wstring(i)).c_str()));
    auto* wrapper = new TSkinScrollbarH(nullptr);
    wrapper->AttachWindow(box, host.skin, frame, &frame->SharedCanvas2);
    ASSERT_EQ(WrapperOf(frame, box), wrapper);
    EXPECT_EQ(SendMessageW(box, SKM_ISSKINNED, 0, 0), 1);
    ASSERT_TRUE(wrapper->VertBar->Shown);
    ASSERT_TRUE(wrapper->HorzBar->Shown);
    const HWND vert = wrapper->VertBar->Handle(), horz = wrapper->HorzBar->Handle();
    RECT v{}, hz{};
    GetClientRect(vert, &v);
    GetClientRect(horz, &hz);
    EXPECT_TRUE(WaitForPixel(vert, v.right / 2, 1, ArrowColour(kUp)));
    EXPECT_EQ(PixelAt(vert, v.right / 2, v.bottom - 2), ArrowColour(kDown));
    EXPECT_EQ(PixelAt(horz, 1, hz.bottom / 2), ArrowColour(kLeft));
    EXPECT_EQ(PixelAt(horz, hz.right - 2, hz.bottom / 2), ArrowColour(kRight));
    // The corner between the two bars in the face colour.
    InvalidateRect(box, nullptr, TRUE);
    UpdateWindow(box);
    RECT corner{}, window{};
    GetWindowRect(vert, &corner);
    GetWindowRect(box, &window);
    const int cx = corner.left - window.left + 3, cy = corner.bottom - window.top + 3;
    EXPECT_TRUE(guikit::WaitUntil([&] {
        HDC dc = GetWindowDC(box);
        const auto c = static_cast<TColor>(GetPixel(dc, cx, cy));
        ReleaseDC(box, dc);
        return c == kFace;
    }, 5s));

    // A real click on the down arrow scrolls the box a line, through the system's loop.
    EXPECT_EQ(SendMessageW(box, LB_GETTOPINDEX, 0, 0), 0);
    guikit::SystemClick(vert, v.right / 2, v.bottom - 3);
    EXPECT_TRUE(guikit::WaitUntil([&] { return SendMessageW(box, LB_GETTOPINDEX, 0, 0) == 1; }, 10s));
    // Hidden with the window, back when it shows again.
    ShowWindow(box, SW_HIDE);
    guikit::PumpMessages();
    EXPECT_FALSE(IsWindowVisible(vert));
    EXPECT_FALSE(IsWindowVisible(horz));
    ShowWindow(box, SW_SHOW);
    guikit::PumpMessages();
    EXPECT_TRUE(guikit::WaitUntil([&] { return IsWindowVisible(vert) != FALSE; }, 5s));
    guikit::SaveScreenshot(host.form->Handle(), "skinscroll-foreign-listbox");
    DestroyWindow(box);
    guikit::PumpMessages();
}
