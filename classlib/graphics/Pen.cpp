#include "classlib/graphics/Pen.h"

TPen::~TPen() { FreeHandle(); }

void TPen::FreeHandle()
{
    if (handle_) {
        DeleteObject(handle_);
        handle_ = nullptr;
    }
}

void TPen::Assign(const TPen& s)
{
    if (&s == this)
        return;
    color_ = s.color_;
    width_ = s.width_;
    style_ = s.style_;
    mode_ = s.mode_;
    Changed();
}

void TPen::SetColor(TColor color)
{
    if (color != color_) {
        color_ = color;
        Changed();
    }
}

void TPen::SetWidth(int width)
{
    if (width >= 0 && width != width_) {
        width_ = width;
        Changed();
    }
}

void TPen::SetStyle(TPenStyle style)
{
    if (style != style_) {
        style_ = style;
        Changed();
    }
}

void TPen::SetMode(TPenMode mode)
{
    if (mode != mode_) {
        mode_ = mode;
        // The mode is a DC setting, not part of the pen.
        if (OnChange)
            OnChange();
    }
}

HPEN TPen::Handle() const
{
    if (!handle_) {
        static const int kStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
        handle_ = CreatePen(kStyles[style_], width_, static_cast<COLORREF>(ColorToRGB(color_)));
    }
    return handle_;
}

int PenModeToRop2(TPenMode mode)
{
    static const int kRop2[] = {R2_COPYPEN, R2_NOT, R2_XORPEN, R2_MERGEPEN, R2_MASKPEN,
                                R2_NOTXORPEN, R2_BLACK, R2_WHITE, R2_NOP};
    return kRop2[mode];
}
