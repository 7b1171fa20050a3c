// The graphics classes' published properties, read and written by name.
#include <gtest/gtest.h>

#include "GraphicsTestKit.h"
#include "classlib/TypeInfo.h"
#include "classlib/graphics/Graphics.h"

namespace {
TClassRegistry& Registry()
{
    static TClassRegistry& r = [] () -> TClassRegistry& {
        RegisterGraphicsClasses(Classes());
        return Classes();
    }();
    return r;
}
} // namespace

TEST(PublishedGraphics, FontPenAndBrushPropertiesByName)
{
    Registry();
    TFont font;
    const struct {
        const char* path;
        const char* text;
    } cases[] = {{"Name", "Verdana"}, {"Height", "-11"},     {"Color", "clBtnText"},
                 {"Style", "[fsBold, fsItalic]"}, {"Charset", "0"}, {"Pitch", "fpFixed"}};
    for (const auto& c : cases) {
        SetPropText(&font, c.path, c.text);
        EXPECT_EQ(GetPropText(&font, c.path), c.text) << c.path;
    }
    EXPECT_EQ(font.Name(), "Verdana");
    EXPECT_EQ(font.Color(), clBtnText);
    EXPECT_TRUE(font.Style().Contains(fsItalic));
    EXPECT_EQ(GetOrdProp(&font, "Size"), 8);
    SetOrdProp(&font, "Color", 0x123456);
    EXPECT_EQ(GetPropText(&font, "Color"), "1193046"); // no name: a number
    EXPECT_THROW(SetPropText(&font, "Style", "[fsBlinking]"), EPropertyError);

    TPen pen;
    SetPropText(&pen, "Style", "psDot");
    SetPropText(&pen, "Color", "clRed");
    EXPECT_EQ(pen.Style(), psDot);
    EXPECT_EQ(pen.Color(), clRed);
    TBrush brush;
    SetEnumProp(&brush, "Style", "bsClear");
    EXPECT_EQ(brush.Style(), bsClear);
}

TEST(PublishedGraphics, PicturesAndBitmapsCarryTheirDataByName)
{
    Registry();
    TPicture picture;
    auto jpeg = std::make_unique<TJPEGImage>();
    jpeg->LoadFromData(MakeTwoColourJpeg(350, 28));
    picture.SetGraphic(std::move(jpeg));
    const TPropInfo* data = FindPropInfo(&picture, "Data");
    ASSERT_NE(data, nullptr);
    ASSERT_EQ(data->kind, TTypeKind::tkBinary);
    const std::vector<std::uint8_t> stored = data->getBinary(&picture);
    TPicture copy;
    data->setBinary(&copy, stored);
    EXPECT_EQ(copy.Width(), 350);
    EXPECT_EQ(copy.Graphic()->ClassName(), "TJPEGImage");

    TBitmap glyph(4, 3, pf24bit);
    glyph.Canvas()->Brush()->SetColor(clNavy);
    glyph.Canvas()->FillRect(RECT{0, 0, 4, 3});
    const TPropInfo* bits = FindPropInfo(&glyph, "Data");
    ASSERT_NE(bits, nullptr);
    const auto saved = bits->getBinary(&glyph);
    ASSERT_GT(saved.size(), 4u);
    EXPECT_EQ(saved[4], 'B'); // a length, then the BMP file
    TBitmap other;
    bits->setBinary(&other, saved);
    EXPECT_EQ(other.Width(), 4);
    EXPECT_EQ(other.PixelColor(3, 2), clNavy);
    EXPECT_THROW(bits->setBinary(&other, {9, 0, 0, 0, 'B'}), EInvalidGraphic);
    EXPECT_EQ(GetEnumProp(&other, "PixelFormat"), "pf24bit");

    TImageList list;
    SetOrdProp(&list, "Width", 24);
    EXPECT_EQ(list.Width(), 24);
    EXPECT_NE(Registry().Find("TImageList")->create, nullptr);
}
