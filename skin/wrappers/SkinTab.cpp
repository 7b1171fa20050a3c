// Tab and page controls: the strip of tabs composed off-screen (lying for side tabs, then
// turned upright) and the page's border, over the control's own painting.
#include "skin/wrappers/SkinTab.h"

#include <algorithm>
#include <utility>

#include <windows.h>
#include <commctrl.h>

#include "classlib/extctrls/PageControl.h"
#include "classlib/graphics/Canvas.h"
#include "classlib/graphics/Font.h"
#include "classlib/graphics/ImageList.h"
#include "skin/BitmapHelpers.h"
#include "skin/SkinMessages.h"
#include "skin/data/SkinData.h"
#include "skin/draw/SkinDraw.h"
#include "skin/form/SkinForm.h"
#include "skin/manager/SkinManager.h"
#include "skin/wrappers/SkinUpDown.h"

namespace {
constexpr int kTabImages = 5;
constexpr int kMaxTabText = 80;
constexpr RECT kBorderMargins{4, 5, 4, 4};
constexpr int kCloseWidth = 8, kCloseHeight = 6, kCloseInset = 2;

// Margins of a picture turned a quarter against the clock (top goes left) or with it.
RECT TurnedLeft(const RECT& m) { return {m.top, m.right, m.bottom, m.left}; }
RECT TurnedRight(const RECT& m) { return {m.bottom, m.left, m.top, m.right}; }
RECT Flipped(const RECT& m) { return {m.left, m.bottom, m.right, m.top}; }

void DrawCloseBox(HDC dc, const RECT& box, COLORREF ink)
{
    HBRUSH frame = CreateSolidBrush(ink);
    FrameRect(dc, &box, frame);
    DeleteObject(frame);
    HPEN pen = CreatePen(PS_SOLID, 1, ink);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, box.left + 2, box.top + 1, nullptr);
    LineTo(dc, box.right - 2, box.bottom - 1);
    MoveToEx(dc, box.right - 3, box.top + 1, nullptr);
    LineTo(dc, box.left + 1, box.bottom - 1);
    SelectObject(dc, old);
    DeleteObject(pen);
}
} // namespace

void TSkinTab::AttachControl(TSkinForm* form, TSkinData* skin, bool colorControl, TCanvas* canvas)
{
    if (Attached)
        return;
    TSkinControl::AttachControl(form, skin, colorControl, canvas);
    if (Attached)
        AttachParts();
}

void TSkinTab::AttachWindow(HWND handle, TSkinData* skin, TSkinForm* form, TCanvas* canvas)
{
    if (Attached)
        return;
    TSkinControl::AttachWindow(handle, skin, form, canvas);
    if (Attached)
        AttachParts();
}

void TSkinTab::AttachParts()
{
    Enabled = IsWindowEnabled(Handle) != FALSE;
    HasCloseBoxes = Control && Control->Tag() == kCloseBoxTag;
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(Handle, GWL_STYLE));
    const bool bottom = style & TCS_BOTTOM, vertical = style & TCS_VERTICAL;
    TabPosition = vertical ? (bottom ? 3 : 2) : (bottom ? 1 : 0);
    BuildImages();
    FindScrollArrows();
    SkinEnabled = true;
}

