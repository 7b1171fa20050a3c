#pragma once
// TSkinSizer: a size box ("scrollbar" window) in the skin's face colour.
#include "skin/wrappers/SkinControl.h"

class TSkinSizer : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    void Draw(HDC dc, const RECT& rect) override;
};
