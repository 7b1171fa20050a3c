#pragma once
#include <windows.h>

#include "classlib/graphics/Color.h"
#include "classlib/graphics/GraphicsObject.h"

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
public:
    TBrush() = default;
    ~TBrush() override;
    TBrush(const TBrush&) = delete;
    TBrush& operator=(const TBrush&) = delete;
    void Assign(const TBrush& source);

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style);

    // A clear brush has the hollow stock brush as its handle.
    HBRUSH Handle() const;

protected:
    void FreeHandle() override;

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    mutable HBRUSH handle_ = nullptr;
    mutable bool ownsHandle_ = false; // the hollow brush is a stock object
};
