#pragma once
#include <functional>

#include "classlib/Persistent.h"

// Base of the drawing tools (font, pen, brush): a change callback the owner (a canvas, a
// control) listens to, and a cached GDI handle that is recreated after a change.
class TGraphicsObject : public TPersistent {
public:
    std::function<void()> OnChange;

protected:
    // Drops the cached handle and tells the owner.
    void Changed();
    virtual void FreeHandle() = 0;
};
