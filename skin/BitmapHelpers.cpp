#include "skin/BitmapHelpers.h"

#include <array>
#include <cstring>

namespace {
// Raw pixel values of any format, so the copies are exact whatever the bitmap holds.
std::uint32_t GetRaw(const std::uint8_t* row, int x, int bits)
{
    switch (bits) {
    case 1: return (row[x / 8] >> (7 - x % 8)) & 1;
    case 4: return (x & 1) ? row[x / 2] & 0x0F : row[x / 2] >> 4;
    case 8: return row[x];
    case 16: return row[2 * x] | (row[2 * x + 1] << 8);
    case 24: return row[3 * x] | (row[3 * x + 1] << 8) | (row[3 * x + 2] << 16);
    default: {
        std::uint32_t v;
        std::memcpy(&v, row + 4 * x, 4);
        return v;
    }
    }
}

void SetRaw(std::uint8_t* row, int x, int bits, std::uint32_t v)
{
    switch (bits) {
    case 1: {
        const auto bit = static_cast<std::uint8_t>(0x80 >> (x % 8));
        row[x / 8] = v ? row[x / 8] | bit : row[x / 8] & ~bit;
        break;
    }
    case 4: {
        std::uint8_t& b = row[x / 2];
        b = (x & 1) ? static_cast<std::uint8_t>((b & 0xF0) | (v & 0x0F)) : static_cast<std::uint8_t>((b & 0x0F) | ((v & 0x0F) << 4));
        break;
    }
    case 8: row[x] = static_cast<std::uint8_t>(v); break;
    case 16:
        row[2 * x] = static_cast<std::uint8_t>(v);
        row[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
        break;
    case 24:
        row[3 * x] = static_cast<std::uint8_t>(v);
        row[3 * x + 1] = static_cast<std::uint8_t>(v >> 8);
        row[3 * x + 2] = static_cast<std::uint8_t>(v >> 16);
        break;
    default: std::memcpy(row + 4 * x, &v, 4);
    }
}

// Rebuilds `bitmap` as newWidth x newHeight where pixel (x, y) comes from source(x, y).
template <class Source>
void Remap(TBitmap& bitmap, int newWidth, int newHeight, Source source)
{
    if (bitmap.Empty())
        return;
    TBitmap old;
    old.Assign(bitmap);
    const int bits = bitmap.BitsPerPixel();
    bitmap.SetSize(newWidth, newHeight);
    for (int y = 0; y < newHeight; ++y) {
        auto* out = static_cast<std::uint8_t*>(bitmap.ScanLine(y));
        for (int x = 0; x < newWidth; ++x) {
            const auto [sx, sy] = source(x, y);
            SetRaw(out, x, bits, GetRaw(static_cast<const std::uint8_t*>(old.ScanLine(sy)), sx, bits));
        }
    }
}

struct GradientCache {
    std::array<std::vector<TColor>, kGradientSlots> slots;
    int next = 0;
};
GradientCache& Cache()
{
    static GradientCache cache;
    return cache;
}

TColor Pack(int r, int g, int b) { return r + g * 256 + b * 65536; }
} // namespace

void GrayscaleBitmap(TBitmap& bitmap)
{
    bitmap.SetPixelFormat(pf24bit);
    for (int y = 0; y < bitmap.Height(); ++y) {
        auto* p = static_cast<std::uint8_t*>(bitmap.ScanLine(y));
        for (int x = 0; x < bitmap.Width(); ++x, p += 3)
            p[0] = p[1] = p[2] = static_cast<std::uint8_t>((unsigned{p[0]} + p[1] + p[2]) / 3);
    }
}

void MirrorBitmap(TBitmap& bitmap)
{
    const int w = bitmap.Width();
    Remap(bitmap, w, bitmap.Height(), [w](int x, int y) { return std::pair{w - 1 - x, y}; });
}

void FlipBitmap(TBitmap& bitmap)
{
    const int h = bitmap.Height();
    Remap(bitmap, bitmap.Width(), h, [h](int x, int y) { return std::pair{x, h - 1 - y}; });
}

void RotateBitmapLeft(TBitmap& bitmap)
{
    // Old (x, y) lands at (y, W - 1 - x): new (x', y') comes from old (W - 1 - y', x').
    const int w = bitmap.Width();
    Remap(bitmap, bitmap.Height(), w, [w](int x, int y) { return std::pair{w - 1 - y, x}; });
}

void RotateBitmapRight(TBitmap& bitmap)
{
    // Old (x, y) lands at (H - 1 - y, x): new (x', y') comes from old (y', H - 1 - x').
    const int h = bitmap.Height();
    Remap(bitmap, h, bitmap.Width(), [h](int x, int y) { return std::pair{y, h - 1 - x}; });
}

TColor MixColors(TColor c1, TColor c2, std::int32_t amount)
{
    c1 = ColorToRGB(c1);
    c2 = ColorToRGB(c2);
    const std::int32_t scale = amount < 100 ? 100 : 1000;
    auto mix = [&](int shift) {
        const std::int32_t a = (c1 >> shift) & 0xFF, b = (c2 >> shift) & 0xFF;
        return ((b * (scale - amount) + a * amount + scale / 2) / scale) & 0xFF;
    };
    return mix(0) + mix(8) * 256 + mix(16) * 65536;
}

int MakeGradient(int length, TColor c1, TColor c2)
{
    GradientCache& cache = Cache();
    const int slot = cache.next;
    cache.next = (cache.next + 1) % kGradientSlots;
    const int r1 = c1 & 0xFF, g1 = (c1 >> 8) & 0xFF, b1 = (c1 >> 16) & 0xFF;
    const int dr = (c2 & 0xFF) - r1, dg = ((c2 >> 8) & 0xFF) - g1, db = ((c2 >> 16) & 0xFF) - b1;
    std::vector<TColor>& colours = cache.slots[slot];
    colours.assign(length > 0 ? static_cast<std::size_t>(length) : 0, 0);
    const int m = length - 1, half = m / 2;
    if (m > 0) {
        for (int i = 0; i <= m; ++i)
            colours[i] = Pack(r1 + (dr * i + half) / m, g1 + (dg * i + half) / m, b1 + (db * i + half) / m);
    } else if (length == 1) {
        colours[0] = Pack(r1 + dr / 2, g1 + dg / 2, b1 + db / 2);
    }
    return slot;
}

int FindGradient(int length, TColor c1, TColor c2)
{
    const GradientCache& cache = Cache();
    for (int slot = kGradientSlots - 1; slot >= 0; --slot) {
        const std::vector<TColor>& colours = cache.slots[slot];
        if (length > 0 && static_cast<int>(colours.size()) == length && colours.front() == c1 && colours.back() == c2)
            return slot;
    }
    return -1;
}

int GetGradient(int length, TColor c1, TColor c2)
{
    const int slot = FindGradient(length, c1, c2);
    return slot >= 0 ? slot : MakeGradient(length, c1, c2);
}

const std::vector<TColor>& GradientSlot(int slot) { return Cache().slots.at(static_cast<std::size_t>(slot)); }

int NextGradientSlot() { return Cache().next; }

void GradientFill(HDC dc, const RECT& r, TColor c1, bool vertical, TColor c2)
{
    if (!RectVisible(dc, &r))
        return;
    c1 = ColorToRGB(c1);
    c2 = ColorToRGB(c2);
    RECT clip{};
    GetClipBox(dc, &clip);
    const int length = vertical ? r.bottom - r.top : r.right - r.left;
    if (length <= 0)
        return;
    const int before = vertical ? clip.top - r.top : clip.left - r.left;
    const int after = vertical ? r.bottom - clip.bottom : r.right - clip.right;
    const int first = before > 0 ? before : 0;
    int last = length - 1 - (after > 0 ? after : 0);
    if (last > length - 1)
        last = length - 1;
    RECT band = vertical ? RECT{r.left, r.top + first, r.right, r.top + first + 1}
                         : RECT{r.left + first, r.top, r.left + first + 1, r.bottom};
    const std::vector<TColor>& colours = GradientSlot(GetGradient(length, c1, c2));
    for (int i = first; i <= last; ++i) {
        HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(colours[i]));
        FillRect(dc, &band, brush);
        OffsetRect(&band, vertical ? 0 : 1, vertical ? 1 : 0);
        DeleteObject(brush);
    }
}
