#include "skin/wrappers/SkinBarOverlay.h"

#include <algorithm>

#include "classlib/controls/Messages.h"
#include "classlib/graphics/Canvas.h"
#include "skin/SkinMessages.h"
#include "skin/data/SkinData.h"
#include "skin/draw/SkinDraw.h"
#include "skin/manager/SkinManager.h"
#include "skin/wrappers/SkinControl.h"

namespace {
constexpr int kArrowImages = 23;
constexpr int kTrackImages = 4;
constexpr int kThumbImages = 3;
// First image of each arrow and grip in the 23-image strip; pressed is +1, hot +3 (grips +1, +2).
constexpr int kLeftArrow = 1, kRightArrow = 5, kUpArrow = 9, kDownArrow = 13;
constexpr int kHorzGrip = 17, kVertGrip = 20;

bool Usable(const TDataSkinObject* element)
{
    return element && !element->Image.Empty();
}

int FramesOf(const TDataSkinObject& element, int fallback)
{
    return element.Frame > 0 ? element.Frame : fallback;
}

int RectWidth(const RECT& r) { return r.right - r.left; }
int RectHeight(const RECT& r) { return r.bottom - r.top; }
} // namespace

int PartOfScrollCode(int code)
{
    switch (code) {
    case SB_LINEUP: return bpFirstArrow;
    case SB_LINEDOWN: return bpSecondArrow;
    case SB_PAGEUP: return bpPageBefore;
    case SB_PAGEDOWN: return bpPageAfter;
    case SB_THUMBTRACK: return bpThumb;
    default: return bpNone;
    }
}

TSkinBarOverlay::TSkinBarOverlay(TComponent* owner) : TCustomPanel(owner)
{
    SetVisible(false);
}

TSkinBarOverlay::~TSkinBarOverlay() = default;

void TSkinBarOverlay::CreateParams(TCreateParams& params)
{
    TCustomPanel::CreateParams(params);
    // A hidden child of the host's parent window, which need not be a control of ours.
    params.style = WS_CHILD | WS_CLIPSIBLINGS;
    params.parent = hostParent_;
    params.windowClass = L"KestripBarOverlay";
}

void TSkinBarOverlay::EnsureWindow()
{
    if (HandleAllocated() || !hostParent_)
        return;
    Handle();
}

void TSkinBarOverlay::Attach(TSkinControl* wrapper, HWND host, BYTE kind)
{
    Owner = wrapper;
    Host = host;
    Kind = kind;
    ArrowSize = GetSystemMetrics(SM_CXHSCROLL);
    hostParent_ = GetParent(host);
    if (Kind != bkControl)
        Vertical = Kind == bkVertBar;
    else if (!HostControl)
        Vertical = (GetWindowLongPtrW(host, GWL_STYLE) & SBS_VERT) != 0;
    EnsureWindow();
    Place();
}

void TSkinBarOverlay::AttachToControl(TSkinControl* wrapper, TWinControl* control, BYTE kind)
{
    HostControl = control;
    const TWinControl* parent = control->Parent();
    SetColor(parent ? parent->Color() : (wrapper ? SkinFaceColour(wrapper->SkinData) : clBtnFace));
    if (kind == bkControl)
        Vertical = LowerCase(wrapper ? wrapper->PropName("Kind") : std::string()) != "sbhorizontal";
    Attach(wrapper, control->Handle(), kind);
}

void TSkinBarOverlay::AttachToWindow(TSkinControl* wrapper, HWND handle, BYTE kind)
{
    HostControl = nullptr;
    Attach(wrapper, handle, kind);
}

int TSkinBarOverlay::ArrowLength(int barLength) const
{
    // The covered bar draws each arrow half its length when two full arrows do not fit; the
    // painted arrows lie where the clicks land.
    return barLength < 2 * ArrowSize ? barLength / 2 : ArrowSize;
}

