#pragma once
// TSkinRadioButton: the skin's radio strip (4 images: off, on, off disabled, on disabled;
// 8 images: 1, 5, 4, 8 for the same states).
#include "skin/wrappers/SkinTwoState.h"

class TSkinRadioButton : public TSkinTwoState {
public:
    using TSkinTwoState::TSkinTwoState;

protected:
    TBitmap* Strip() const override;
    int StripImages() const override;
    int BoxImage(int images) const override;
    int LeftTextBoxLeft(int width, int boxWidth) const override { return width - boxWidth - 1; }
};
