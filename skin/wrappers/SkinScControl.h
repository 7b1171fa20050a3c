#pragma once
// TSkinScControl: a stand-alone scroll-bar control covered by one overlay.
#include "skin/wrappers/SkinBarOverlay.h"
#include "skin/wrappers/SkinControl.h"

class TSkinScControl : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    // A class-library scroll bar.
    void AttachControl(TSkinForm* form, TSkinData* skin, bool colorControl, TCanvas* canvas) override;
    void AttachBar(TWinControl* control, TSkinData* skin, TSkinForm* form, TCanvas* canvas);
    // A scroll-bar window of another library.
    void AttachWindow(HWND handle, TSkinData* skin, TSkinForm* form, TCanvas* canvas) override;
    void AfterMessage(TMessage& msg) override;
    void Draw(HDC dc, const RECT& rect) override;
    void Restore() override;

    TSkinBarOverlay* Bar = nullptr;
};