bool TSkinBarOverlay::FetchGeometry(TBarGeometry& g) const
{
    if (!Host || !IsWindow(Host))
        return false;
    if (Kind != bkControl) {
        SCROLLBARINFO info{};
        info.cbSize = sizeof info;
        if (!ScrollBarInfo(Host, Kind == bkVertBar ? OBJID_VSCROLL : OBJID_HSCROLL, info))
            return false;
        g.bar = info.rcScrollBar;
        g.thumbStart = info.xyThumbTop;
        g.thumbEnd = info.xyThumbBottom;
        g.state = info.rgstate[0];
        // A bar disabled as a whole may be reported through its two arrows only.
        constexpr int kFirstArrowState = 1, kSecondArrowState = 5;
        if ((info.rgstate[kFirstArrowState] & STATE_SYSTEM_UNAVAILABLE) &&
            (info.rgstate[kSecondArrowState] & STATE_SYSTEM_UNAVAILABLE))
            g.state |= STATE_SYSTEM_UNAVAILABLE;
        return true;
    }
    if (!GetWindowRect(Host, &g.bar))
        return false;
    if (HWND parent = GetParent(Host))
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&g.bar), 2);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    if (!GetScrollInfo(Host, SB_CTL, &si))
        return false;
    const int length = Vertical ? RectHeight(g.bar) : RectWidth(g.bar);
    const int a = ArrowSize;
    const int max = si.nMax;
    if (max <= 0) {
        // Nothing to scroll: no thumb.
        g.thumbStart = g.thumbEnd = a;
    } else if (si.nPage > 0) {
        const int thumb = MulDiv(length - 2 * a, static_cast<int>(si.nPage) - 1, max);
        g.thumbStart = si.nPos == 0 ? a : a + MulDiv(length - 2 * a, si.nPos, max);
        g.thumbEnd = g.thumbStart + thumb;
    } else {
        g.thumbStart = si.nPos == 0 ? a : a + MulDiv(length - 3 * a, si.nPos, max);
        g.thumbEnd = g.thumbStart + a;
    }
    g.state = 0;
    if (!IsWindowEnabled(Host))
        g.state |= STATE_SYSTEM_UNAVAILABLE;
    if (!IsWindowVisible(Host))
        g.state |= STATE_SYSTEM_INVISIBLE;
    return true;
}

void TSkinBarOverlay::HideBar()
{
    if (HandleAllocated())
        ShowWindow(Handle(), SW_HIDE);
    Shown = false;
    SetVisible(false);
}

void TSkinBarOverlay::Place()
{
    TBarGeometry g;
    if (!FetchGeometry(g))
        return;
    if (!(GetWindowLongPtrW(Host, GWL_STYLE) & WS_VISIBLE) || (g.state & STATE_SYSTEM_INVISIBLE)) {
        HideBar();
        return;
    }
    EnsureWindow();
    if (!HandleAllocated())
        return;
    RECT onParent = g.bar;
    if (Kind != bkControl) {
        BarRect = g.bar;
        MapWindowPoints(nullptr, Host, reinterpret_cast<POINT*>(&BarRect), 2);
        BarOrigin = {g.bar.left, g.bar.top};
        MapWindowPoints(nullptr, hostParent_, reinterpret_cast<POINT*>(&onParent), 2);
    } else {
        BarRect = g.bar;
    }
    BarLength = Vertical ? RectHeight(g.bar) : RectWidth(g.bar);
    HWND self = Handle();
    SetVisible(true);
    const HWND above = GetWindow(Host, GW_HWNDPREV);
    SetWindowPos(self, above, onParent.left, onParent.top, RectWidth(onParent), RectHeight(onParent),
                 SWP_NOACTIVATE | SWP_SHOWWINDOW | (above == self ? SWP_NOZORDER : 0));
    MoveWindow(self, onParent.left, onParent.top, RectWidth(onParent), RectHeight(onParent), TRUE);
    Shown = true;
}

int TSkinBarOverlay::PartAt(POINT p) const
{
    const int a = AxisOf(p);
    const int arrow = ArrowLength(BarLength);
    if (a < arrow)
        return bpFirstArrow;
    if (a < ThumbStart)
        return bpPageBefore;
    if (a < ThumbEnd)
        return bpThumb;
    if (a < BarLength - arrow)
        return bpPageAfter;
    return bpSecondArrow;
}

void TSkinBarOverlay::TrackThumb()
{
    POINT cursor{};
    GetCursorPos(&cursor);
    const int length = ThumbEnd - ThumbStart;
    int start = DownThumbStart + (AxisOf(cursor) - AxisOf(DownCursor));
    start = std::max(start, ArrowSize);
    start = std::min(start, BarLength - ArrowSize - length);
    ThumbStart = start;
    ThumbEnd = start + length;
}

void TSkinBarOverlay::Repaint()
{
    if (!HandleAllocated() || !Shown)
        return;
    InvalidateRect(Handle(), nullptr, FALSE);
    UpdateWindow(Handle());
}

void TSkinBarOverlay::SetHotPart(int part)
{
    if (part == HotPart)
        return;
    HotPart = part;
    Repaint();
}

// ---- Painting -------------------------------------------------------------------------------

RECT TSkinBarOverlay::AlongAxis(int from, int to, int thickness) const
{
    return Vertical ? RECT{0, from, thickness, to} : RECT{from, 0, to, thickness};
}

