// A report-style list view on a skinned form: its vertical bar covered by an overlay painted
// from the skin (arrows, track, thumb, grip) that follows the system's bar, scroll codes, the
// wheel and dragging, the disabled state, the border and the skinned column header.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>

#include "classlib/stdctrls/ListView.h"
#include "guikit/GuiKit.h"
#include "skin/wrappers/SkinHeader.h"
#include "skin/wrappers/SkinListView.h"
#include "skinscroll/BarChecks.h"
#include "skinscroll/ScrollTestKit.h"

using namespace scrolltest;
using namespace std::chrono_literals;

namespace {
constexpr int kUp = 9, kUpHot = 12, kDown = 13, kDownHot = 16;
constexpr int kVertGrip = 20, kVertGripHot = 22;

struct TListHost {
    TSkinnedForm host{MakeSkin()};
    TListView* list = nullptr;

    explicit TListHost(int rows)
    {
        list = host.Add<TListView>(10, 10, 320, 170);
        list->SetViewStyle(vsReport);
        list->SetCheckboxes(true);
        list->SetGridLines(true);
        for (const auto& [caption, width] : {std::pair{"Track", 70}, {"Name", 120}, {"Time", 60}}) {
            TListColumn* column = list->Columns()->AddItem();
            column->SetCaption(caption);
            column->SetWidth(width);
        }
        AddRows(rows);
    }
    void AddRows(int rows)
    {
        for (int i = 0; i < rows; ++i) {
            TListItem* item = list->Items()->Add();
            item->SetCaption(std::to_string(list->Items()->Count()));
            item->SubItems()->Add("Track");
            item->SubItems()->Add("0:02");
        }
    }
    TSkinListView* Wrapper() const { return dynamic_cast<TSkinListView*>(WrapperOf(host.frame, list->Handle())); }
    HWND Overlay() const { return Wrapper()->VertBar->Handle(); }
    void Repaint() const
    {
        InvalidateRect(list->Handle(), nullptr, TRUE);
        UpdateWindow(list->Handle());
        guikit::PumpMessages();
    }
    int Top() const { return static_cast<int>(SendMessageW(list->Handle(), LVM_GETTOPINDEX, 0, 0)); }
};

// Overlay column in the middle of the vertical bar.
int Middle(HWND overlay)
{
    RECT r{};
    GetClientRect(overlay, &r);
    return r.right / 2;
}
int Length(HWND overlay)
{
    RECT r{};
    GetClientRect(overlay, &r);
    return r.bottom;
}
} // namespace

TEST(SkinListView, GainsAnOverlayWithItsBarAndPaintsEveryPartFromTheSkin)
{
    TListHost h(3);
    ASSERT_NE(h.host.Show(), nullptr);
    TSkinListView* wrapper = h.Wrapper();
    ASSERT_NE(wrapper, nullptr);
    ASSERT_NE(wrapper->VertBar, nullptr);
    ASSERT_NE(wrapper->Header, nullptr);
    // Three rows fit: no bar, no overlay.
    EXPECT_TRUE(BarInfo(h.list->Handle(), OBJID_VSCROLL).rgstate[0] & STATE_SYSTEM_INVISIBLE);
    EXPECT_FALSE(wrapper->VertBar->Shown);
    EXPECT_FALSE(IsWindowVisible(wrapper->VertBar->Handle()));
    EXPECT_FALSE(wrapper->HorzBar->Shown);

    // Rows added: the system shows a bar; the next paint of the list places the overlay on it
    // even when nothing else did.
    h.AddRows(40);
    guikit::PumpMessages();
    wrapper->VertBar->HideBar();
    ASSERT_FALSE(wrapper->VertBar->Shown);
    h.Repaint();
    ASSERT_TRUE(wrapper->VertBar->Shown);
    const SCROLLBARINFO bar = BarInfo(h.list->Handle(), OBJID_VSCROLL);
    RECT covered{};
    GetWindowRect(h.Overlay(), &covered);
    EXPECT_TRUE(EqualRect(&covered, &bar.rcScrollBar)) << covered.left << "," << covered.top << " "
                                                       << covered.right << "," << covered.bottom;
    EXPECT_TRUE(IsWindowVisible(h.Overlay()));
    // Directly above the list in z-order.
    EXPECT_EQ(GetWindow(h.list->Handle(), GW_HWNDPREV), h.Overlay());

    // Arrows, track, thumb and the grip in its middle, each the skin's image.
    const HWND o = h.Overlay();
    const int x = Middle(o), l = Length(o);
    const int a = wrapper->VertBar->ArrowSize;
    const int top = bar.xyThumbTop, bottom = bar.xyThumbBottom;
    ASSERT_GT(bottom - top, kCell + 2) << "the thumb is long enough for its grip";
    EXPECT_TRUE(WaitForPixel(o, x, 1, ArrowColour(kUp)));
    EXPECT_EQ(PixelAt(o, x, a - 1), ArrowColour(kUp));
    EXPECT_EQ(PixelAt(o, x, l - 1), ArrowColour(kDown));
    EXPECT_EQ(PixelAt(o, x, l - a), ArrowColour(kDown));
    EXPECT_EQ(FirstRowWith(o, x, ThumbColour(1)), top);
    EXPECT_EQ(PixelAt(o, x, bottom - 1), ThumbColour(1));
    EXPECT_EQ(PixelAt(o, x, bottom), TrackColour(1));
    EXPECT_EQ(PixelAt(o, x, l - a - 1), TrackColour(1));
    EXPECT_EQ(PixelAt(o, x, (top + bottom) / 2), ArrowColour(kVertGrip));
    // The list's two-pixel skin border: shadow outside, face inside.
    HDC dc = GetWindowDC(h.list->Handle());
    EXPECT_EQ(static_cast<TColor>(GetPixel(dc, 0, 60)), kShadow);
    EXPECT_EQ(static_cast<TColor>(GetPixel(dc, 1, 60)), kFace);
    ReleaseDC(h.list->Handle(), dc);
    guikit::SaveScreenshot(h.host.form->Handle(), "skinscroll-listview");
}

