// Nine-slice scaling of one frame of an image strip.
#include <algorithm>

#include "classlib/graphics/Canvas.h"
#include "skin/draw/SkinDraw.h"

RECT StripFrameRect(const TBitmap& strip, bool vertical, int n, int k)
{
    n = std::max(n, 1);
    k = std::clamp(k, 1, n);
    if (vertical) {
        const int h = strip.Height() / n;
        return {0, (k - 1) * h, strip.Width(), k * h};
    }
    const int w = strip.Width() / n;
    return {(k - 1) * w, 0, k * w, strip.Height()};
}

namespace {
bool Inverted(const RECT& r) { return r.right < r.left || r.bottom < r.top; }

// The nine parts in drawing order: target and source rectangles relative to the target's
// and the frame's top-left. The centre is marked so callers can tile it or leave it out.
struct TSlice {
    RECT to, from;
    bool centre;
};

std::vector<TSlice> Slices(int W, int H, int w, int h, RECT m)
{
    int L = m.left, T = m.top, R = m.right, B = m.bottom;
    if (W < L + R)
        L = R = 0;
    if (H < T + B)
        T = B = 0;
    std::vector<TSlice> s;
    if (L * T > 0)
        s.push_back({{0, 0, L, T}, {0, 0, L, T}, false});
    if (L * B > 0)
        s.push_back({{0, H - B, L, H}, {0, h - B, L, h}, false});
    if (R * T > 0)
        s.push_back({{W - R, 0, W, T}, {w - R, 0, w, T}, false});
    if (L > 0)
        s.push_back({{0, T, L, H - B}, {0, T, L, h - B}, false});
    if (T > 0)
        s.push_back({{L, 0, W - R, T}, {L, 0, w - R, T}, false});
    s.push_back({{L, T, W - R, H - B}, {L, T, w - R, h - B}, true});
    if (R * B > 0)
        s.push_back({{W - R, H - B, W, H}, {w - R, h - B, w, h}, false});
    if (R > 0)
        s.push_back({{W - R, T, W, H - B}, {w - R, T, w, h - B}, false});
    if (B > 0)
        s.push_back({{L, H - B, W - R, H}, {L, h - B, w - R, h}, false});
    return s;
}

RECT Shift(RECT r, int dx, int dy)
{
    OffsetRect(&r, dx, dy);
    return r;
}
}

std::unique_ptr<TBitmap> RenderNineSlice(const RECT& target, TBitmap& strip, const RECT& margins, bool vertical,
                                         bool tileCentre, int n, int k)
{
    const int W = std::max<int>(target.right - target.left, 0);
    const int H = std::max<int>(target.bottom - target.top, 0);
    auto result = std::make_unique<TBitmap>(W, H, pf24bit);
    if (W == 0 || H == 0 || strip.Empty())
        return result;
    const RECT frame = StripFrameRect(strip, vertical, n, k);
    const int w = frame.right - frame.left, h = frame.bottom - frame.top;
    TCanvas& to = *result->Canvas();
    TCanvas& from = *strip.Canvas();
    SetStretchBltMode(to.Handle(), COLORONCOLOR);
    for (const TSlice& s : Slices(W, H, w, h, margins)) {
        const RECT source = Shift(s.from, frame.left, frame.top);
        if (s.centre && tileCentre)
            TileImage(to, s.to, strip, source);
        else if (s.centre)
            StretchBlt(to.Handle(), s.to.left, s.to.top, s.to.right - s.to.left, s.to.bottom - s.to.top, from.Handle(),
                       source.left, source.top, source.right - source.left, source.bottom - source.top, SRCCOPY);
        else
            to.CopyRect(s.to, from, source);
    }
    return result;
}

void DrawNineSlice(HDC dc, const RECT& target, TBitmap& strip, bool transparent, bool vertical, bool tileCentre,
                   int n, int k, const RECT& margins)
{
    if (Inverted(target) || strip.Empty())
        return;
    std::unique_ptr<TBitmap> picture = RenderNineSlice(target, strip, margins, vertical, tileCentre, n, k);
    if (picture->Empty())
        return;
    if (transparent)
        DrawTransparent(dc, target, *picture, 0xFF00FF);
    else
        BitBlt(dc, target.left, target.top, picture->Width(), picture->Height(), picture->Canvas()->Handle(), 0, 0,
               SRCCOPY);
}

void DrawNineSliceBorder(HDC dc, const RECT& target, TBitmap& strip, bool vertical, int n, int k,
                         const RECT& margins)
{
    if (Inverted(target) || strip.Empty())
        return;
    const RECT frame = StripFrameRect(strip, vertical, n, k);
    const int W = target.right - target.left, H = target.bottom - target.top;
    HDC from = strip.Canvas()->Handle();
    const int old = SetStretchBltMode(dc, COLORONCOLOR);
    for (const TSlice& s : Slices(W, H, frame.right - frame.left, frame.bottom - frame.top, margins)) {
        if (s.centre)
            continue;
        const RECT to = Shift(s.to, target.left, target.top);
        const RECT source = Shift(s.from, frame.left, frame.top);
        StretchBlt(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, from, source.left, source.top,
                   source.right - source.left, source.bottom - source.top, SRCCOPY);
    }
    SetStretchBltMode(dc, old);
}