void TSkinBarOverlay::PaintBar(HDC dc)
{
    TSkinData* skin = Owner ? Owner->SkinData : nullptr;
    if (!skin || !Usable(skin->Scrollbar.get()))
        return;
    TBarGeometry g;
    if (!FetchGeometry(g) || (g.state & STATE_SYSTEM_INVISIBLE))
        return;
    RECT client{};
    GetClientRect(Handle(), &client);
    if (Kind != bkControl && (RectWidth(g.bar) > client.right || RectHeight(g.bar) > client.bottom))
        return;
    const bool enabled = !(g.state & STATE_SYSTEM_UNAVAILABLE);
    BarLength = Vertical ? RectHeight(g.bar) : RectWidth(g.bar);
    int thickness = skin->Scrollbar->Image.Height();
    if (std::abs(thickness - ArrowSize) > 2)
        thickness = ArrowSize;
    // A bar control is composed at the skin's thickness and stretched over the control.
    const int cross = Kind == bkControl ? thickness : (Vertical ? RectWidth(g.bar) : RectHeight(g.bar));
    const int w = Vertical ? cross : BarLength, h = Vertical ? BarLength : cross;
    if (w <= 0 || h <= 0)
        return;
    if (buffer_.Width() != w || buffer_.Height() != h)
        buffer_.SetSize(w, h);
    HDC buffer = buffer_.Canvas()->Handle();
    SetStretchBltMode(buffer, COLORONCOLOR);
    Owner->FillFace(buffer, {0, 0, w, h});
    ComposeBar(buffer, g, thickness, enabled);
    if (Kind == bkControl) {
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, 0, 0, client.right, client.bottom, buffer, 0, 0, w, h, SRCCOPY);
    } else {
        BitBlt(dc, 0, 0, w, h, buffer, 0, 0, SRCCOPY);
    }
}

void TSkinBarOverlay::ComposeBar(HDC buffer, const TBarGeometry& g, int thickness, bool enabled)
{
    TSkinData& skin = *Owner->SkinData;
    const int l = BarLength;
    TDataSkinObject* track = Vertical ? skin.VertScroll.get() : skin.HorzScroll.get();
    if (Usable(track))
        DrawNineSlice(buffer, AlongAxis(ArrowSize, l - ArrowSize, thickness), track->Image, track->Trans == 1, false,
                      track->Tile != 0, kTrackImages, enabled ? 1 : 3, track->Margins());

    const int arrow = ArrowLength(l);
    const int firstBase = Vertical ? kUpArrow : kLeftArrow;
    const int secondBase = Vertical ? kDownArrow : kRightArrow;
    auto arrowImage = [&](int base, int part) {
        if (HotPart != part)
            return base;
        return Pressed ? base + 1 : base + 3;
    };
    TBitmap& strip = skin.Scrollbar->Image;
    DrawStripImage(buffer, AlongAxis(0, arrow, thickness), strip, true, kArrowImages,
                   arrowImage(firstBase, bpFirstArrow));
    DrawStripImage(buffer, AlongAxis(l - arrow, l, thickness), strip, true, kArrowImages,
                   arrowImage(secondBase, bpSecondArrow));

    if (Pressed && HotPart == bpThumb && Kind != bkControl) {
        TrackThumb();
    } else {
        ThumbStart = g.thumbStart;
        ThumbEnd = g.thumbEnd;
    }
    if (enabled)
        DrawThumb(buffer, thickness);
}

void TSkinBarOverlay::DrawThumb(HDC buffer, int thickness)
{
    TSkinData& skin = *Owner->SkinData;
    const int length = ThumbEnd - ThumbStart;
    if (length <= 0 || ThumbStart < 0 || ThumbEnd > BarLength)
        return;
    const bool thumbLit = HotPart == bpThumb;
    if (TDataSkinObject* thumb = Vertical ? skin.VertScrollThumb.get() : skin.HorzScrollThumb.get(); Usable(thumb)) {
        const int image = !thumbLit ? 1 : (Pressed ? 2 : 3);
        DrawNineSlice(buffer, AlongAxis(ThumbStart, ThumbEnd, thickness), thumb->Image, thumb->Trans == 1, false,
                      false, FramesOf(*thumb, kThumbImages), image, thumb->Margins());
    }
    const int gripLength = skin.Scrollbar->Image.Height();
    if (gripLength >= length + 2)
        return;
    const int start = ThumbStart + (length - gripLength) / 2;
    if (start < 0 || start + gripLength > BarLength)
        return;
    const int base = Vertical ? kVertGrip : kHorzGrip;
    const int image = !thumbLit ? base : (Pressed ? base + 1 : base + 2);
    DrawStripImage(buffer, AlongAxis(start, start + gripLength, thickness), skin.Scrollbar->Image, true,
                   kArrowImages, image);
}

