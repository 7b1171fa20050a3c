#pragma once
// TSkinButton: a push button drawn from the skin's "Buttons" strip (1 normal, 2 pressed,
// 3 disabled, 4 hot or focused, 5 the default button), composed off-screen.
#include "classlib/graphics/Bitmap.h"
#include "skin/wrappers/SkinControl.h"

class TSkinButton : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    void AttachControl(TSkinForm* form, TSkinData* skin, bool colorControl, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& msg) override;
    void AfterMessage(TMessage& msg) override;
    void Draw(HDC dc, const RECT& rect) override;

    // The strip image for the current state.
    virtual int ImageIndex() const;

    TBitmap Buffer;
    bool MultiLine = false;
    bool ParentBack = false;

protected:
    // Reads focus, enabled state and caption; false when the skin has no button image.
    bool BeginDraw();
    // Sizes Buffer and paints its background and the button image of `index`.
    void DrawFace(const RECT& rect, int index);
    // Space pressed (true) or released on the button: the pressed image follows the key.
    bool SpaceKey(const TMessage& msg);
    // The text colour the skin asks for at `index`, or the font's colour.
    void SetTextColourFor(HDC dc, int index);
    void DrawFocus(HDC dc, RECT textRect);
    bool IsDefaultButton() const;
    // The mouse went over the button.
    void MouseEntered();
};

// The first "||" of a caption becomes a line break.
std::wstring SplitCaption(std::wstring caption);
