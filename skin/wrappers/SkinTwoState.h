#pragma once
// What check boxes and radio buttons share: a box image of the skin's strip next to the
// caption. A class-library control is painted whole by the wrapper; a foreign one paints
// itself and gets the box drawn over its own.
#include "skin/wrappers/SkinControl.h"

class TBitmap;

// Images 2, 3, 4 of a short strip (on, off disabled, on disabled) in a strip of 8 or 12.
int WideStripImage(int index);

class TSkinTwoState : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    void AttachControl(TSkinForm* form, TSkinData* skin, bool colorControl, TCanvas* canvas) override;
    void AttachWindow(HWND handle, TSkinData* skin, TSkinForm* form, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& msg) override;
    void AfterMessage(TMessage& msg) override;
    void Draw(HDC dc, const RECT& rect) override;

    bool OwnPaint = false;
    bool ParentBack = false;

protected:
    // The strip and its image count; an empty strip makes the wrapper stand aside.
    virtual TBitmap* Strip() const = 0;
    virtual int StripImages() const = 0;
    // The image of the strip for the control's state.
    virtual int BoxImage(int images) const = 0;
    // Where the box goes when the caption is left of it.
    virtual int LeftTextBoxLeft(int width, int boxWidth) const = 0;
    bool Disabled() const;
    LRESULT ButtonState() const;

private:
    void DrawCaption(HDC dc, RECT area, bool rightAligned);
};
