// JPEG pictures through libjpeg, and pictures in their stored form.
#include <gtest/gtest.h>

#include <cstring>

#include "GraphicsTestKit.h"
#include "classlib/FileStream.h"
#include "classlib/graphics/Canvas.h"
#include "classlib/graphics/JPEGImage.h"
#include "classlib/graphics/Picture.h"

TEST(JPEGImage, ABannerSizedJpegDecodesToItsColours)
{
    const auto jpeg = MakeTwoColourJpeg(350, 28);
    TJPEGImage image;
    int changes = 0;
    image.OnChange = [&] { ++changes; };
    image.LoadFromData(jpeg);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(image.Width(), 350);
    EXPECT_EQ(image.Height(), 28);
    EXPECT_FALSE(image.Grayscale());
    EXPECT_EQ(image.Bitmap().PixelFormat(), pf24bit);
    EXPECT_EQ(image.SaveToData(), jpeg); // the file is kept as read
    EXPECT_TRUE(Near(image.Bitmap().PixelColor(10, 5), RGBColor(220, 20, 20), 12));
    EXPECT_TRUE(Near(image.Bitmap().PixelColor(340, 20), RGBColor(20, 20, 220), 12));

    // Drawn at natural size on a canvas.
    TBitmap screen(400, 40, pf24bit);
    screen.Canvas()->Draw(3, 2, image);
    EXPECT_TRUE(Near(screen.PixelColor(3 + 10, 2 + 5), RGBColor(220, 20, 20), 12));
    EXPECT_TRUE(Near(screen.PixelColor(3 + 349, 2 + 27), RGBColor(20, 20, 220), 12));
    EXPECT_EQ(screen.PixelColor(3 + 350, 2), clBlack);

    TJPEGImage grey;
    grey.LoadFromData(MakeTwoColourJpeg(16, 8, 1));
    EXPECT_TRUE(grey.Grayscale());
    EXPECT_TRUE(Near(grey.Bitmap().PixelColor(1, 1), RGBColor(40, 40, 40), 8));
}

TEST(JPEGImage, BrokenDataIsRefusedWithLibjpegsReason)
{
    TJPEGImage image;
    image.LoadFromData(MakeTwoColourJpeg(8, 8));
    const std::vector<std::uint8_t> notJpeg = {'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8};
    try {
        image.LoadFromData(notJpeg);
        FAIL() << "no error";
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(std::string(e.what()).rfind("JPEG error: ", 0), 0u) << e.what();
    }
    EXPECT_EQ(image.Width(), 8); // the old picture stays
    // Every cut of a file: refused or decoded (libjpeg fills a short tail), never a crash.
    const auto good = MakeTwoColourJpeg(32, 16);
    for (std::size_t n = 1; n < good.size(); n += 7) {
        TJPEGImage cut;
        try {
            cut.LoadFromData(good.data(), n);
            EXPECT_EQ(cut.Width(), 32);
        } catch (const EInvalidGraphic&) {
        }
    }
}

TEST(JPEGImage, TheProgramsBannerIsA350By28ColourJpeg)
{
    const std::string path = SourcePath("assets/banner.jpg");
    if (!FileExists(path))
        GTEST_SKIP() << "assets/banner.jpg is not there yet";
    TJPEGImage banner;
    banner.LoadFromFile(path);
    EXPECT_EQ(banner.Width(), 350);
    EXPECT_EQ(banner.Height(), 28);
    EXPECT_FALSE(banner.Grayscale());
}

TEST(Picture, StoredDataNamesTheGraphicClassAndCarriesItsFile)
{
    const auto jpeg = MakeTwoColourJpeg(350, 28);
    TPicture picture;
    auto image = std::make_unique<TJPEGImage>();
    image->LoadFromData(jpeg);
    picture.SetGraphic(std::move(image));
    const std::vector<std::uint8_t> data = picture.Data();
    ASSERT_GT(data.size(), 1 + 10 + 4 + jpeg.size() - 1);
    EXPECT_EQ(data[0], 10);
    EXPECT_EQ(std::string(data.begin() + 1, data.begin() + 11), "TJPEGImage");
    const std::uint32_t length = data[11] | (data[12] << 8) | (data[13] << 16) | (static_cast<std::uint32_t>(data[14]) << 24);
    EXPECT_EQ(length, jpeg.size());
    EXPECT_TRUE(std::equal(jpeg.begin(), jpeg.end(), data.begin() + 15));
    EXPECT_EQ(data.size(), 15 + jpeg.size());

    TPicture copy;
    int changes = 0;
    copy.OnChange = [&] { ++changes; };
    copy.SetData(data);
    EXPECT_GE(changes, 1);
    ASSERT_NE(dynamic_cast<TJPEGImage*>(copy.Graphic()), nullptr);
    EXPECT_EQ(copy.Width(), 350);
    EXPECT_EQ(copy.Height(), 28);
    EXPECT_EQ(copy.Data(), data);

    // A bitmap picture the same way; Bitmap() replaces another kind by an empty bitmap.
    TPicture bits;
    bits.Bitmap()->SetPixelFormat(pf24bit);
    bits.Bitmap()->SetSize(3, 2);
    bits.Bitmap()->Canvas()->Brush()->SetColor(clAqua);
    bits.Bitmap()->Canvas()->FillRect(RECT{0, 0, 3, 2});
    TPicture bits2;
    bits2.SetData(bits.Data());
    EXPECT_EQ(bits2.Bitmap()->PixelColor(2, 1), clAqua);
    copy.Bitmap();
    EXPECT_EQ(copy.Width(), 0);
    copy.Assign(bits2);
    EXPECT_EQ(copy.Width(), 3);
    EXPECT_NE(copy.Graphic(), bits2.Graphic());

    // An empty picture stores nothing; bad data names the problem.
    TPicture empty;
    EXPECT_TRUE(empty.Data().empty());
    std::vector<std::uint8_t> unknown = {4, 'T', 'G', 'I', 'F', 0, 0, 0, 0};
    EXPECT_THROW(empty.SetData(unknown), EInvalidGraphic);
    try {
        empty.SetData(unknown);
    } catch (const EInvalidGraphic& e) {
        EXPECT_STREQ(e.what(), "Unknown picture format 'TGIF'");
    }
    auto truncated = data;
    truncated.resize(data.size() - 1);
    EXPECT_THROW(empty.SetData(truncated), EInvalidGraphic);
    EXPECT_THROW(empty.SetData({200, 'T'}), EInvalidGraphic);
    EXPECT_EQ(empty.Graphic(), nullptr);
}

TEST(Picture, FilesAreReadByTheirExtension)
{
    const auto jpeg = MakeTwoColourJpeg(20, 10);
    {
        TFileStream f("pic.JPG", fmCreate);
        f.WriteBuffer(jpeg.data(), static_cast<std::int64_t>(jpeg.size()));
    }
    TPicture p;
    p.LoadFromFile("pic.JPG");
    EXPECT_EQ(p.Graphic()->ClassName(), "TJPEGImage");
    EXPECT_EQ(p.Width(), 20);
    TBitmap(4, 4, pf24bit).SaveToFile("pic.bmp");
    p.LoadFromFile("pic.bmp");
    EXPECT_EQ(p.Graphic()->ClassName(), "TBitmap");
    EXPECT_THROW(p.LoadFromFile("pic.gif"), EInvalidGraphic);
    EXPECT_EQ(p.Width(), 4);
    DeleteFileW(L"pic.JPG");
    DeleteFileW(L"pic.bmp");
}
