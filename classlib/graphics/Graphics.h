#pragma once
// The graphics classes in one include, and their published properties.
#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/Brush.h"
#include "classlib/graphics/Canvas.h"
#include "classlib/graphics/Color.h"
#include "classlib/graphics/Font.h"
#include "classlib/graphics/Icon.h"
#include "classlib/graphics/ImageList.h"
#include "classlib/graphics/JPEGImage.h"
#include "classlib/graphics/Pen.h"
#include "classlib/graphics/Picture.h"

class TClassRegistry;
struct TEnumInfo;

// TFont, TPen, TBrush, TPicture, TBitmap, TJPEGImage, TIcon, TImageList.
void RegisterGraphicsClasses(TClassRegistry& registry);

const TEnumInfo& FontStyleEnumInfo();   // fsBold ...
const TEnumInfo& PenStyleEnumInfo();    // psSolid ...
const TEnumInfo& BrushStyleEnumInfo();  // bsSolid ...
const TEnumInfo& PixelFormatEnumInfo(); // pfDevice ...
// Colour names for integer colour properties (.Idents): clBlack ... clBtnFace ... clDefault.
const TEnumInfo& ColorIdentsInfo();
