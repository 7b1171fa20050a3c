#pragma once
// The element records a skin is parsed into. Painters read the skin only through these and
// the colour fields of TSkinData.
#include <cstdint>
#include <string>

#include <windows.h>

#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/Color.h"

// One image strip of `Frame` equal frames with four fixed margins.
class TDataSkinObject {
public:
    explicit TDataSkinObject(std::string name);
    virtual ~TDataSkinObject();
    TDataSkinObject(const TDataSkinObject&) = delete;
    TDataSkinObject& operator=(const TDataSkinObject&) = delete;

    // The four margins, always used together as Left, Top, Right, Bottom.
    RECT Margins() const { return {LeftWidth, TopHeight, RightWidth, BottomHeight}; }

    std::int32_t LeftWidth = 0;
    std::int32_t TopHeight = 0;
    std::int32_t RightWidth = 0;
    std::int32_t BottomHeight = 0;
    TBitmap Image;
    std::int32_t Trans = 0;
    std::int32_t Tile = 0;
    std::string Name;
    std::int32_t Frame = 0;
    std::int32_t Style = 0;
    std::int32_t NormalColour = -1;
    std::int32_t MouseOverColour = -1;
    std::int32_t PressedColour = -1;
    TColor NormalColour2 = clBtnText;
    TColor MouseOverColour2 = clBtnText;
    TColor PressedColour2 = clBtnText;
};
