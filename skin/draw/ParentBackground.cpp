// Controls that look through to their parent.
#include "classlib/controls/Control.h"
#include "classlib/controls/WinControl.h"
#include "skin/draw/SkinDraw.h"

void PaintParentBackground(TControl* control, HDC dc)
{
    if (!control || !control->Parent())
        return;
    TWinControl* parent = control->Parent();
    if (!parent->HandleAllocated())
        return;
    const RECT bounds = control->BoundsRect();
    const int saved = SaveDC(dc);
    POINT old{};
    OffsetViewportOrgEx(dc, -bounds.left, -bounds.top, &old);
    IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
    auto paint = [&] {
        SendMessageW(parent->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        SendMessageW(parent->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    };
    if (control->Designing()) {
        try {
            paint();
        } catch (...) {
        }
    } else {
        paint();
    }
    RestoreDC(dc, saved);
}
