#include "classlib/graphics/Brush.h"

TBrush::~TBrush() { FreeHandle(); }

void TBrush::FreeHandle()
{
    if (handle_) {
        if (ownsHandle_)
            DeleteObject(handle_);
        handle_ = nullptr;
    }
}

void TBrush::Assign(const TBrush& s)
{
    if (&s == this)
        return;
    color_ = s.color_;
    style_ = s.style_;
    Changed();
}

void TBrush::SetColor(TColor color)
{
    if (color == color_ && style_ != bsClear)
        return;
    // A colour given to a clear brush makes it solid again.
    color_ = color;
    if (style_ == bsClear)
        style_ = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle style)
{
    if (style == style_)
        return;
    style_ = style;
    Changed();
}

HBRUSH TBrush::Handle() const
{
    if (!handle_) {
        ownsHandle_ = style_ != bsClear;
        const COLORREF rgb = static_cast<COLORREF>(ColorToRGB(color_));
        switch (style_) {
        case bsSolid: handle_ = CreateSolidBrush(rgb); break;
        case bsClear: handle_ = static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH)); break;
        default: {
            static const int kHatch[] = {HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};
            handle_ = CreateHatchBrush(kHatch[style_ - bsHorizontal], rgb);
        }
        }
    }
    return handle_;
}
