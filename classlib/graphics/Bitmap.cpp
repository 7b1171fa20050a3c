#include "classlib/graphics/Bitmap.h"

#include <algorithm>
#include <cstring>

#include "classlib/graphics/BmpCodec.h"
#include "classlib/graphics/Canvas.h"

// The bitmap's canvas: a memory DC with the bitmap selected, made on first use and given
// up whenever the bitmap's handle changes.
class TBitmap::TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap& bitmap) : bitmap_(bitmap) {}
    ~TBitmapCanvas() override { FreeContext(); }

    void FreeContext()
    {
        HDC dc = HandleAllocated() ? Handle() : nullptr;
        if (!dc)
            return;
        SetHandle(nullptr); // deselects the tools
        SelectObject(dc, oldBitmap_);
        DeleteDC(dc);
    }

protected:
    void CreateHandle() override
    {
        HDC dc = CreateCompatibleDC(nullptr);
        if (!dc)
            return;
        oldBitmap_ = bitmap_.handle_ ? SelectObject(dc, bitmap_.handle_) : GetCurrentObject(dc, OBJ_BITMAP);
        SetHandle(dc);
    }

private:
    TBitmap& bitmap_;
    HGDIOBJ oldBitmap_ = nullptr;
};

int PixelFormatBits(TPixelFormat format)
{
    switch (format) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf24bit: return 24;
    default: return 32;
    }
}

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TPixelFormat format)
{
    format_ = format;
    SetSize(width, height);
}

TBitmap::~TBitmap()
{
    canvas_.reset();
    Release();
}

std::unique_ptr<TGraphic> TBitmap::Clone() const
{
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(*this);
    return copy;
}

void TBitmap::Assign(const TBitmap& source)
{
    if (&source == this)
        return;
    GdiFlush();
    Allocate(source.width_, source.height_, source.format_, source.Palette());
    if (bits_ && source.bits_)
        std::memcpy(bits_, source.bits_, static_cast<std::size_t>(RowBytes()) * height_);
    transparentColor_ = source.transparentColor_;
    transparentMode_ = source.transparentMode_;
    SetTransparent(source.Transparent());
    Changed();
}

void TBitmap::DetachCanvas()
{
    if (canvas_)
        canvas_->FreeContext();
}

void TBitmap::Release()
{
    DetachCanvas();
    if (handle_)
        DeleteObject(handle_);
    handle_ = nullptr;
    bits_ = nullptr;
    palette_.clear();
}

void TBitmap::Allocate(int width, int height, TPixelFormat format, const std::vector<RGBQUAD>& palette)
{
    Release();
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    format_ = format == pfCustom ? pfDevice : format;
    if (width_ == 0 || height_ == 0)
        return;

    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width_;
    info.header.biHeight = height_; // bottom-up
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(BitsPerPixel());
    info.header.biCompression = BI_RGB;
    if (format_ == pf16bit) {
        info.header.biCompression = BI_BITFIELDS;
        const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
        std::memcpy(info.colors, masks, sizeof masks);
    } else if (BitsPerPixel() <= 8) { // biClrUsed stays 0 for the other formats
        const std::vector<RGBQUAD> colours = palette.empty() ? DefaultPalette(format_) : palette;
        const std::size_t count = std::min<std::size_t>(colours.size(), std::size_t{1} << BitsPerPixel());
        std::copy_n(colours.begin(), count, info.colors);
        info.header.biClrUsed = static_cast<DWORD>(count);
    }
    palette_.assign(info.colors, info.colors + info.header.biClrUsed);
    void* bits = nullptr;
    handle_ = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!handle_) {
        width_ = height_ = 0;
        throw EInvalidGraphic("Out of system resources");
    }
    bits_ = static_cast<std::uint8_t*>(bits);
    std::memset(bits_, 0, static_cast<std::size_t>(RowBytes()) * height_);
}

int TBitmap::BitsPerPixel() const { return PixelFormatBits(format_); }

int TBitmap::RowBytes() const { return DibRowBytes(width_, BitsPerPixel()); }

