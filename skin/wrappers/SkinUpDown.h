#pragma once
// TSkinUpDown: the two arrow buttons of an up-down (spin) control drawn from the skin's
// "UpDown.Vert" or "UpDown.Horz" strip (images 1-4 the first half, 5-8 the second) or, without
// one, as flat buttons with an arrow.
#include "classlib/graphics/Bitmap.h"
#include "skin/wrappers/SkinControl.h"

class TSkinUpDown : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    bool BeforeMessage(TMessage& msg) override;
    void AfterMessage(TMessage& msg) override;
    void Draw(HDC dc, const RECT& rect) override;

    // The state image (1-4) of half 0 (up or left) or 1 (down or right) with the cursor at
    // `cursor` (client coordinates) and the halves split as given.
    int HalfState(int half, POINT cursor, const RECT& first, const RECT& second) const;

    bool Embedded = false;
    bool Horizontal = false;
    TBitmap Buffer;

private:
    void DrawHalf(HDC dc, const RECT& half, int number, int state);
    void DrawPlainHalf(HDC dc, const RECT& half, int number, int state);
    // The drawing rectangle kept 3 pixels off the edges of the edit it sits in.
    RECT EmbeddedArea(RECT area) const;
};
