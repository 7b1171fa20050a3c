#pragma once
// TSkinBoxH: a dialog nested in a foreign window, given the skin's face colour.
#include "skin/wrappers/SkinControl.h"

class TSkinBoxH : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    bool BeforeMessage(TMessage& msg) override;
};
