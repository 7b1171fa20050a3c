#include "classlib/graphics/GraphicsObject.h"

void TGraphicsObject::Changed()
{
    // Owners (canvases) deselect the old handle first; a selected GDI object cannot be freed.
    if (OnChange)
        OnChange();
    FreeHandle();
}
