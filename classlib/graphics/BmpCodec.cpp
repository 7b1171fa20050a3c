#include "classlib/graphics/BmpCodec.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr std::int64_t kMaxPixelBytes = std::int64_t{1} << 28; // 256 MB of rows at most

[[noreturn]] void Invalid() { throw EInvalidGraphic("Bitmap image is not valid"); }

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t U32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
void Put16(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

int FormatBits(TPixelFormat f) { return PixelFormatBits(f); }

// A channel described by a bit mask, scaled to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
    explicit Channel(std::uint32_t m) : mask(m)
    {
        if (!m)
            return;
        while (!((m >> shift) & 1))
            ++shift;
        while (shift + bits < 32 && ((m >> (shift + bits)) & 1))
            ++bits;
    }
    std::uint8_t Get(std::uint32_t v) const
    {
        if (!bits)
            return 0;
        const std::uint32_t raw = (v & mask) >> shift;
        const std::uint32_t max = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
        return static_cast<std::uint8_t>((static_cast<std::uint64_t>(raw) * 255 + max / 2) / max);
    }
};

// Decodes run-length rows into index rows (top row first).
void DecodeRle(const std::uint8_t* src, std::size_t size, bool four, TDibData& dib, bool bottomUp)
{
    const int w = dib.width, h = dib.height;
    auto put = [&](int x, int y, int index) {
        if (x < 0 || x >= w || y < 0 || y >= h)
            return; // runs past the edge are cut off, not an error
        const int row = bottomUp ? h - 1 - y : y;
        std::uint8_t* line = dib.pixels.data() + static_cast<std::size_t>(row) * dib.RowBytes();
        if (four) {
            std::uint8_t& b = line[x / 2];
            b = (x & 1) ? static_cast<std::uint8_t>((b & 0xF0) | (index & 0x0F))
                        : static_cast<std::uint8_t>((b & 0x0F) | ((index & 0x0F) << 4));
        } else {
            line[x] = static_cast<std::uint8_t>(index);
        }
    };
    std::size_t i = 0;
    int x = 0, y = 0;
    while (i + 1 < size && y < h) {
        const int count = src[i], value = src[i + 1];
        i += 2;
        if (count > 0) {
            for (int k = 0; k < count; ++k)
                put(x + k, y, four ? ((k & 1) ? value & 0x0F : value >> 4) : value);
            x += count;
        } else if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of bitmap
            return;
        } else if (value == 2) { // delta
            if (i + 1 >= size)
                return;
            x += src[i];
            y += src[i + 1];
            i += 2;
        } else { // absolute run of `value` pixels, padded to a word
            const std::size_t bytes = four ? (static_cast<std::size_t>(value) + 1) / 2 : value;
            if (i + bytes > size)
                Invalid();
            for (int k = 0; k < value; ++k) {
                const std::uint8_t b = src[i + (four ? k / 2 : k)];
                put(x + k, y, four ? ((k & 1) ? b & 0x0F : b >> 4) : b);
            }
            x += value;
            i += (bytes + 1) & ~std::size_t{1};
        }
    }
}

