#pragma once
// TSkinSpeedButton: a windowless tool button painted through its parent. A flat one shows the
// button image only while hot or pressed.
#include "skin/wrappers/SkinBitButton.h"

class TSkinSpeedButton : public TSkinBitButton {
public:
    using TSkinBitButton::TSkinBitButton;

    void AttachGraphic(TSkinForm* form, TSkinData* skin, TCanvas* canvas);
    void AttachControl(TSkinForm* form, TSkinData* skin, bool colorControl, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& msg) override;
    void AfterMessage(TMessage& msg) override;
    void Draw(HDC dc, const RECT& rect) override;
    int ImageIndex() const override;

private:
    bool painting_ = false;
};
