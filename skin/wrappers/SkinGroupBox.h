#pragma once
// TSkinGroupBox: a rounded frame in the skin's shadow colour with the caption drawn at x = 8
// on the face colour, cutting the frame line behind it.
#include "skin/wrappers/SkinControl.h"

class TSkinGroupBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    void AttachControl(TSkinForm* form, TSkinData* skin, bool colorControl, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& msg) override;
    void Draw(HDC dc, const RECT& rect) override;

    bool OwnPaint = false;
};

// Where a group box's caption starts.
constexpr int kGroupCaptionLeft = 8;