// pixelOffset: where the rows start, from the start of `data` (the info header); -1 when
// they follow the colour table directly (packed DIB).
TDibData Decode(const std::uint8_t* data, std::size_t size, std::int64_t pixelOffset)
{
    if (size < 12)
        Invalid();
    const std::uint32_t headerSize = U32(data);
    if (headerSize != 12 && (headerSize < 40 || headerSize > size))
        Invalid();
    std::int64_t width, height;
    int bits;
    std::uint32_t compression = BI_RGB, colorsUsed = 0;
    bool core = headerSize == 12;
    if (core) {
        width = U16(data + 4);
        height = static_cast<std::int16_t>(U16(data + 6));
        if (U16(data + 8) != 1)
            Invalid();
        bits = U16(data + 10);
    } else {
        width = static_cast<std::int32_t>(U32(data + 4));
        height = static_cast<std::int32_t>(U32(data + 8));
        if (U16(data + 12) != 1)
            Invalid();
        bits = U16(data + 14);
        compression = U32(data + 16);
        colorsUsed = U32(data + 32);
    }
    const bool bottomUp = height > 0;
    height = height < 0 ? -height : height;
    if (width <= 0 || height <= 0 || width > 0x7FFF'FFFF || height > 0x7FFF'FFFF)
        Invalid();

    std::size_t pos = headerSize;
    std::uint32_t masks[3] = {0, 0, 0};
    if (compression == BI_BITFIELDS) {
        if (bits != 16 && bits != 32)
            Invalid();
        if (headerSize >= 52) {
            for (int k = 0; k < 3; ++k)
                masks[k] = U32(data + 40 + 4 * k);
        } else {
            if (pos + 12 > size)
                Invalid();
            for (int k = 0; k < 3; ++k)
                masks[k] = U32(data + pos + 4 * k);
            pos += 12;
        }
    } else if (compression == BI_RLE8) {
        if (bits != 8 || !bottomUp)
            Invalid();
    } else if (compression == BI_RLE4) {
        if (bits != 4 || !bottomUp)
            Invalid();
    } else if (compression != BI_RGB) {
        Invalid();
    }

    TDibData dib;
    dib.width = static_cast<int>(width);
    dib.height = static_cast<int>(height);
    switch (bits) {
    case 1: dib.format = pf1bit; break;
    case 4: dib.format = pf4bit; break;
    case 8: dib.format = pf8bit; break;
    case 16: dib.format = pf15bit; break;
    case 24: dib.format = pf24bit; break;
    case 32: dib.format = pf32bit; break;
    default: Invalid();
    }
    const std::int64_t srcRowBytes = (width * bits + 31) / 32 * 4;
    if (srcRowBytes * height > kMaxPixelBytes || (width * 32 + 31) / 32 * 4 * height > kMaxPixelBytes)
        Invalid();

    if (bits <= 8) {
        const std::uint32_t maxColors = 1u << bits;
        const std::uint32_t count = colorsUsed == 0 || colorsUsed > maxColors ? maxColors : colorsUsed;
        const std::size_t entry = core ? 3 : 4;
        // A short table is taken as far as it goes (some writers omit unused entries).
        for (std::uint32_t k = 0; k < count && pos + entry <= size; ++k, pos += entry) {
            if (pixelOffset >= 0 && static_cast<std::int64_t>(pos + entry) > pixelOffset)
                break;
            dib.palette.push_back(RGBQUAD{data[pos], data[pos + 1], data[pos + 2], 0});
        }
        if (dib.palette.empty())
            Invalid();
    } else if (!core && colorsUsed > 0 && colorsUsed <= 256 && pixelOffset < 0) {
        pos += static_cast<std::size_t>(colorsUsed) * 4; // an optional table that nothing uses
    }

    const std::size_t start = pixelOffset >= 0 ? static_cast<std::size_t>(pixelOffset) : pos;
    if (start > size)
        Invalid();
    const std::uint8_t* src = data + start;
    const std::size_t available = size - start;

    const bool standard16 = bits == 16 && (compression == BI_RGB ||
                                           (masks[0] == 0x7C00 && masks[1] == 0x03E0 && masks[2] == 0x001F));
    const bool is565 = bits == 16 && masks[0] == 0xF800 && masks[1] == 0x07E0 && masks[2] == 0x001F;
    const bool standard32 = bits == 32 && (compression == BI_RGB ||
                                           (masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF));
    if (is565)
        dib.format = pf16bit;
    const bool remap = (bits == 16 || bits == 32) && !standard16 && !is565 && !standard32;
    if (remap)
        dib.format = pf32bit;

    dib.pixels.assign(static_cast<std::size_t>(dib.RowBytes()) * dib.height, 0);
    if (compression == BI_RLE8 || compression == BI_RLE4) {
        DecodeRle(src, available, compression == BI_RLE4, dib, true);
        return dib;
    }
    if (static_cast<std::int64_t>(available) < srcRowBytes * height)
        Invalid();
    for (int y = 0; y < dib.height; ++y) {
        const std::uint8_t* in = src + srcRowBytes * (bottomUp ? height - 1 - y : y);
        std::uint8_t* out = dib.pixels.data() + static_cast<std::size_t>(y) * dib.RowBytes();
        if (!remap) {
            std::memcpy(out, in, static_cast<std::size_t>(std::min<std::int64_t>(srcRowBytes, dib.RowBytes())));
            continue;
        }
        const Channel r(masks[0]), g(masks[1]), b(masks[2]);
        for (int x = 0; x < dib.width; ++x) {
            const std::uint32_t v = bits == 16 ? U16(in + 2 * x) : U32(in + 4 * x);
            out[4 * x] = b.Get(v);
            out[4 * x + 1] = g.Get(v);
            out[4 * x + 2] = r.Get(v);
            out[4 * x + 3] = 0;
        }
    }
    return dib;
}
} // namespace

