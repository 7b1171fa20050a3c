#pragma once
#include "skin/data/SkinElements.h"

// Push buttons, with the check-box and radio-button strips.
class TDataSkinButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    TBitmap CheckImage;
    TBitmap RadioImage;
    std::int32_t RadioFrame = 0;
    std::int32_t CheckFrame = 0;
    bool HasNormalColour2 = false;
    bool HasMouseOverColour2 = false;
    bool HasPressedColour2 = false;
};
