#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include <windows.h>

#include "classlib/graphics/Color.h"
#include "classlib/graphics/Graphic.h"

class TCanvas;

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };

// A bitmap held in a DIB section, rows bottom-up as the system keeps them (ScanLine(0) is
// the top row at the highest address). pfDevice bitmaps are 32-bit DIB sections that report
// pfDevice; 1-, 4- and 8-bit bitmaps carry a colour table. A bitmap with a zero width or
// height has no handle.
class TBitmap : public TGraphic {
public:
    TBitmap();
    TBitmap(int width, int height, TPixelFormat format = pfDevice);
    ~TBitmap() override;

    std::string ClassName() const override { return "TBitmap"; }
    std::unique_ptr<TGraphic> Clone() const override;
    void Assign(const TBitmap& source);

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    bool Empty() const override { return width_ == 0 || height_ == 0; }
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }
    // Keeps the overlapping top-left part of the picture; new pixels are black.
    void SetSize(int width, int height);

    TPixelFormat PixelFormat() const { return format_; }
    // Converts the picture to the new format.
    void SetPixelFormat(TPixelFormat format);
    int BitsPerPixel() const;

    // Row `row` (0 = top) of the pixels; rows are RowBytes() apart, 4-byte aligned.
    void* ScanLine(int row);
    const void* ScanLine(int row) const;
    int RowBytes() const;

    // The colour table of a 1-, 4- or 8-bit bitmap.
    std::vector<RGBQUAD> Palette() const;
    void SetPalette(const std::vector<RGBQUAD>& colours);

    TCanvas* Canvas();
    HBITMAP Handle() const { return handle_; }
    // Takes over a bitmap (a DIB section or a device bitmap); its picture is copied and the
    // handle deleted.
    void SetHandle(HBITMAP bitmap);
    // Gives the handle to the caller; the bitmap is empty afterwards.
    HBITMAP ReleaseHandle();

    // tmAuto: the colour of the bottom-left pixel; tmFixed: the colour set.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor color);
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode mode) { transparentMode_ = mode; }

    void Draw(TCanvas& canvas, const RECT& r) override;

    // BMP files: core, info, v4 and v5 headers; 1, 4, 8, 16, 24 and 32 bits; uncompressed,
    // bit fields and RLE. Top-down files load too. Saving writes an info header and keeps
    // the pixel format (pfDevice saves as 32 bits).
    void LoadFromData(const std::uint8_t* data, std::size_t size) override;
    using TGraphic::LoadFromData;
    std::vector<std::uint8_t> SaveToData() const override;
    // The stored form (a button's Glyph): a 32-bit little-endian length, then the BMP file.
    std::vector<std::uint8_t> Data() const;
    void SetData(const std::vector<std::uint8_t>& data);
    // A BITMAP resource of a module.
    void LoadFromResourceName(HINSTANCE instance, const std::wstring& name);

    // The colour at (x, y), read from the pixels (no DC needed).
    TColor PixelColor(int x, int y) const;

private:
    class TBitmapCanvas;
    friend class TBitmapCanvas;

    void Allocate(int width, int height, TPixelFormat format, const std::vector<RGBQUAD>& palette);
    void Release();
    void DetachCanvas();

    int width_ = 0, height_ = 0;
    TPixelFormat format_ = pfDevice;
    HBITMAP handle_ = nullptr;
    std::uint8_t* bits_ = nullptr;
    std::vector<RGBQUAD> palette_; // the DIB's colour table, kept here to read pixels without a DC
    std::unique_ptr<TBitmapCanvas> canvas_;
    TColor transparentColor_ = clDefault;
    TTransparentMode transparentMode_ = tmAuto;
};

// Bits per pixel of a format (pfDevice: 32).
int PixelFormatBits(TPixelFormat format);