void TSkinTab::FindScrollArrows()
{
    if (ScrollSkin)
        return;
    for (HWND child = GetWindow(Handle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (LowerCase(WindowClassName(child)) == "msctls_updown32") {
            ScrollSkin = new TSkinUpDown(nullptr);
            ScrollSkin->AttachWindow(child, SkinData, Form, Canvas);
            return;
        }
}

void TSkinTab::BuildImages()
{
    TabImage.Assign(TBitmap());
    BorderImage.Assign(TBitmap());
    TDataSkinBorder* tabs = SkinData ? SkinData->Tabs.get() : nullptr;
    if (!tabs || tabs->Image.Empty() || tabs->Image2.Empty())
        return;
    TabImage.Assign(tabs->Image);
    TabImage.SetPixelFormat(pf24bit);
    BorderImage.Assign(tabs->Image2);
    BorderImage.SetPixelFormat(pf24bit);
    TabMargins = tabs->Margins();
    BorderMargins = kBorderMargins;
    switch (TabPosition) {
    case 1:
        FlipBitmap(TabImage);
        FlipBitmap(BorderImage);
        TabMargins = Flipped(TabMargins);
        BorderMargins = Flipped(BorderMargins);
        break;
    case 2:
        RotateBitmapLeft(BorderImage);
        BorderMargins = TurnedLeft(BorderMargins);
        break;
    case 3:
        RotateBitmapRight(BorderImage);
        BorderMargins = TurnedRight(BorderMargins);
        break;
    default:
        break;
    }
}

void TSkinTab::Refresh()
{
    TSkinControl::Refresh();
    BuildImages();
}

int TSkinTab::CloseBoxAt(POINT point) const
{
    for (std::size_t i = 0; i < CloseRects.size(); ++i)
        if (PtInRect(&CloseRects[i], point))
            return static_cast<int>(i);
    return -1;
}

bool TSkinTab::BeforeMessage(TMessage& msg)
{
    if (msg.Msg == WM_LBUTTONDOWN && HasCloseBoxes) {
        const POINT at{static_cast<short>(LOWORD(msg.LParam)), static_cast<short>(HIWORD(msg.LParam))};
        if (const int index = CloseBoxAt(at); index >= 0) {
            CloseTab(index);
            msg.Result = 0;
            return false;
        }
    }
    return TSkinControl::BeforeMessage(msg);
}

void TSkinTab::CloseTab(int index)
{
    HWND form = Form && Form->FormHandle ? Form->FormHandle : GetAncestor(Handle, GA_ROOT);
    if (SendMessageW(form, SKM_TABCLOSE, reinterpret_cast<WPARAM>(Handle), index) != 0)
        return;
    if (auto* pages = dynamic_cast<TPageControl*>(Control)) {
        int tab = -1;
        for (int i = 0; i < pages->PageCount(); ++i)
            if (pages->Pages(i)->TabVisible() && ++tab == index) {
                delete pages->Pages(i);
                break;
            }
    } else {
        SendMessageW(Handle, TCM_DELETEITEM, static_cast<WPARAM>(index), 0);
    }
    CloseRects.clear();
    Invalidate();
}

RECT TSkinTab::PageRect(const RECT& rect) const
{
    RECT page = rect;
    SendMessageW(Handle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    InflateRect(&page, 4, 4);
    switch (TabPosition) {
    case 0: page.top += 1; break;
    case 1: page.bottom -= 1; break;
    case 2: page.left += 1; break;
    default: page.right -= 1; break;
    }
    return page;
}

RECT TSkinTab::StripArea(const RECT& rect, const RECT& page) const
{
    switch (TabPosition) {
    case 0: return {rect.left, rect.top, rect.right, std::max(rect.top, page.top)};
    case 1: return {rect.left, std::min(rect.bottom, page.bottom), rect.right, rect.bottom};
    case 2: return {rect.left, rect.top, std::max(rect.left, page.left), rect.bottom};
    default: return {std::min(rect.right, page.right), rect.top, rect.right, rect.bottom};
    }
}

RECT TSkinTab::ToBuffer(RECT r, const RECT& strip) const
{
    OffsetRect(&r, -strip.left, -strip.top);
    const int sw = strip.right - strip.left, sh = strip.bottom - strip.top;
    switch (TabPosition) {
    case 0: OffsetRect(&r, 0, 1); return r;
    case 1: return r;
    // The lying buffer is turned against the clock at the end: its top becomes the left.
    case 2: return {sh - r.bottom, r.left, sh - r.top, r.right};
    // Turned with the clock: its top becomes the right.
    default: return {r.top, sw - r.right, r.bottom, sw - r.left};
    }
}

RECT TSkinTab::FromBuffer(RECT r, const RECT& strip) const
{
    const int sw = strip.right - strip.left, sh = strip.bottom - strip.top;
    RECT c = r;
    switch (TabPosition) {
    case 2: c = {r.top, sh - r.right, r.bottom, sh - r.left}; break;
    case 3: c = {sw - r.bottom, r.left, sw - r.top, r.right}; break;
    default: break;
    }
    OffsetRect(&c, strip.left, strip.top);
    return c;
}

void TSkinTab::Draw(HDC dc, const RECT& rect)
{
    if (!SkinData || TabImage.Empty())
        return;
    FindScrollArrows();
    const RECT page = PageRect(rect);
    const RECT strip = StripArea(rect, page);
    if (strip.right > strip.left && strip.bottom > strip.top)
        DrawStrip(dc, strip);
    if (!BorderImage.Empty())
        DrawNineSliceBorder(dc, page, BorderImage, false, 1, 1, BorderMargins);
}

void TSkinTab::DrawStrip(HDC dc, const RECT& strip)
{
    const int count = static_cast<int>(SendMessageW(Handle, TCM_GETITEMCOUNT, 0, 0));
    const int focused = static_cast<int>(SendMessageW(Handle, TCM_GETCURFOCUS, 0, 0));
    CloseRects.assign(static_cast<std::size_t>(std::max(count, 0)), RECT{});

    int bw = strip.right - strip.left, bh = strip.bottom - strip.top;
    if (TabPosition >= 2)
        std::swap(bw, bh);
    StripBuffer.SetPixelFormat(pf24bit);
    StripBuffer.SetSize(bw, bh);
    TCanvas& canvas = *StripBuffer.Canvas();
    FillFace(canvas.Handle(), {0, 0, bw, bh});
    if (auto* font = PropObjectAs<TFont>("Font"))
        canvas.Font()->Assign(*font);
    else {
        auto handle = reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0));
        canvas.Font()->SetHandle(handle ? handle : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    }
    for (int i = 0; i < count; ++i)
        DrawTab(i, strip, i == focused);
    if (TabPosition == 2)
        RotateBitmapLeft(StripBuffer);
    else if (TabPosition == 3)
        RotateBitmapRight(StripBuffer);

    const int saved = SaveDC(dc);
    if (ScrollSkin && IsWindow(ScrollSkin->Handle) && IsWindowVisible(ScrollSkin->Handle)) {
        RECT arrows{};
        GetWindowRect(ScrollSkin->Handle, &arrows);
        MapWindowPoints(nullptr, Handle, reinterpret_cast<POINT*>(&arrows), 2);
        ExcludeClipRect(dc, arrows.left, arrows.top, arrows.right, arrows.bottom);
    }
    BitBlt(dc, strip.left, strip.top, strip.right - strip.left, strip.bottom - strip.top, StripBuffer.Canvas()->Handle(),
           0, 0, SRCCOPY);
    RestoreDC(dc, saved);
}

void TSkinTab::DrawTab(int index, const RECT& strip, bool focused)
{
    wchar_t text[kMaxTabText + 1] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = text;
    item.cchTextMax = kMaxTabText;
    item.iImage = -1;
    SendMessageW(Handle, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    RECT tab{};
    SendMessageW(Handle, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tab));
    const RECT r = ToBuffer(tab, strip);

    TDataSkinBorder& tabs = *SkinData->Tabs;
    TCanvas& canvas = *StripBuffer.Canvas();
    HDC dc = canvas.Handle();
    const int frames = tabs.Frame > 0 ? tabs.Frame : kTabImages;
    DrawNineSlice(dc, r, TabImage, tabs.Trans == 1, false, tabs.Tile != 0, frames, focused ? 2 : 1, TabMargins);

    const TColor ink = focused ? tabs.MouseOverColour2 : tabs.NormalColour2;
    if (HasCloseBoxes) {
        const RECT box{r.right - kCloseInset - kCloseWidth, r.top + kCloseInset, r.right - kCloseInset,
                       r.top + kCloseInset + kCloseHeight};
        DrawCloseBox(dc, box, static_cast<COLORREF>(ColorToRGB(ink)));
        CloseRects[static_cast<std::size_t>(index)] = FromBuffer(box, strip);
    }
    canvas.Font()->SetColor(ink);
    DrawTextAndImage(canvas, r, 1, text, item.iImage, PropObjectAs<TImageList>("Images"));
}
