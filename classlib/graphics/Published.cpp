#include "classlib/TypeInfo.h"
#include "classlib/graphics/Graphics.h"

const TEnumInfo& FontStyleEnumInfo()
{
    static const TEnumInfo info{"TFontStyle", {{"fsBold", 0}, {"fsItalic", 1}, {"fsUnderline", 2}, {"fsStrikeOut", 3}}};
    return info;
}

const TEnumInfo& PenStyleEnumInfo()
{
    static const TEnumInfo info{"TPenStyle",
                                {{"psSolid", 0}, {"psDash", 1}, {"psDot", 2}, {"psDashDot", 3},
                                 {"psDashDotDot", 4}, {"psClear", 5}, {"psInsideFrame", 6}}};
    return info;
}

const TEnumInfo& BrushStyleEnumInfo()
{
    static const TEnumInfo info{"TBrushStyle",
                                {{"bsSolid", 0}, {"bsClear", 1}, {"bsHorizontal", 2}, {"bsVertical", 3},
                                 {"bsFDiagonal", 4}, {"bsBDiagonal", 5}, {"bsCross", 6}, {"bsDiagCross", 7}}};
    return info;
}

const TEnumInfo& PixelFormatEnumInfo()
{
    static const TEnumInfo info{"TPixelFormat",
                                {{"pfDevice", 0}, {"pf1bit", 1}, {"pf4bit", 2}, {"pf8bit", 3}, {"pf15bit", 4},
                                 {"pf16bit", 5}, {"pf24bit", 6}, {"pf32bit", 7}, {"pfCustom", 8}}};
    return info;
}

const TEnumInfo& ColorIdentsInfo()
{
    static const TEnumInfo info = [] {
        TEnumInfo names{"TColor", {}};
        for (const TColorName& n : ColorNames())
            names.values.emplace_back(n.name, n.color);
        return names;
    }();
    return info;
}

namespace {
const TEnumInfo& FontPitchEnumInfo()
{
    static const TEnumInfo info{"TFontPitch", {{"fpDefault", 0}, {"fpVariable", 1}, {"fpFixed", 2}}};
    return info;
}
} // namespace

void RegisterGraphicsClasses(TClassRegistry& r)
{
    r.Register<TFont>("TFont")
        .Int("Charset", &TFont::Charset, &TFont::SetCharset)
        .Int("Color", &TFont::Color, &TFont::SetColor)
        .Idents(ColorIdentsInfo())
        .Int("Height", &TFont::Height, &TFont::SetHeight)
        .Str("Name", &TFont::Name, &TFont::SetName)
        .Enum("Pitch", FontPitchEnumInfo(), &TFont::Pitch, &TFont::SetPitch)
        .Int("Size", &TFont::Size, &TFont::SetSize)
        .Stored(false)
        .Set("Style", FontStyleEnumInfo(), &TFont::Style, &TFont::SetStyle);
    r.Register<TPen>("TPen")
        .Int("Color", &TPen::Color, &TPen::SetColor)
        .Idents(ColorIdentsInfo())
        .Enum("Style", PenStyleEnumInfo(), &TPen::Style, &TPen::SetStyle)
        .Int("Width", &TPen::Width, &TPen::SetWidth);
    r.Register<TBrush>("TBrush")
        .Int("Color", &TBrush::Color, &TBrush::SetColor)
        .Idents(ColorIdentsInfo())
        .Enum("Style", BrushStyleEnumInfo(), &TBrush::Style, &TBrush::SetStyle);
    r.Register<TPicture>("TPicture").Binary("Data", &TPicture::Data, &TPicture::SetData);
    r.Register<TGraphic>("TGraphic").Bool("Transparent", &TGraphic::Transparent, &TGraphic::SetTransparent);
    r.Register<TBitmap, TGraphic>("TBitmap")
        .Binary("Data", &TBitmap::Data, &TBitmap::SetData)
        .Int("Height", &TBitmap::Height, &TBitmap::SetHeight)
        .Stored(false) // Data carries size and format
        .Enum("PixelFormat", PixelFormatEnumInfo(), &TBitmap::PixelFormat, &TBitmap::SetPixelFormat)
        .Stored(false)
        .Int("TransparentColor", &TBitmap::TransparentColor, &TBitmap::SetTransparentColor)
        .Idents(ColorIdentsInfo())
        .Stored(false)
        .Int("Width", &TBitmap::Width, &TBitmap::SetWidth)
        .Stored(false);
    r.Register<TJPEGImage, TGraphic>("TJPEGImage");
    r.Register<TIcon, TGraphic>("TIcon");
    r.Register<TImageList, TComponent>("TImageList")
        .Int("Height", &TImageList::Height, &TImageList::SetHeight)
        .Int("Width", &TImageList::Width, &TImageList::SetWidth);
}
