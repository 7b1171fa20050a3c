#pragma once
// TSkinBox: panels, embedded forms and navigators only take the skin's face colour; their
// messages are left alone.
#include "skin/wrappers/SkinControl.h"

class TSkinBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    void AttachControl(TSkinForm* form, TSkinData* skin, bool colorControl, TCanvas* canvas) override;
    void Restore() override;
};
