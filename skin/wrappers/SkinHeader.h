#pragma once
// TSkinHeader: the column header of a list view, each item drawn on the skin's header element
// (image 2 under the mouse) with its text and image, the space after the last item on image 1.
#include <vector>

#include "classlib/graphics/Bitmap.h"
#include "skin/wrappers/SkinControl.h"

class TSkinHeader : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    bool BeforeMessage(TMessage& msg) override;
    void AfterMessage(TMessage& msg) override;
    void Draw(HDC dc, const RECT& rect) override;

    // Each item's rectangle inflated by -3 horizontally, as last drawn.
    std::vector<RECT> ItemRects;
    int HotItem = -1;

private:
    void SetHotItem(int item);
    TBitmap Buffer;
};
