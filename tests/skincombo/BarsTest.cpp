// Progress bars and track bars on skinned forms: how much of a bar each image covers at a
// given position, lying and standing, in chunks, and the track bar's thumb and channel.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "classlib/extctrls/TrackBar.h"
#include "classlib/stdctrls/ProgressBar.h"
#include "guikit/GuiKit.h"
#include "skin/wrappers/SkinProgress.h"
#include "skin/wrappers/SkinTrackBar.h"
#include "skincombo/ComboTestKit.h"

using namespace combotest;

namespace {
constexpr int kBarWidth = 200, kBarHeight = 16;

void SetPosition(TProgressBar* bar, int position)
{
    bar->SetPosition(position);
    InvalidateRect(bar->Handle(), nullptr, TRUE);
    UpdateWindow(bar->Handle());
}

int Count(TProgressBar* bar, TColor colour)
{
    const SIZE s = WindowSize(bar->Handle());
    return CountColour(bar->Handle(), {0, 0, s.cx, s.cy}, colour);
}
} // namespace

TEST(SkinProgress, TheFilledImageCoversThePositionsShareFromTheStart)
{
    TSkinnedForm host(MakeSkin());
    auto* bar = host.Add<TProgressBar>(10, 10, kBarWidth, kBarHeight);
    auto* standing = host.Add<TProgressBar>(240, 10, kBarHeight, 120);
    ASSERT_NE(host.Show(), nullptr);
    ASSERT_NE(dynamic_cast<TSkinProgress*>(WrapperOf(host.frame, bar->Handle())), nullptr);
    const HWND h = bar->Handle();
    const int area = kBarWidth * kBarHeight;

    // Empty: image 1 alone; full: image 2 over the whole length; half: split in the middle.
    SetPosition(bar, 0);
    EXPECT_TRUE(WaitForPixel(h, kBarWidth / 2, kBarHeight / 2, ProgressColour(1)));
    EXPECT_EQ(Count(bar, ProgressColour(1)), area);
    SetPosition(bar, 100);
    EXPECT_TRUE(WaitForPixel(h, kBarWidth / 2, kBarHeight / 2, ProgressColour(2)));
    EXPECT_EQ(Count(bar, ProgressColour(2)), area);
    SetPosition(bar, 50);
    EXPECT_TRUE(WaitForPixel(h, kBarWidth / 2 - 1, kBarHeight / 2, ProgressColour(2)));
    EXPECT_EQ(PixelAt(h, kBarWidth / 2, kBarHeight / 2), ProgressColour(1));
    EXPECT_EQ(Count(bar, ProgressColour(2)), area / 2);
    bar->SetMax(3);
    SetPosition(bar, 1);
    EXPECT_EQ(Count(bar, ProgressColour(2)), MulDiv(kBarWidth, 1, 3) * kBarHeight);

    // Standing: the bar grows from the bottom, both images upright.
    const HWND v = standing->Handle();
    SetWindowLongPtrW(v, GWL_STYLE, GetWindowLongPtrW(v, GWL_STYLE) | PBS_VERTICAL);
    SetPosition(standing, 25);
    EXPECT_TRUE(WaitForPixel(v, kBarHeight / 2, 119, ProgressColour(2)));
    EXPECT_EQ(PixelAt(v, kBarHeight / 2, 90), ProgressColour(2));
    EXPECT_EQ(PixelAt(v, kBarHeight / 2, 89), ProgressColour(1));
    EXPECT_EQ(PixelAt(v, kBarHeight / 2, 0), ProgressColour(1));
    EXPECT_EQ(Count(standing, ProgressColour(2)), 30 * kBarHeight);
    guikit::SaveScreenshot(host.form->Handle(), "skincombo-progress");
}

TEST(SkinProgress, ChunksFillUpToTheFilledWidthAndTheLastIsCut)
{
    TSkinParts parts;
    parts.progressStyle = 1;
    TSkinnedForm host(MakeSkin(parts));
    auto* bar = host.Add<TProgressBar>(10, 10, kBarWidth, kBarHeight);
    ASSERT_NE(host.Show(), nullptr);
    const HWND h = bar->Handle();
    SetPosition(bar, 0);
    EXPECT_TRUE(WaitForPixel(h, kBarWidth / 2, kBarHeight / 2, ProgressColour(1)));
    EXPECT_EQ(Count(bar, kChunk), 0);

    SetPosition(bar, 50);
    const int filled = kBarWidth / 2, row = kBarHeight / 2, top = (kBarHeight - kChunkHeight) / 2;
    ASSERT_TRUE(WaitForPixel(h, kProgressMargin, row, kChunk));
    for (int x = 0; x < kBarWidth; ++x) {
        const int offset = x - kProgressMargin;
        const bool chunk = offset >= 0 && offset < filled && offset % kChunkWidth != kChunkWidth - 1;
        EXPECT_EQ(PixelAt(h, x, row), chunk ? kChunk : ProgressColour(1)) << x;
    }
    // 16 whole chunks and 4 columns of the 17th, each as high as the chunk picture.
    EXPECT_EQ(CountColour(h, {0, 0, kBarWidth, kBarHeight}, kChunk), (16 * (kChunkWidth - 1) + 4) * kChunkHeight);
    EXPECT_EQ(PixelAt(h, kProgressMargin, top - 1), ProgressColour(1));
    EXPECT_EQ(PixelAt(h, kProgressMargin, top), kChunk);
    guikit::SaveScreenshot(host.form->Handle(), "skincombo-progress-chunks");
}

TEST(SkinTrackBar, TheThumbIsTheSkinsImageOrAShadowBlockAndTheChannelTheSkinsBar)
{
    for (const bool thumbs : {true, false}) {
        SCOPED_TRACE(thumbs ? "thumb images" : "no elements");
        TSkinParts parts;
        parts.thumbs = thumbs;
        TSkinnedForm host(MakeSkin(parts));
        auto* lying = host.Add<TTrackBar>(10, 10, 200, 32);
        lying->SetPosition(5);
        auto* standing = host.Add<TTrackBar>(240, 10, 32, 150);
        standing->SetOrientation(trVertical);
        standing->SetPosition(3);
        ASSERT_NE(host.Show(), nullptr);
        for (TTrackBar* bar : {lying, standing}) {
            const HWND h = bar->Handle();
            ASSERT_NE(dynamic_cast<TSkinTrackBar*>(WrapperOf(host.frame, h)), nullptr);
            InvalidateRect(h, nullptr, TRUE);
            RECT thumb{};
            SendMessageW(h, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
            const int cx = (thumb.left + thumb.right) / 2, cy = (thumb.top + thumb.bottom) / 2;
            EXPECT_TRUE(WaitForPixel(h, cx, cy, thumbs ? ThumbColour(2) : kShadow));
            EXPECT_EQ(CountColour(h, thumb, thumbs ? ThumbColour(2) : kShadow),
                      (thumb.right - thumb.left) * (thumb.bottom - thumb.top));
        }
        // The channel shows the program's track picture (its middle colour) somewhere inside.
        TBitmap& track = host.skin->Track->Image;
        ASSERT_FALSE(track.Empty());
        RECT channel{};
        SendMessageW(lying->Handle(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
        EXPECT_GT(CountColour(lying->Handle(), channel, track.PixelColor(track.Width() / 2, track.Height() / 2)), 0);
        guikit::SaveScreenshot(host.form->Handle(), std::string("skincombo-trackbar-") + (thumbs ? "skin" : "plain"));
    }
}
