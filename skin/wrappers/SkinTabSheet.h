#pragma once
// TSkinTabSheet: a page of a page control painted in the skin's face colour.
#include "skin/wrappers/SkinControl.h"

class TSkinTabSheet : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    void AttachControl(TSkinForm* form, TSkinData* skin, bool colorControl, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& msg) override;
    void Draw(HDC dc, const RECT& rect) override;

private:
    // The page showed its parent's background when it was attached: it keeps doing so.
    bool parentBackground_ = false;
};
