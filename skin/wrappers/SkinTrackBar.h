#pragma once
// TSkinTrackBar: the channel and thumb of a track bar drawn from the skin through the
// control's own custom-draw notifications; the tick marks stay the control's.
#include <windows.h>
#include <commctrl.h>

#include "skin/wrappers/SkinControl.h"

class TSkinTrackBar : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    bool BeforeMessage(TMessage& msg) override;
    void Refresh() override;

    // The answer to one custom-draw notification; false when the control's own handling
    // should give it.
    bool CustomDraw(NMCUSTOMDRAW& draw, LRESULT& result);

private:
    bool Vertical() const;
    void DrawChannel(HDC dc);
    void DrawThumb(HDC dc);
};