void TBitmap::SetSize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_ && (handle_ || width == 0 || height == 0))
        return;
    GdiFlush();
    const int oldWidth = width_, oldHeight = height_, oldRowBytes = RowBytes();
    std::vector<std::uint8_t> old;
    if (bits_)
        old.assign(bits_, bits_ + static_cast<std::size_t>(oldRowBytes) * oldHeight);
    const std::vector<RGBQUAD> palette = Palette();
    Allocate(width, height, format_, palette);
    if (bits_ && !old.empty()) {
        const int rows = std::min(oldHeight, height_);
        const int bytes = std::min(DibRowBytes(std::min(oldWidth, width_), BitsPerPixel()), RowBytes());
        for (int y = 0; y < rows; ++y)
            std::memcpy(ScanLine(y), old.data() + static_cast<std::size_t>(oldHeight - 1 - y) * oldRowBytes, bytes);
    }
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format)
{
    if (format == pfCustom || format == format_)
        return;
    if (!handle_) {
        format_ = format;
        return;
    }
    GdiFlush();
    TBitmap old;
    old.Assign(*this);
    Allocate(old.width_, old.height_, format, {});
    const std::vector<RGBQUAD> from = old.Palette(), to = Palette();
    for (int y = 0; y < height_; ++y) {
        const auto* in = static_cast<const std::uint8_t*>(old.ScanLine(y));
        auto* out = static_cast<std::uint8_t*>(ScanLine(y));
        for (int x = 0; x < width_; ++x)
            WritePixel(out, x, format_, to, ReadPixel(in, x, old.format_, from));
    }
    Changed();
}

void* TBitmap::ScanLine(int row)
{
    if (!bits_ || row < 0 || row >= height_)
        throw EInvalidGraphic("Scan line index out of range");
    GdiFlush(); // drawing into a DIB section may still be queued
    return bits_ + static_cast<std::size_t>(height_ - 1 - row) * RowBytes();
}

const void* TBitmap::ScanLine(int row) const { return const_cast<TBitmap*>(this)->ScanLine(row); }

std::vector<RGBQUAD> TBitmap::Palette() const { return palette_; }