TEST(SkinListView, ScrollCodesTheMouseAndTheWheelLightAndMoveTheParts)
{
    TListHost h(30);
    ASSERT_NE(h.host.Show(), nullptr);
    ASSERT_NE(h.Wrapper(), nullptr);
    h.Repaint();
    TSkinBarOverlay* bar = h.Wrapper()->VertBar;
    ASSERT_TRUE(bar->Shown);
    const HWND o = h.Overlay(), list = h.list->Handle();
    const int x = Middle(o), l = Length(o);
    auto thumbTop = [&] { return static_cast<int>(BarInfo(list, OBJID_VSCROLL).xyThumbTop); };
    auto gripRow = [&] {
        const SCROLLBARINFO info = BarInfo(list, OBJID_VSCROLL);
        return static_cast<int>(info.xyThumbTop + info.xyThumbBottom) / 2;
    };

    // SB_THUMBTRACK lights the thumb (hot images while no button is down); SB_ENDSCROLL clears.
    SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 0), 0);
    EXPECT_EQ(bar->HotPart, bpThumb);
    EXPECT_TRUE(WaitForPixel(o, x, thumbTop() + 1, ThumbColour(3)));
    EXPECT_EQ(PixelAt(o, x, gripRow()), ArrowColour(kVertGripHot));
    SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
    EXPECT_EQ(bar->HotPart, bpNone);
    EXPECT_TRUE(WaitForPixel(o, x, thumbTop() + 1, ThumbColour(1)));
    EXPECT_EQ(PixelAt(o, x, gripRow()), ArrowColour(kVertGrip));
    // A line down lights the second arrow; the list moves a row.
    SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    EXPECT_TRUE(WaitForPixel(o, x, l - 2, ArrowColour(kDownHot)));
    EXPECT_EQ(h.Top(), 1);
    SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
    EXPECT_TRUE(WaitForPixel(o, x, l - 2, ArrowColour(kDown)));

    // The mouse over the first arrow lights it until it leaves.
    SendMessageW(o, WM_MOUSEMOVE, 0, MAKELPARAM(x, 2));
    EXPECT_EQ(bar->HotPart, bpFirstArrow);
    EXPECT_TRUE(WaitForPixel(o, x, 2, ArrowColour(kUpHot)));
    SendMessageW(o, WM_MOUSEMOVE, 0, MAKELPARAM(x, gripRow()));
    EXPECT_EQ(bar->HotPart, bpThumb);
    EXPECT_TRUE(WaitForPixel(o, x, 2, ArrowColour(kUp)));
    SendMessageW(o, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(bar->HotPart, bpNone);

    // The wheel scrolls the list and the painted thumb goes where the system's went.
    const int before = thumbTop();
    POINT centre = h.list->ClientToScreen({100, 80});
    for (int i = 0; i < 3; ++i)
        SendMessageW(list, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(centre.x, centre.y));
    guikit::PumpMessages();
    EXPECT_GT(h.Top(), 1);
    ASSERT_GT(thumbTop(), before);
    EXPECT_TRUE(guikit::WaitUntil([&] { return FirstRowWith(o, x, ThumbColour(1)) == thumbTop(); }, 5s));

    // A real click on the second arrow goes through the system's scroll loop.
    const int topBefore = h.Top();
    guikit::SystemClick(o, x, l - 3);
    EXPECT_TRUE(guikit::WaitUntil([&] { return h.Top() == topBefore + 1; }, 10s));

    // Disabled: track image 3 and no thumb at all.
    ASSERT_TRUE(EnableScrollBar(list, SB_VERT, ESB_DISABLE_BOTH));
    h.Repaint();
    EXPECT_TRUE(WaitForPixel(o, x, l / 2, TrackColour(3)));
    for (int k = 1; k <= 3; ++k)
        EXPECT_FALSE(AnyPixel(o, ThumbColour(k))) << k;
    EXPECT_FALSE(AnyPixel(o, ArrowColour(kVertGrip)));
    guikit::SaveScreenshot(h.host.form->Handle(), "skinscroll-listview-disabled");
}

