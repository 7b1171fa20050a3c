#pragma once
// BMP files and packed DIBs to and from plain pixel rows (internal to the graphics classes).
#include <cstddef>
#include <cstdint>
#include <vector>

#include <windows.h>

#include "classlib/graphics/Bitmap.h"

struct TDibData {
    int width = 0;
    int height = 0;
    TPixelFormat format = pf24bit; // pf1bit ... pf32bit
    std::vector<RGBQUAD> palette;  // 1-, 4- and 8-bit formats
    std::vector<std::uint8_t> pixels; // top row first, RowBytes() per row
    int RowBytes() const;
};

// Bytes of one 4-byte aligned row.
int DibRowBytes(int width, int bitsPerPixel);

// Throw EInvalidGraphic("Bitmap image is not valid") on anything they cannot read safely.
TDibData DecodeBmpFile(const std::uint8_t* data, std::size_t size);
TDibData DecodePackedDib(const std::uint8_t* data, std::size_t size);
std::vector<std::uint8_t> EncodeBmpFile(const TDibData& dib);

// One pixel of a row as 0x00BBGGRR, and back (palette formats take the nearest entry).
std::uint32_t ReadPixel(const std::uint8_t* row, int x, TPixelFormat format, const std::vector<RGBQUAD>& palette);
void WritePixel(std::uint8_t* row, int x, TPixelFormat format, const std::vector<RGBQUAD>& palette, std::uint32_t rgb);

// The colour table a new bitmap of the format gets (black first).
std::vector<RGBQUAD> DefaultPalette(TPixelFormat format);
