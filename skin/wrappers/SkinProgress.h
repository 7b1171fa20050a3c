#pragma once
// TSkinProgress: a progress bar drawn from the skin's "Progress" element: the empty bar
// (image 1) with the filled part (image 2) over it, or a row of "Chunk" images (Style 1).
// Vertical bars are drawn lying and turned upright.
#include "classlib/graphics/Bitmap.h"
#include "skin/wrappers/SkinControl.h"

class TSkinProgress : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    bool BeforeMessage(TMessage& msg) override;
    void Draw(HDC dc, const RECT& rect) override;

    // The filled width of a bar `width` long at position p of maximum m (0 when either is 0 or less).
    static int FilledLength(int width, int p, int m);

    TBitmap Buffer;

private:
    bool HasImage() const;
    void DrawChunks(HDC dc, const RECT& rect, int p, int m);
    void DrawBar(HDC dc, const RECT& rect, int p, int m);
};
