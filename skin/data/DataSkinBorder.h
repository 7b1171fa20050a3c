#pragma once
#include "skin/data/SkinElements.h"

// An element with a second picture: frame borders, tabs, up-down glyphs, the progress chunk,
// the combo button's mirror image.
class TDataSkinBorder : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    TBitmap Image2;
};
