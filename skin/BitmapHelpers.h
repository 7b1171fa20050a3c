#pragma once
// Deriving pictures and colours from skin bitmaps: grey, mirrored, flipped and turned
// copies, colour mixes and cached two-colour gradients painted a line at a time.
#include <cstdint>
#include <vector>

#include <windows.h>

#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/Color.h"

// Makes the bitmap 24 bits per pixel, then every pixel grey: (blue + green + red) / 3.
void GrayscaleBitmap(TBitmap& bitmap);
// Left-right and top-bottom mirror images, in place.
void MirrorBitmap(TBitmap& bitmap);
void FlipBitmap(TBitmap& bitmap);
// A quarter turn counter-clockwise (the top-right corner becomes the top-left one) and
// clockwise (the bottom-left corner becomes the top-left one); width and height exchange.
void RotateBitmapLeft(TBitmap& bitmap);
void RotateBitmapRight(TBitmap& bitmap);

// amount below 100 counts in hundredths of c1, 100 and above in thousandths:
// (c1, c2, 0) is c2, (c1, c2, 1000) is c1. System colours are resolved first.
TColor MixColors(TColor c1, TColor c2, std::int32_t amount);

// The gradient cache: 16 slots, overwritten in turn. A slot holds `length` colours from c1
// towards c2 (a falling channel can stop one step short of c2).
constexpr int kGradientSlots = 16;
int FindGradient(int length, TColor c1, TColor c2);  // slot, or -1
int MakeGradient(int length, TColor c1, TColor c2);  // slot of a new gradient
int GetGradient(int length, TColor c1, TColor c2);   // found or made
const std::vector<TColor>& GradientSlot(int slot);
int NextGradientSlot();

// Paints r with a gradient from c1 to c2: top to bottom when vertical, else left to right.
// Lines outside the DC's clipping box are skipped.
void GradientFill(HDC dc, const RECT& r, TColor c1, bool vertical, TColor c2);