TEST(SkinListView, TheDraggedThumbFollowsTheCursorBetweenTheArrowsWhileTheListScrolls)
{
    TListHost h(30);
    ASSERT_NE(h.host.Show(), nullptr);
    ASSERT_NE(h.Wrapper(), nullptr);
    h.Repaint();
    TSkinBarOverlay* bar = h.Wrapper()->VertBar;
    ASSERT_TRUE(bar->Shown);
    const HWND o = h.Overlay(), list = h.list->Handle();
    const int x = Middle(o), l = Length(o), a = bar->ArrowSize;
    const SCROLLBARINFO info = BarInfo(list, OBJID_VSCROLL);
    const int top0 = info.xyThumbTop, length = info.xyThumbBottom - info.xyThumbTop;
    POINT press{x, top0 + length / 2};
    ClientToScreen(o, &press);

    // Past either end of the bar, but not so far that the system gives up tracking.
    const int pressY = top0 + length / 2;
    std::vector<TDragStep> steps{{20}, {45}, {l - pressY + 20}, {-pressY - 20}};
    std::vector<int> tops(steps.size(), -1);
    std::size_t step = 0;
    const bool started = DragThumb(press, list, steps, [&](const TDragStep& s) {
        const int want = std::clamp(top0 + (s.cursorY - static_cast<int>(press.y)), a, l - a - length);
        if (FirstRowWith(o, x, ThumbColour(2)) != want)
            return false;
        tops[step++] = static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
        return true;
    });
    ASSERT_TRUE(started) << "the system's scroll loop took the mouse";
    for (std::size_t i = 0; i < steps.size(); ++i)
        EXPECT_TRUE(steps[i].shown) << "step " << i << " to " << steps[i].dy;
    // The list followed: down, further down, the last page, back to the first row.
    const int visible = static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
    EXPECT_GT(tops[0], 0);
    EXPECT_GT(tops[1], tops[0]);
    EXPECT_EQ(tops[2], 30 - visible);
    EXPECT_EQ(tops[3], 0);
    // Released: the thumb is the system's again, in its normal image.
    EXPECT_FALSE(bar->Pressed);
    EXPECT_TRUE(guikit::WaitUntil(
        [&] { return FirstRowWith(o, x, ThumbColour(1)) == BarInfo(list, OBJID_VSCROLL).xyThumbTop; }, 5s));
}

TEST(SkinHeader, EveryItemOnTheHeaderImageAndOnlyTheItemUnderTheMouseLit)
{
    TListHost h(5);
    ASSERT_NE(h.host.Show(), nullptr);
    ASSERT_NE(h.Wrapper(), nullptr);
    TSkinHeader* header = h.Wrapper()->Header;
    ASSERT_NE(header, nullptr);
    const HWND window = header->Handle;
    EXPECT_EQ(WrapperOf(h.host.frame, window), header);
    RECT items[3]{};
    for (int i = 0; i < 3; ++i)
        SendMessageW(window, HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&items[i]));
    const int y = 2;
    auto itemColour = [&](int i) { return PixelAt(window, items[i].left + 1, y); };
    InvalidateRect(window, nullptr, TRUE);
    EXPECT_TRUE(WaitForPixel(window, items[0].left + 1, y, HeaderColour(1)));
    EXPECT_EQ(itemColour(1), HeaderColour(1));
    EXPECT_EQ(itemColour(2), HeaderColour(1));
    // After the last item: image 1 as well.
    EXPECT_EQ(PixelAt(window, items[2].right + 10, y), HeaderColour(1));
    EXPECT_EQ(header->ItemRects.size(), 3u);
    EXPECT_EQ(header->ItemRects[1].left, items[1].left + 3);
    EXPECT_EQ(header->ItemRects[1].right, items[1].right - 3);
    // The caption is drawn on the item, from its left.
    const int middle = (items[0].top + items[0].bottom) / 2;
    bool caption = false;
    for (int x = items[0].left + 3; x < items[0].right - 3 && !caption; ++x)
        caption = PixelAt(window, x, middle) != HeaderColour(1);
    EXPECT_TRUE(caption);

    // The mouse over the second of three: only that one lit, and only until it leaves.
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM((items[1].left + items[1].right) / 2, 5));
    EXPECT_EQ(header->HotItem, 1);
    EXPECT_TRUE(WaitForPixel(window, items[1].left + 1, y, HeaderColour(2)));
    EXPECT_EQ(itemColour(0), HeaderColour(1));
    EXPECT_EQ(itemColour(2), HeaderColour(1));
    guikit::SaveScreenshot(h.host.form->Handle(), "skinscroll-header-hot");
    SendMessageW(window, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(header->HotItem, -1);
    EXPECT_TRUE(WaitForPixel(window, items[1].left + 1, y, HeaderColour(1)));
}
