// BMP files: round trips in every format, handmade files of other writers, broken files.
#include <gtest/gtest.h>

#include "GraphicsTestKit.h"

namespace {
std::uint32_t Pattern(int x, int y) { return RGBColor((x * 37) & 0xFF, (y * 91) & 0xFF, (x * y * 13) & 0xFF); }
std::uint32_t Cube(int x, int y) { return RGBColor((x % 6) * 51, (y % 6) * 51, ((x * y) % 6) * 51); }

// A BMP file as another program would write it. `rows` are given top row first and are
// stored bottom-up unless height is negative.
std::vector<std::uint8_t> Handmade(int width, int height, int bits, std::uint32_t compression,
                                   const std::vector<std::uint32_t>& palette,
                                   const std::vector<std::vector<std::uint8_t>>& rows,
                                   const std::vector<std::uint32_t>& masks = {}, std::uint32_t headerSize = 40)
{
    std::vector<std::uint8_t> pixels;
    if (height > 0)
        for (auto it = rows.rbegin(); it != rows.rend(); ++it)
            pixels.insert(pixels.end(), it->begin(), it->end());
    else
        for (const auto& r : rows)
            pixels.insert(pixels.end(), r.begin(), r.end());
    const std::uint32_t tableBytes =
        static_cast<std::uint32_t>(palette.size() * (headerSize == 12 ? 3 : 4) + (headerSize == 40 ? masks.size() * 4 : 0));
    const std::uint32_t offBits = 14 + headerSize + tableBytes;
    std::vector<std::uint8_t> f{'B', 'M'};
    Put32(f, offBits + static_cast<std::uint32_t>(pixels.size()));
    Put32(f, 0);
    Put32(f, offBits);
    Put32(f, headerSize);
    if (headerSize == 12) {
        Put16(f, static_cast<std::uint32_t>(width));
        Put16(f, static_cast<std::uint32_t>(height));
        Put16(f, 1);
        Put16(f, static_cast<std::uint32_t>(bits));
    } else {
        Put32(f, static_cast<std::uint32_t>(width));
        Put32(f, static_cast<std::uint32_t>(height));
        Put16(f, 1);
        Put16(f, static_cast<std::uint32_t>(bits));
        Put32(f, compression);
        Put32(f, static_cast<std::uint32_t>(pixels.size()));
        Put32(f, 2835);
        Put32(f, 2835);
        Put32(f, static_cast<std::uint32_t>(palette.size()));
        Put32(f, 0);
        for (std::uint32_t k = 40; k < headerSize; k += 4) // v4/v5: masks first, the rest zero
            Put32(f, (k - 40) / 4 < masks.size() ? masks[(k - 40) / 4] : 0);
        if (headerSize == 40)
            for (std::uint32_t m : masks)
                Put32(f, m);
    }
    for (std::uint32_t c : palette) { // 0x00RRGGBB as written in files: blue first
        f.push_back(static_cast<std::uint8_t>(c));
        f.push_back(static_cast<std::uint8_t>(c >> 8));
        f.push_back(static_cast<std::uint8_t>(c >> 16));
        if (headerSize != 12)
            f.push_back(0);
    }
    f.insert(f.end(), pixels.begin(), pixels.end());
    return f;
}
} // namespace

TEST(BmpFile, EveryFormatSurvivesSaveAndLoad)
{
    const TPixelFormat formats[] = {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit};
    for (TPixelFormat f : formats) {
        SCOPED_TRACE(f);
        auto b = MakeBitmap(13, 7, f, f == pf8bit ? Cube : Pattern);
        const std::vector<std::uint8_t> file = b->SaveToData();
        ASSERT_GT(file.size(), 54u);
        EXPECT_EQ(file[0], 'B');
        EXPECT_EQ(file[28], PixelFormatBits(f)); // biBitCount
        TBitmap c;
        c.LoadFromData(file);
        EXPECT_EQ(c.PixelFormat(), f);
        EXPECT_EQ(c.Width(), 13);
        EXPECT_EQ(c.Height(), 7);
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 13; ++x)
                ASSERT_EQ(c.PixelColor(x, y), b->PixelColor(x, y)) << x << "," << y;
        EXPECT_EQ(c.SaveToData(), file); // saving again gives the same bytes
    }
    // pfDevice saves as 32 bits.
    TBitmap d(3, 2);
    EXPECT_EQ(d.SaveToData()[28], 32);
}

