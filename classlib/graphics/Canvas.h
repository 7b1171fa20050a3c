#pragma once
#include <memory>
#include <string>

#include <windows.h>

#include "classlib/Persistent.h"
#include "classlib/graphics/Brush.h"
#include "classlib/graphics/Font.h"
#include "classlib/graphics/Pen.h"

class TGraphic;

// Drawing on a device context with a pen, a brush and a font. Text is UTF-8 and drawn
// with the wide APIs. The canvas selects its tools into the DC lazily and deselects them
// when the DC goes away, so a tool can change (and its handle be freed) at any time.
//
// A plain TCanvas draws on a DC it is given and does not own. Subclasses that make their
// own DC (a bitmap's memory DC, a control's window DC) override CreateHandle.
class TCanvas : public TPersistent {
public:
    TCanvas();
    explicit TCanvas(HDC dc);
    ~TCanvas() override;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    HDC Handle();
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return dc_ != nullptr; }

    TFont* Font() const { return font_.get(); }
    TPen* Pen() const { return pen_.get(); }
    TBrush* Brush() const { return brush_.get(); }
    void SetFont(const TFont& font) { font_->Assign(font); }

    // Raster operation of CopyRect (SRCCOPY by default).
    DWORD CopyMode() const { return copyMode_; }
    void SetCopyMode(DWORD rop) { copyMode_ = rop; }

    POINT PenPos();
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(const POINT* points, int count);
    void Polygon(const POINT* points, int count);
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const RECT& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
    void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
    void Ellipse(int left, int top, int right, int bottom);
    void FillRect(const RECT& r);   // with the brush, no outline
    void FrameRect(const RECT& r);  // one-pixel frame with the brush
    void DrawFocusRect(const RECT& r);

    // Text with the font's colour; the background is filled with the brush colour unless
    // the brush is clear.
    void TextOut(int x, int y, const std::string& text);
    // Clipped to r.
    void TextRect(const RECT& r, int x, int y, const std::string& text);
    SIZE TextExtent(const std::string& text);
    int TextWidth(const std::string& text) { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) { return TextExtent(text).cy; }

    // A graphic at its natural size, or stretched to r.
    void Draw(int x, int y, TGraphic& graphic);
    void StretchDraw(const RECT& r, TGraphic& graphic);
    // Copies (stretching when sizes differ) with CopyMode.
    void CopyRect(const RECT& dest, TCanvas& source, const RECT& sourceRect);

    TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor color);
    RECT ClipRect();

    // A paint that finds the canvas locked is skipped by callers that check it.
    void Lock() { ++lockCount_; }
    void Unlock() { --lockCount_; }
    int LockCount() const { return lockCount_; }

    // Selects the current tools into the DC (done by every drawing call).
    void RequireTools();

protected:
    // Called by Handle() when no DC is set; subclasses make one and call SetHandle.
    virtual void CreateHandle() {}
    // Deselects the tools (stock objects back in the DC).
    void DeselectTools();

private:
    void ToolChanged();

    HDC dc_ = nullptr;
    std::unique_ptr<TFont> font_;
    std::unique_ptr<TPen> pen_;
    std::unique_ptr<TBrush> brush_;
    bool toolsSelected_ = false;
    HGDIOBJ oldPen_ = nullptr, oldBrush_ = nullptr, oldFont_ = nullptr;
    DWORD copyMode_ = SRCCOPY;
    int lockCount_ = 0;
};
