#pragma once
// TSkinEdit: a thin skin-coloured border around an edit that has one, and the skinned spin
// button of an edit that holds an up-down of its own.
#include "skin/wrappers/SkinControl.h"

class TSkinUpDown;

class TSkinEdit : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    void AfterMessage(TMessage& msg) override;
    void Draw(HDC dc, const RECT& rect) override;

    TSkinUpDown* SpinSkin = nullptr;

private:
    void FindSpin();
    // The edit's window is larger than its client area by more than `by` pixels both ways.
    bool BorderWiderThan(int by) const;
    void DrawThinBorder(HDC dc);
};
