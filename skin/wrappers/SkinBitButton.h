#pragma once
// TSkinBitButton: a button with a glyph, drawn on the skin's button image like a push button
// and laid out like the class library's bitmap buttons.
#include "skin/wrappers/SkinButton.h"
#include "skin/wrappers/SkinGlyphFace.h"

class TSkinBitButton : public TSkinButton {
public:
    using TSkinButton::TSkinButton;

    void Draw(HDC dc, const RECT& rect) override;
    int ImageIndex() const override;

protected:
    // Glyph, images and layout as the control's properties give them.
    TGlyphFace ReadGlyphFace(int glyphImage) const;
};
