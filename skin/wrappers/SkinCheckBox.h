#pragma once
// TSkinCheckBox: the skin's check-box strip (4 images: unchecked, checked, unchecked
// disabled, checked disabled or indeterminate; 12 images: 1, 4, 5, 8, 9, 12 for unchecked,
// unchecked disabled, checked, checked disabled, indeterminate, indeterminate disabled).
#include "skin/wrappers/SkinTwoState.h"

class TSkinCheckBox : public TSkinTwoState {
public:
    using TSkinTwoState::TSkinTwoState;

    void AttachControl(TSkinForm* form, TSkinData* skin, bool colorControl, TCanvas* canvas) override;
    void AfterMessage(TMessage& msg) override;

    // Last BM_SETCHECK value + 1 (1 unchecked, 2 checked, 3 indeterminate); 0 before one.
    int CheckState = 0;

protected:
    TBitmap* Strip() const override;
    int StripImages() const override;
    int BoxImage(int images) const override;
    int LeftTextBoxLeft(int width, int boxWidth) const override { return width - boxWidth; }
};
