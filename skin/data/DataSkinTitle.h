#pragma once
#include "skin/data/SkinElements.h"

// The caption text. The margins carry the text shifts and the right clip; Image the text
// background.
class TDataSkinTitle : public TDataSkinObject {
public:
    static constexpr TColor NoTextColour = 0x1FFFFFFF;

    using TDataSkinObject::TDataSkinObject;
    std::int32_t TextAlignment = 0;
    std::int32_t Textbackground = 0;
    std::int32_t FontHeight = 14;
    std::int32_t TXTBackleft = 0;
    std::int32_t TXTBackRight = 0;
    TColor ActiveText = NoTextColour;
    TColor InActiveText = NoTextColour;
};