TEST(BmpFile, FilesOfOtherWritersLoad)
{
    const std::vector<std::vector<std::uint8_t>> rows24 = {
        {0, 0, 255, 0, 255, 0, 0, 0}, // top: red, green (blue-green-red bytes), padding
        {255, 0, 0, 255, 255, 255, 0, 0}}; // bottom: blue, white
    struct Case {
        const char* name;
        std::vector<std::uint8_t> file;
        TPixelFormat format;
    } cases[] = {
        {"bottom-up 24", Handmade(2, 2, 24, BI_RGB, {}, rows24), pf24bit},
        {"top-down 24", Handmade(2, -2, 24, BI_RGB, {}, rows24), pf24bit},
        {"v5 header", Handmade(2, 2, 24, BI_RGB, {}, rows24, {}, 124), pf24bit},
        {"core header 8-bit", Handmade(2, 2, 8, BI_RGB, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF},
                                        {{0, 1, 0, 0}, {2, 3, 0, 0}}, {}, 12), pf8bit},
        {"8-bit short table", Handmade(2, 2, 8, BI_RGB, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF},
                                        {{0, 1, 0, 0}, {2, 3, 0, 0}}), pf8bit},
        {"4-bit", Handmade(2, 2, 4, BI_RGB, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}, {{0x01, 0, 0, 0}, {0x23, 0, 0, 0}}),
         pf4bit},
        {"32-bit alpha first", Handmade(2, 2, 32, BI_BITFIELDS, {},
                                        {{0xFF, 0xFF, 0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00}, // alpha in the low byte
                                         {0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
                                        {0x0000FF00, 0x00FF0000, 0xFF000000}),
         pf32bit},
        {"16-bit 565 in v4", Handmade(2, 2, 16, BI_BITFIELDS, {},
                                      {{0x00, 0xF8, 0xE0, 0x07}, {0x1F, 0x00, 0xFF, 0xFF}},
                                      {0xF800, 0x07E0, 0x001F}, 108),
         pf16bit},
        // Stored bottom row first: two of index 2, end of line, then one of index 1, one of 3.
        {"RLE8", Handmade(2, 2, 8, BI_RLE8, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF},
                          {{1, 1, 1, 3, 0, 0}, {2, 2, 0, 0}}),
         pf8bit},
    };
    // Every picture is red, green over blue, white (the RLE one green, white over blue, blue).
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        TBitmap b;
        ASSERT_NO_THROW(b.LoadFromData(c.file));
        EXPECT_EQ(b.PixelFormat(), c.format);
        ASSERT_EQ(b.Width(), 2);
        ASSERT_EQ(b.Height(), 2);
        if (std::string(c.name) == "RLE8") {
            EXPECT_EQ(b.PixelColor(0, 0), clLime);
            EXPECT_EQ(b.PixelColor(1, 0), clWhite);
            EXPECT_EQ(b.PixelColor(0, 1), clBlue);
            EXPECT_EQ(b.PixelColor(1, 1), clBlue);
            continue;
        }
        EXPECT_EQ(b.PixelColor(0, 0), clRed);
        EXPECT_EQ(b.PixelColor(1, 0), clLime);
        EXPECT_EQ(b.PixelColor(0, 1), clBlue);
        EXPECT_EQ(b.PixelColor(1, 1), clWhite);
    }
}

TEST(BmpFile, BrokenFilesAreRefusedWithoutHarm)
{
    auto good = MakeBitmap(9, 5, pf8bit, Cube)->SaveToData();
    // Every cut of a good file either loads or is refused with the bitmap error.
    for (std::size_t n = 0; n < good.size(); ++n) {
        TBitmap b;
        try {
            b.LoadFromData(good.data(), n);
            EXPECT_EQ(n, 0u) << "a cut file loaded: " << n; // only the empty file is an empty bitmap
        } catch (const EInvalidGraphic& e) {
            EXPECT_STREQ(e.what(), "Bitmap image is not valid");
        }
    }
    const std::vector<std::vector<std::uint8_t>> rows = {{0, 0, 0, 0}};
    std::vector<std::vector<std::uint8_t>> bad = {
        Handmade(1, 1, 24, 4 /* JPEG inside */, {}, rows),
        Handmade(0, 1, 24, BI_RGB, {}, rows),
        Handmade(1, 0, 24, BI_RGB, {}, rows),
        Handmade(1, 1, 7, BI_RGB, {}, rows),
        Handmade(1, 1, 24, BI_BITFIELDS, {}, rows),                 // fields need 16 or 32 bits
        Handmade(1, -1, 8, BI_RLE8, {0}, {{0, 1}}),                 // top-down RLE does not exist
        Handmade(100000, 100000, 32, BI_RGB, {}, rows),             // far beyond any real picture
        Handmade(0x7FFFFFFF, 2, 1, BI_RGB, {0, 0xFFFFFF}, rows),     // rows larger than the file
        Handmade(1, 1, 8, BI_RGB, {}, rows),                        // no colour table at all
    };
    auto wrongOffset = good;
    wrongOffset[10] = 0xFF;
    wrongOffset[11] = 0xFF;
    bad.push_back(wrongOffset);
    auto wrongMagic = good;
    wrongMagic[1] = 'A';
    bad.push_back(wrongMagic);
    for (std::size_t i = 0; i < bad.size(); ++i) {
        TBitmap b(2, 2, pf24bit);
        EXPECT_THROW(b.LoadFromData(bad[i]), EInvalidGraphic) << i;
    }
    // An RLE stream that runs past the edges is cut off, not written outside the picture.
    TBitmap rle;
    rle.LoadFromData(Handmade(2, 2, 8, BI_RLE8, {0, 0xFFFFFF}, {{200, 1, 0, 2, 50, 50, 0, 0}}));
    EXPECT_EQ(rle.PixelColor(0, 1), clWhite);
    EXPECT_EQ(rle.PixelColor(1, 1), clWhite);
}

TEST(BmpFile, BitmapsLoadFromFilesWithUnicodeNames)
{
    auto b = MakeBitmap(3, 3, pf24bit, Pattern);
    const std::string name = "Bild-\xC3\xA4\xE9\x9F\xB3.bmp"; // Bild-ä音.bmp
    b->SaveToFile(name);
    TBitmap c;
    c.LoadFromFile(name);
    EXPECT_EQ(c.PixelColor(2, 2), static_cast<TColor>(Pattern(2, 2)));
    DeleteFileW(L"Bild-\u00E4\u97F3.bmp");
    EXPECT_THROW(c.LoadFromFile("no-such-picture.bmp"), EFOpenError);
}
