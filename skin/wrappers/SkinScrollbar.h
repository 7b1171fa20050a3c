#pragma once
// TSkinScrollbar: a class-library control with window scroll bars. Each bar is covered by an
// overlay that paints the skin and hands the mouse to the bar; the control gets a skin border.
#include "skin/wrappers/SkinBarOverlay.h"
#include "skin/wrappers/SkinControl.h"

class TSkinScrollbar : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    void AttachControl(TSkinForm* form, TSkinData* skin, bool colorControl, TCanvas* canvas) override;
    virtual void AttachScrolled(TWinControl* control, TSkinData* skin, TSkinForm* form, TCanvas* canvas);
    void AfterMessage(TMessage& msg) override;
    void Draw(HDC dc, const RECT& rect) override;
    void Restore() override;

    TSkinBarOverlay* HorzBar = nullptr;
    TSkinBarOverlay* VertBar = nullptr;
    bool Bordered = false;
    bool NewStyle = false;

protected:
    void FreeBars();
};

// Windows XP (NT 5.1) or later.
bool IsNewStyleWindows();