int DibRowBytes(int width, int bitsPerPixel)
{
    return static_cast<int>((static_cast<std::int64_t>(width) * bitsPerPixel + 31) / 32 * 4);
}

int TDibData::RowBytes() const { return DibRowBytes(width, FormatBits(format)); }

TDibData DecodeBmpFile(const std::uint8_t* data, std::size_t size)
{
    if (size < 14 + 12 || data[0] != 'B' || data[1] != 'M')
        Invalid();
    const std::uint32_t offBits = U32(data + 10);
    if (offBits < 14 + 12 || offBits > size)
        Invalid();
    return Decode(data + 14, size - 14, offBits - 14);
}

TDibData DecodePackedDib(const std::uint8_t* data, std::size_t size) { return Decode(data, size, -1); }

std::vector<std::uint8_t> EncodeBmpFile(const TDibData& dib)
{
    const TPixelFormat format = dib.format == pfDevice ? pf32bit : dib.format;
    const int bits = FormatBits(format);
    const bool fields = format == pf16bit;
    const std::uint32_t colors = bits <= 8 ? static_cast<std::uint32_t>(dib.palette.size()) : 0;
    const std::uint32_t rowBytes = static_cast<std::uint32_t>(DibRowBytes(dib.width, bits));
    const std::uint32_t imageSize = rowBytes * static_cast<std::uint32_t>(dib.height);
    const std::uint32_t offBits = 14 + 40 + (fields ? 12 : 0) + colors * 4;

    std::vector<std::uint8_t> out;
    out.reserve(offBits + imageSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, offBits + imageSize);
    Put32(out, 0);
    Put32(out, offBits);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(dib.width));
    Put32(out, static_cast<std::uint32_t>(dib.height)); // bottom-up
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(bits));
    Put32(out, fields ? BI_BITFIELDS : BI_RGB);
    Put32(out, imageSize);
    Put32(out, 3780); // 96 dpi
    Put32(out, 3780);
    Put32(out, colors);
    Put32(out, 0);
    if (fields) {
        Put32(out, 0xF800);
        Put32(out, 0x07E0);
        Put32(out, 0x001F);
    }
    for (std::uint32_t k = 0; k < colors; ++k) {
        const RGBQUAD& q = dib.palette[k];
        out.insert(out.end(), {q.rgbBlue, q.rgbGreen, q.rgbRed, 0});
    }
    for (int y = dib.height - 1; y >= 0; --y) {
        const std::uint8_t* row = dib.pixels.data() + static_cast<std::size_t>(y) * rowBytes;
        out.insert(out.end(), row, row + rowBytes);
    }
    return out;
}

