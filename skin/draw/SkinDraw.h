#pragma once
// Putting skin images on the screen: image strips of N equal frames (frame k is 1-based),
// nine-slice and three-slice scaling with fixed margins, bars, tiles, the key colour
// 0xFF00FF as transparency, and window regions from pictures. Targets with Right < Left or
// Bottom < Top draw nothing. Stretching is COLORONCOLOR throughout.
#include <memory>

#include <windows.h>

#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/Color.h"

class TCanvas;
class TControl;

// Where frame k of an N-frame strip lies in the bitmap (k is kept within 1..N).
RECT StripFrameRect(const TBitmap& strip, bool vertical, int n, int k);

// Frame k scaled to the target's size with its margins kept; the caller owns the result.
std::unique_ptr<TBitmap> RenderNineSlice(const RECT& target, TBitmap& strip, const RECT& margins, bool vertical,
                                         bool tileCentre, int n, int k);
void DrawNineSlice(HDC dc, const RECT& target, TBitmap& strip, bool transparent, bool vertical, bool tileCentre,
                   int n, int k, const RECT& margins);
// The eight edge parts only, straight onto the DC.
void DrawNineSliceBorder(HDC dc, const RECT& target, TBitmap& strip, bool vertical, int n, int k,
                         const RECT& margins);
// Left cap, the middle repeated (stretched only vertically), right cap.
void DrawThreeSlice(TCanvas& canvas, const RECT& target, TBitmap& strip, bool vertical, bool transparent, int n,
                    int k, const RECT& margins);
// Frame k of a horizontal strip stretched to the target, or at its own size centred.
void DrawStripImage(HDC dc, const RECT& target, TBitmap& strip, bool transparent, int n, int k);
void DrawStripImageCentered(HDC dc, const RECT& target, TBitmap& strip, bool transparent, int n, int k);
// Three-part bars: caps of the left/right (top/bottom) margins, the middle stretched.
void DrawHorzBar(HDC dc, const RECT& target, TBitmap& strip, bool vertical, int n, int k, const RECT& margins);
void DrawVertBar(HDC dc, const RECT& target, TBitmap& strip, bool vertical, int n, int k, const RECT& margins);
// Repeats source's part over the target (the last row and column may spill over).
void TileImage(TCanvas& canvas, const RECT& target, TBitmap& source, const RECT& sourceRect);
// Copies the bitmap to the target's top-left, leaving pixels of `key` out.
void DrawTransparent(HDC dc, const RECT& target, TBitmap& bitmap, TColor key);
// The non-key pixels as a region, one rectangle per run of a row, offset by (dx, dy). A
// pixel is key when each channel lies within [key, key + tolerance]. `joins` (optional)
// counts the partial regions joined into the result. The caller owns the region.
HRGN RegionFromBitmap(TBitmap& bitmap, int dx, int dy, int blueTolerance, int greenTolerance, int redTolerance,
                      TColor key, int* joins = nullptr);
// The parent's background and content under the control, painted into dc.
void PaintParentBackground(TControl* control, HDC dc);