// ---- Messages -------------------------------------------------------------------------------

void TSkinBarOverlay::ButtonDown(TMessage& m)
{
    TCustomPanel::WndProc(m);
    GetCursorPos(&DownCursor);
    TBarGeometry g;
    if (FetchGeometry(g)) {
        DownThumbStart = g.thumbStart;
        ThumbStart = g.thumbStart;
        ThumbEnd = g.thumbEnd;
    }
    POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
    HotPart = PartAt(p);
    if (Kind != bkControl) {
        BarOrigin = {g.bar.left, g.bar.top};
        ::ClientToScreen(Handle(), &p);
    }
    Pressed = true;
    Repaint();
    ReleaseCapture();
    // The system's scroll loop runs inside this call until the button is released.
    if (Kind != bkControl)
        SendMessageW(Host, WM_NCLBUTTONDOWN, Vertical ? HTVSCROLL : HTHSCROLL, MAKELPARAM(p.x, p.y));
    else
        SendMessageW(Host, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    Pressed = false;
    ReleaseCapture();
    if (Kind == bkControl)
        Repaint();
}

void TSkinBarOverlay::ButtonUp(TMessage& m)
{
    TCustomPanel::WndProc(m);
    POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
    if (Kind != bkControl)
        ::ClientToScreen(Handle(), &p);
    Pressed = false;
    ReleaseCapture();
    if (Kind != bkControl)
        PostMessageW(Host, WM_NCLBUTTONUP, Vertical ? HTVSCROLL : HTHSCROLL, MAKELPARAM(p.x, p.y));
    else
        PostMessageW(Host, WM_LBUTTONUP, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    if (Kind == bkControl)
        Repaint();
}

void TSkinBarOverlay::MouseMoved(TMessage& m)
{
    TCustomPanel::WndProc(m);
    SetHotPart(PartAt({static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))}));
    TrackMouseLeave(Handle());
}

void TSkinBarOverlay::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        const bool begun = dc == nullptr;
        if (begun)
            dc = BeginPaint(Handle(), &ps);
        try {
            PaintBar(dc);
        } catch (...) {
            // Painting never raises.
        }
        if (begun)
            EndPaint(Handle(), &ps);
        m.Result = 0;
        return;
    }
    case WM_ERASEBKGND:
        m.Result = 1;
        return;
    case SKM_ISSKINNED:
        m.Result = 1;
        return;
    case WM_MOUSEMOVE:
        MouseMoved(m);
        return;
    case WM_MOUSELEAVE:
        TCustomPanel::WndProc(m);
        if (!Pressed)
            SetHotPart(bpNone);
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        ButtonDown(m);
        return;
    case WM_LBUTTONUP:
        ButtonUp(m);
        return;
    default:
        TCustomPanel::WndProc(m);
        return;
    }
}

// ---- Shared by the wrappers with two bars -----------------------------------------------------

void PlaceBars(TSkinBarOverlay* horz, TSkinBarOverlay* vert)
{
    for (TSkinBarOverlay* bar : {horz, vert})
        if (bar)
            bar->Place();
}

void HideBars(TSkinBarOverlay* horz, TSkinBarOverlay* vert)
{
    for (TSkinBarOverlay* bar : {horz, vert})
        if (bar)
            bar->HideBar();
}

void ShowScrollCode(TSkinBarOverlay* bar, WPARAM wParam)
{
    if (!bar)
        return;
    bar->HotPart = PartOfScrollCode(LOWORD(wParam));
    bar->Repaint();
}

void FillBarCorner(const TSkinControl& wrapper, HDC dc, const TSkinBarOverlay* horz, const TSkinBarOverlay* vert)
{
    if (!horz || !vert || !horz->Shown || !vert->Shown)
        return;
    // The bars are known in client coordinates; the DC starts at the window's corner.
    RECT window{};
    POINT client{0, 0};
    if (!GetWindowRect(vert->Host, &window) || !ClientToScreen(vert->Host, &client))
        return;
    const int dx = client.x - window.left, dy = client.y - window.top;
    const RECT corner{vert->BarRect.left + dx, horz->BarRect.top + dy, vert->BarRect.right + dx,
                      horz->BarRect.bottom + dy};
    wrapper.FillFace(dc, corner);
}