std::uint32_t ReadPixel(const std::uint8_t* row, int x, TPixelFormat format, const std::vector<RGBQUAD>& palette)
{
    auto fromPalette = [&](unsigned index) -> std::uint32_t {
        if (index >= palette.size())
            return 0;
        const RGBQUAD& q = palette[index];
        return q.rgbRed | (q.rgbGreen << 8) | (q.rgbBlue << 16);
    };
    switch (format) {
    case pf1bit: return fromPalette((row[x / 8] >> (7 - x % 8)) & 1);
    case pf4bit: return fromPalette((x & 1) ? row[x / 2] & 0x0F : row[x / 2] >> 4);
    case pf8bit: return fromPalette(row[x]);
    case pf15bit: {
        const unsigned v = U16(row + 2 * x);
        const unsigned r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
        return ((r << 3) | (r >> 2)) | (((g << 3) | (g >> 2)) << 8) | (((b << 3) | (b >> 2)) << 16);
    }
    case pf16bit: {
        const unsigned v = U16(row + 2 * x);
        const unsigned r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
        return ((r << 3) | (r >> 2)) | (((g << 2) | (g >> 4)) << 8) | (((b << 3) | (b >> 2)) << 16);
    }
    case pf24bit: return row[3 * x + 2] | (row[3 * x + 1] << 8) | (row[3 * x] << 16);
    default: return row[4 * x + 2] | (row[4 * x + 1] << 8) | (row[4 * x] << 16);
    }
}

void WritePixel(std::uint8_t* row, int x, TPixelFormat format, const std::vector<RGBQUAD>& palette, std::uint32_t rgb)
{
    const unsigned r = rgb & 0xFF, g = (rgb >> 8) & 0xFF, b = (rgb >> 16) & 0xFF;
    auto nearest = [&]() -> unsigned {
        unsigned best = 0, bestDistance = ~0u;
        for (unsigned k = 0; k < palette.size(); ++k) {
            const int dr = int(palette[k].rgbRed) - int(r), dg = int(palette[k].rgbGreen) - int(g),
                      db = int(palette[k].rgbBlue) - int(b);
            const unsigned d = static_cast<unsigned>(dr * dr + dg * dg + db * db);
            if (d < bestDistance) {
                bestDistance = d;
                best = k;
            }
        }
        return best;
    };
    switch (format) {
    case pf1bit: {
        const std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (x % 8));
        row[x / 8] = nearest() ? row[x / 8] | bit : row[x / 8] & ~bit;
        break;
    }
    case pf4bit: {
        const unsigned i = nearest();
        std::uint8_t& v = row[x / 2];
        v = (x & 1) ? static_cast<std::uint8_t>((v & 0xF0) | i) : static_cast<std::uint8_t>((v & 0x0F) | (i << 4));
        break;
    }
    case pf8bit: row[x] = static_cast<std::uint8_t>(nearest()); break;
    case pf15bit: {
        const unsigned v = ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
        row[2 * x] = static_cast<std::uint8_t>(v);
        row[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
        break;
    }
    case pf16bit: {
        const unsigned v = ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
        row[2 * x] = static_cast<std::uint8_t>(v);
        row[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
        break;
    }
    case pf24bit:
        row[3 * x] = static_cast<std::uint8_t>(b);
        row[3 * x + 1] = static_cast<std::uint8_t>(g);
        row[3 * x + 2] = static_cast<std::uint8_t>(r);
        break;
    default:
        row[4 * x] = static_cast<std::uint8_t>(b);
        row[4 * x + 1] = static_cast<std::uint8_t>(g);
        row[4 * x + 2] = static_cast<std::uint8_t>(r);
        row[4 * x + 3] = 0;
    }
}

std::vector<RGBQUAD> DefaultPalette(TPixelFormat format)
{
    std::vector<RGBQUAD> p;
    auto add = [&](int r, int g, int b) {
        p.push_back(RGBQUAD{static_cast<BYTE>(b), static_cast<BYTE>(g), static_cast<BYTE>(r), 0});
    };
    if (format == pf1bit) {
        add(0, 0, 0);
        add(255, 255, 255);
    } else if (format == pf4bit) {
        static const int kVga[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                        {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {128, 128, 128},
                                        {192, 192, 192}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                        {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
        for (const auto& c : kVga)
            add(c[0], c[1], c[2]);
    } else if (format == pf8bit) {
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    add(r * 51, g * 51, b * 51);
        for (int k = 0; k < 40; ++k) // greys between the cube's steps
            add(k * 255 / 39, k * 255 / 39, k * 255 / 39);
    }
    return p;
}
