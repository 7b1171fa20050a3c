// Image lists and icons, drawn onto bitmaps and checked by pixel.
#include <gtest/gtest.h>

#include "GraphicsTestKit.h"
#include "classlib/graphics/Canvas.h"
#include "classlib/graphics/Icon.h"
#include "classlib/graphics/ImageList.h"

namespace {
std::unique_ptr<TBitmap> Filled(int w, int h, TColor colour)
{
    auto b = std::make_unique<TBitmap>(w, h, pf24bit);
    b->Canvas()->Brush()->SetColor(colour);
    b->Canvas()->FillRect(RECT{0, 0, w, h});
    return b;
}

// A 16 x 16 icon, 32 bits with alpha: red in its top-left quarter, green elsewhere.
std::vector<std::uint8_t> MakeIcon()
{
    std::vector<std::uint8_t> image;
    Put32(image, 40);
    Put32(image, 16);
    Put32(image, 32); // colour and mask rows
    Put16(image, 1);
    Put16(image, 32);
    for (int k = 0; k < 6; ++k)
        Put32(image, 0);
    for (int y = 15; y >= 0; --y) // bottom-up
        for (int x = 0; x < 16; ++x) {
            const bool red = x < 8 && y < 8;
            image.insert(image.end(), {0, static_cast<std::uint8_t>(red ? 0 : 255), static_cast<std::uint8_t>(red ? 255 : 0), 255});
        }
    image.insert(image.end(), 16 * 4, 0); // mask: all opaque
    std::vector<std::uint8_t> file;
    Put16(file, 0);
    Put16(file, 1);
    Put16(file, 1);
    file.insert(file.end(), {16, 16, 0, 0});
    Put16(file, 1);
    Put16(file, 32);
    Put32(file, static_cast<std::uint32_t>(image.size()));
    Put32(file, 22);
    file.insert(file.end(), image.begin(), image.end());
    return file;
}
} // namespace

TEST(ImageList, ImagesAreAddedCutDrawnAndMasked)
{
    TImageList list;
    EXPECT_EQ(list.Width(), 16);
    EXPECT_EQ(list.Count(), 0);
    // A strip two images wide adds two images.
    auto strip = Filled(32, 16, clRed);
    strip->Canvas()->Brush()->SetColor(clBlue);
    strip->Canvas()->FillRect(RECT{16, 0, 32, 16});
    EXPECT_EQ(list.Add(*strip), 0);
    EXPECT_EQ(list.Count(), 2);

    auto masked = Filled(16, 16, clFuchsia);
    masked->Canvas()->Brush()->SetColor(clLime);
    masked->Canvas()->FillRect(RECT{4, 4, 12, 12});
    EXPECT_EQ(list.AddMasked(*masked, clFuchsia), 2);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(masked->PixelColor(0, 0), clFuchsia); // the caller's bitmap is left alone

    auto target = Filled(60, 20, clWhite);
    list.Draw(*target->Canvas(), 0, 0, 1);
    list.Draw(*target->Canvas(), 20, 0, 0);
    list.Draw(*target->Canvas(), 40, 0, 2);
    list.Draw(*target->Canvas(), 40, 0, 7); // no such image: nothing
    EXPECT_EQ(target->PixelColor(5, 5), clBlue);
    EXPECT_EQ(target->PixelColor(25, 5), clRed);
    EXPECT_EQ(target->PixelColor(48, 8), clLime);
    EXPECT_EQ(target->PixelColor(41, 1), clWhite); // masked out

    TBitmap one;
    list.GetBitmap(0, one);
    EXPECT_EQ(one.Width(), 16);
    EXPECT_EQ(one.PixelColor(8, 8), clRed);

    list.Delete(0);
    EXPECT_EQ(list.Count(), 2);
    list.SetWidth(24); // a new size empties the list
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Add(*Filled(24, 16, clTeal)), 0);
    EXPECT_EQ(list.Count(), 1);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    TBitmap empty;
    EXPECT_EQ(list.Add(empty), -1);
}

TEST(Icon, AnIconFileLoadsDrawsAndSavesAsRead)
{
    const auto file = MakeIcon();
    TIcon icon;
    icon.LoadFromData(file);
    EXPECT_FALSE(icon.Empty());
    EXPECT_EQ(icon.Width(), 16);
    EXPECT_EQ(icon.Height(), 16);
    EXPECT_EQ(icon.SaveToData(), file);
    auto target = Filled(20, 20, clWhite);
    target->Canvas()->Draw(2, 2, icon);
    EXPECT_EQ(target->PixelColor(3, 3), clRed);
    EXPECT_EQ(target->PixelColor(15, 15), clLime);
    EXPECT_EQ(target->PixelColor(19, 19), clWhite);

    auto clone = icon.Clone();
    EXPECT_EQ(clone->Width(), 16);
    EXPECT_NE(static_cast<TIcon*>(clone.get())->Handle(), icon.Handle());

    for (std::size_t n : {std::size_t{5}, std::size_t{21}, file.size() - 1}) {
        TIcon broken;
        EXPECT_THROW(broken.LoadFromData(file.data(), n), EInvalidGraphic) << n;
    }
    TIcon fromHandle;
    fromHandle.SetHandle(CopyIcon(icon.Handle()));
    EXPECT_EQ(fromHandle.Width(), 16);
    EXPECT_EQ(fromHandle.Height(), 16);
    // An icon without a file of its own stores nothing and reads back empty, not as an error.
    EXPECT_TRUE(fromHandle.SaveToData().empty());
    TIcon again;
    again.LoadFromData(fromHandle.SaveToData());
    EXPECT_TRUE(again.Empty());
    fromHandle.LoadFromData(std::vector<std::uint8_t>{});
    EXPECT_TRUE(fromHandle.Empty());
}