void TBitmap::SetPalette(const std::vector<RGBQUAD>& colours)
{
    if (!handle_ || BitsPerPixel() > 8 || colours.empty())
        return;
    const std::size_t count = std::min<std::size_t>(colours.size(), std::size_t{1} << BitsPerPixel());
    // The bitmap can be selected into one DC only: use the canvas's when it has one.
    const bool own = !(canvas_ && canvas_->HandleAllocated());
    HDC dc = own ? CreateCompatibleDC(nullptr) : canvas_->Handle();
    HGDIOBJ old = own ? SelectObject(dc, handle_) : nullptr;
    SetDIBColorTable(dc, 0, static_cast<UINT>(count), colours.data());
    if (own) {
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    palette_.assign(colours.begin(), colours.begin() + static_cast<std::ptrdiff_t>(count));
    Changed();
}

TCanvas* TBitmap::Canvas()
{
    if (!canvas_)
        canvas_ = std::make_unique<TBitmapCanvas>(*this);
    return canvas_.get();
}

void TBitmap::SetHandle(HBITMAP bitmap)
{
    if (bitmap == handle_)
        return;
    if (!bitmap) {
        Release();
        width_ = height_ = 0;
        Changed();
        return;
    }
    DIBSECTION ds{};
    const int got = GetObjectW(bitmap, sizeof ds, &ds);
    if (got == 0) {
        DeleteObject(bitmap);
        throw EInvalidGraphic("Bitmap image is not valid");
    }
    const bool isDib = got == sizeof(DIBSECTION);
    TPixelFormat format = pfDevice;
    if (isDib) {
        switch (ds.dsBm.bmBitsPixel) {
        case 1: format = pf1bit; break;
        case 4: format = pf4bit; break;
        case 8: format = pf8bit; break;
        case 16: format = ds.dsBmih.biCompression == BI_BITFIELDS && ds.dsBitfields[1] == 0x07E0 ? pf16bit : pf15bit; break;
        case 24: format = pf24bit; break;
        default: format = pf32bit;
        }
    }
    const int w = ds.dsBm.bmWidth, h = ds.dsBm.bmHeight;
    HDC screen = GetDC(nullptr);
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = w;
    info.header.biHeight = h;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(PixelFormatBits(format));
    info.header.biCompression = format == pf16bit ? BI_BITFIELDS : BI_RGB;
    std::vector<RGBQUAD> palette;
    if (PixelFormatBits(format) <= 8) {
        // A first call without bits fills in the colour table.
        GetDIBits(screen, bitmap, 0, static_cast<UINT>(h), nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
        palette.assign(info.colors, info.colors + (std::size_t{1} << PixelFormatBits(format)));
    }
    Allocate(w, h, format, palette);
    if (bits_) {
        info.header.biBitCount = static_cast<WORD>(BitsPerPixel());
        if (format == pf16bit) {
            const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
            std::memcpy(info.colors, masks, sizeof masks);
        }
        GetDIBits(screen, bitmap, 0, static_cast<UINT>(h), bits_, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    }
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    Changed();
}

HBITMAP TBitmap::ReleaseHandle()
{
    DetachCanvas();
    GdiFlush();
    HBITMAP h = handle_;
    handle_ = nullptr;
    bits_ = nullptr;
    palette_.clear();
    width_ = height_ = 0;
    Changed();
    return h;
}

TColor TBitmap::PixelColor(int x, int y) const
{
    if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_)
        return clNone;
    const auto* row = static_cast<const std::uint8_t*>(ScanLine(y));
    return static_cast<TColor>(ReadPixel(row, x, format_, palette_));
}

TColor TBitmap::TransparentColor() const
{
    if (transparentMode_ == tmFixed && transparentColor_ != clDefault)
        return transparentColor_;
    return Empty() ? clNone : PixelColor(0, height_ - 1);
}

void TBitmap::SetTransparentColor(TColor color)
{
    transparentColor_ = color;
    transparentMode_ = color == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::Draw(TCanvas& canvas, const RECT& r)
{
    if (Empty())
        return;
    HDC dest = canvas.Handle();
    HDC src = Canvas()->Handle();
    if (!dest || !src)
        return;
    GdiFlush();
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (Transparent()) {
        TransparentBlt(dest, r.left, r.top, w, h, src, 0, 0, width_, height_,
                       static_cast<UINT>(ColorToRGB(TransparentColor())));
    } else {
        SetStretchBltMode(dest, COLORONCOLOR);
        StretchBlt(dest, r.left, r.top, w, h, src, 0, 0, width_, height_, SRCCOPY);
    }
}

void TBitmap::LoadFromData(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) { // what an empty bitmap saves
        Allocate(0, 0, format_, {});
        Changed();
        return;
    }
    const TDibData dib = DecodeBmpFile(data, size);
    Allocate(dib.width, dib.height, dib.format, dib.palette);
    for (int y = 0; y < height_; ++y)
        std::memcpy(ScanLine(y), dib.pixels.data() + static_cast<std::size_t>(y) * dib.RowBytes(), RowBytes());
    Changed();
}

std::vector<std::uint8_t> TBitmap::SaveToData() const
{
    if (Empty())
        return {};
    TDibData dib;
    dib.width = width_;
    dib.height = height_;
    dib.format = format_ == pfDevice ? pf32bit : format_;
    dib.palette = Palette();
    dib.pixels.resize(static_cast<std::size_t>(RowBytes()) * height_);
    for (int y = 0; y < height_; ++y)
        std::memcpy(dib.pixels.data() + static_cast<std::size_t>(y) * RowBytes(), ScanLine(y), RowBytes());
    return EncodeBmpFile(dib);
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::wstring& name)
{
    HRSRC res = FindResourceW(instance, name.c_str(), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
    HGLOBAL mem = res ? LoadResource(instance, res) : nullptr;
    const void* data = mem ? LockResource(mem) : nullptr;
    if (!data)
        throw EInvalidGraphic("Bitmap resource not found");
    const TDibData dib = DecodePackedDib(static_cast<const std::uint8_t*>(data), SizeofResource(instance, res));
    Allocate(dib.width, dib.height, dib.format, dib.palette);
    for (int y = 0; y < height_; ++y)
        std::memcpy(ScanLine(y), dib.pixels.data() + static_cast<std::size_t>(y) * dib.RowBytes(), RowBytes());
    Changed();
}

std::vector<std::uint8_t> TBitmap::Data() const
{
    const std::vector<std::uint8_t> file = SaveToData();
    std::vector<std::uint8_t> out;
    const auto n = static_cast<std::uint32_t>(file.size());
    for (int k = 0; k < 4; ++k)
        out.push_back(static_cast<std::uint8_t>(n >> (8 * k)));
    out.insert(out.end(), file.begin(), file.end());
    return out;
}

void TBitmap::SetData(const std::vector<std::uint8_t>& data)
{
    if (data.size() < 4)
        throw EInvalidGraphic("Stored picture is truncated");
    const std::uint32_t n = data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<std::uint32_t>(data[3]) << 24);
    if (n > data.size() - 4)
        throw EInvalidGraphic("Stored picture is truncated");
    LoadFromData(data.data() + 4, n);
}
