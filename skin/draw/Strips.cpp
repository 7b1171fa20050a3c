// Strip frames, three-slice caps, bars and tiles.
#include <algorithm>

#include "classlib/graphics/Canvas.h"
#include "skin/draw/SkinDraw.h"

namespace {
bool Inverted(const RECT& r) { return r.right < r.left || r.bottom < r.top; }

void Stretch(HDC to, const RECT& t, HDC from, const RECT& f)
{
    if (t.right <= t.left || t.bottom <= t.top || f.right <= f.left || f.bottom <= f.top)
        return;
    StretchBlt(to, t.left, t.top, t.right - t.left, t.bottom - t.top, from, f.left, f.top, f.right - f.left,
               f.bottom - f.top, SRCCOPY);
}

void Put(HDC dc, const RECT& target, TBitmap& picture, bool transparent)
{
    if (transparent)
        DrawTransparent(dc, target, picture, 0xFF00FF);
    else
        BitBlt(dc, target.left, target.top, picture.Width(), picture.Height(), picture.Canvas()->Handle(), 0, 0,
               SRCCOPY);
}
}

void DrawStripImage(HDC dc, const RECT& target, TBitmap& strip, bool transparent, int n, int k)
{
    if (Inverted(target) || strip.Empty())
        return;
    const int W = target.right - target.left, H = target.bottom - target.top;
    if (W == 0 || H == 0)
        return;
    TBitmap picture(W, H, pf24bit);
    SetStretchBltMode(picture.Canvas()->Handle(), COLORONCOLOR);
    Stretch(picture.Canvas()->Handle(), {0, 0, W, H}, strip.Canvas()->Handle(), StripFrameRect(strip, false, n, k));
    Put(dc, target, picture, transparent);
}

void DrawStripImageCentered(HDC dc, const RECT& target, TBitmap& strip, bool transparent, int n, int k)
{
    if (Inverted(target) || strip.Empty())
        return;
    const RECT frame = StripFrameRect(strip, false, n, k);
    const int w = frame.right - frame.left, h = frame.bottom - frame.top;
    if (w <= 0 || h <= 0)
        return;
    const int x = target.left + (target.right - target.left - w) / 2;
    const int y = target.top + (target.bottom - target.top - h) / 2;
    TBitmap picture(w, h, pf24bit);
    BitBlt(picture.Canvas()->Handle(), 0, 0, w, h, strip.Canvas()->Handle(), frame.left, frame.top, SRCCOPY);
    Put(dc, {x, y, x + w, y + h}, picture, transparent);
}

void DrawThreeSlice(TCanvas& canvas, const RECT& target, TBitmap& strip, bool vertical, bool transparent, int n,
                    int k, const RECT& margins)
{
    if (Inverted(target) || strip.Empty())
        return;
    const int W = target.right - target.left, H = target.bottom - target.top;
    if (W == 0 || H == 0)
        return;
    const RECT frame = StripFrameRect(strip, vertical, n, k);
    const int w = frame.right - frame.left, h = frame.bottom - frame.top;
    const int L = std::clamp<int>(margins.left, 0, w), R = std::clamp<int>(margins.right, 0, w - L);
    TBitmap picture(W, H, pf24bit);
    HDC to = picture.Canvas()->Handle();
    HDC from = strip.Canvas()->Handle();
    SetStretchBltMode(to, COLORONCOLOR);
    Stretch(to, {0, 0, L, H}, from, {frame.left, frame.top, frame.left + L, frame.top + h});
    const int middle = w - L - R;
    if (middle > 0)
        for (int x = L; x < W - R; x += middle)
            Stretch(to, {x, 0, x + middle, H}, from, {frame.left + L, frame.top, frame.left + L + middle, frame.top + h});
    Stretch(to, {W - R, 0, W, H}, from, {frame.left + w - R, frame.top, frame.left + w, frame.top + h});
    Put(canvas.Handle(), target, picture, transparent);
}

void DrawHorzBar(HDC dc, const RECT& target, TBitmap& strip, bool vertical, int n, int k, const RECT& margins)
{
    if (Inverted(target) || strip.Empty())
        return;
    const RECT frame = StripFrameRect(strip, vertical, n, k);
    const int w = frame.right - frame.left, h = frame.bottom - frame.top;
    const int H = target.bottom - target.top;
    const int top = target.top + (H > h ? (H - h) / 2 : 0);
    const int height = std::min(h, H);
    // Caps never overlap or leave the target; the middle gets what is left.
    const int W = target.right - target.left;
    const int L = std::min<int>(margins.left, W), R = std::min<int>(margins.right, W - L);
    HDC from = strip.Canvas()->Handle();
    const int old = SetStretchBltMode(dc, COLORONCOLOR);
    Stretch(dc, {target.left, top, target.left + L, top + height}, from,
            {frame.left, frame.top, frame.left + L, frame.top + height});
    Stretch(dc, {target.left + L, top, target.right - R, top + height}, from,
            {frame.left + margins.left, frame.top, frame.right - margins.right, frame.top + height});
    Stretch(dc, {target.right - R, top, target.right, top + height}, from,
            {frame.right - R, frame.top, frame.right, frame.top + height});
    SetStretchBltMode(dc, old);
}

void DrawVertBar(HDC dc, const RECT& target, TBitmap& strip, bool vertical, int n, int k, const RECT& margins)
{
    if (Inverted(target) || strip.Empty())
        return;
    const RECT frame = StripFrameRect(strip, vertical, n, k);
    const int w = frame.right - frame.left;
    const int W = target.right - target.left;
    const int left = target.left + (W > w ? (W - w) / 2 : 0);
    const int width = std::min(w, W);
    const int H = target.bottom - target.top;
    const int T = std::min<int>(margins.top, H), B = std::min<int>(margins.bottom, H - T);
    HDC from = strip.Canvas()->Handle();
    const int old = SetStretchBltMode(dc, COLORONCOLOR);
    Stretch(dc, {left, target.top, left + width, target.top + T}, from,
            {frame.left, frame.top, frame.left + width, frame.top + T});
    Stretch(dc, {left, target.top + T, left + width, target.bottom - B}, from,
            {frame.left, frame.top + margins.top, frame.left + width, frame.bottom - margins.bottom});
    Stretch(dc, {left, target.bottom - B, left + width, target.bottom}, from,
            {frame.left, frame.bottom - B, frame.left + width, frame.bottom});
    SetStretchBltMode(dc, old);
}

void TileImage(TCanvas& canvas, const RECT& target, TBitmap& source, const RECT& sourceRect)
{
    if (Inverted(target))
        return;
    const int w = sourceRect.right - sourceRect.left, h = sourceRect.bottom - sourceRect.top;
    if (w <= 0 || h <= 0)
        return;
    TBitmap part(w, h, pf24bit);
    BitBlt(part.Canvas()->Handle(), 0, 0, w, h, source.Canvas()->Handle(), sourceRect.left, sourceRect.top, SRCCOPY);
    HDC dc = canvas.Handle();
    HDC from = part.Canvas()->Handle();
    for (int x = target.left; x < target.right; x += w)
        for (int y = target.top; y < target.bottom; y += h)
            BitBlt(dc, x, y, w, h, from, 0, 0, SRCCOPY);
}
