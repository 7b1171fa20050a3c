#pragma once
// Small helpers shared by the graphics tests.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "classlib/graphics/Bitmap.h"

// A bitmap of the format filled by f(x, y) -> 0x00BBGGRR through the canvas-free pixel path.
std::unique_ptr<TBitmap> MakeBitmap(int width, int height, TPixelFormat format, std::uint32_t (*f)(int x, int y));

// Writes one pixel of any format (nearest palette entry for palette formats).
void PutPixel(TBitmap& bitmap, int x, int y, TColor rgb);

// A baseline JPEG made with libjpeg: the left half red, the right half blue.
std::vector<std::uint8_t> MakeTwoColourJpeg(int width, int height, int components = 3);

// Little-endian writers for handmade files.
void Put16(std::vector<std::uint8_t>& out, std::uint32_t v);
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v);

// A path of the source tree as Wine sees it.
std::string SourcePath(const std::string& relative);

// Channels differ by at most `tolerance`.
bool Near(TColor a, TColor b, int tolerance);
