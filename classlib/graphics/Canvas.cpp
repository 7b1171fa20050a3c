#include "classlib/graphics/Canvas.h"

#include "classlib/Unicode.h"
#include "classlib/graphics/Graphic.h"

TCanvas::TCanvas()
    : font_(std::make_unique<TFont>()), pen_(std::make_unique<TPen>()), brush_(std::make_unique<TBrush>())
{
    font_->OnChange = [this] { ToolChanged(); };
    pen_->OnChange = [this] { ToolChanged(); };
    brush_->OnChange = [this] { ToolChanged(); };
}

TCanvas::TCanvas(HDC dc) : TCanvas() { dc_ = dc; }

TCanvas::~TCanvas() { DeselectTools(); }

HDC TCanvas::Handle()
{
    if (!dc_)
        CreateHandle();
    return dc_;
}

void TCanvas::SetHandle(HDC dc)
{
    if (dc == dc_)
        return;
    DeselectTools();
    dc_ = dc;
}

void TCanvas::ToolChanged()
{
    // The tool's handle is about to be freed: it must not stay selected.
    DeselectTools();
}

void TCanvas::DeselectTools()
{
    if (!toolsSelected_ || !dc_)
        return;
    SelectObject(dc_, oldPen_);
    SelectObject(dc_, oldBrush_);
    SelectObject(dc_, oldFont_);
    toolsSelected_ = false;
}

void TCanvas::RequireTools()
{
    HDC dc = Handle();
    if (!dc)
        return;
    if (!toolsSelected_) {
        oldPen_ = SelectObject(dc, pen_->Handle());
        oldBrush_ = SelectObject(dc, brush_->Handle());
        oldFont_ = SelectObject(dc, font_->Handle());
        toolsSelected_ = true;
    }
    SetROP2(dc, PenModeToRop2(pen_->Mode()));
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(font_->Color())));
    if (brush_->Style() == bsClear) {
        SetBkMode(dc, TRANSPARENT);
    } else {
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, static_cast<COLORREF>(ColorToRGB(brush_->Color())));
    }
}

POINT TCanvas::PenPos()
{
    POINT p{};
    if (HDC dc = Handle())
        GetCurrentPositionEx(dc, &p);
    return p;
}

void TCanvas::MoveTo(int x, int y)
{
    if (HDC dc = Handle())
        MoveToEx(dc, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y)
{
    RequireTools();
    ::LineTo(dc_, x, y);
}

void TCanvas::Polyline(const POINT* points, int count)
{
    RequireTools();
    ::Polyline(dc_, points, count);
}

void TCanvas::Polygon(const POINT* points, int count)
{
    RequireTools();
    ::Polygon(dc_, points, count);
}

void TCanvas::Rectangle(int left, int top, int right, int bottom)
{
    RequireTools();
    ::Rectangle(dc_, left, top, right, bottom);
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int cw, int ch)
{
    RequireTools();
    ::RoundRect(dc_, left, top, right, bottom, cw, ch);
}

void TCanvas::Ellipse(int left, int top, int right, int bottom)
{
    RequireTools();
    ::Ellipse(dc_, left, top, right, bottom);
}

void TCanvas::FillRect(const RECT& r)
{
    RequireTools();
    ::FillRect(dc_, &r, brush_->Handle());
}

void TCanvas::FrameRect(const RECT& r)
{
    RequireTools();
    ::FrameRect(dc_, &r, brush_->Handle());
}

void TCanvas::DrawFocusRect(const RECT& r)
{
    RequireTools();
    ::DrawFocusRect(dc_, &r);
}

void TCanvas::TextOut(int x, int y, const std::string& text)
{
    RequireTools();
    const std::wstring w = Utf8ToWide(text);
    ExtTextOutW(dc_, x, y, 0, nullptr, w.c_str(), static_cast<UINT>(w.size()), nullptr);
}

void TCanvas::TextRect(const RECT& r, int x, int y, const std::string& text)
{
    RequireTools();
    const std::wstring w = Utf8ToWide(text);
    UINT options = ETO_CLIPPED;
    if (brush_->Style() != bsClear)
        options |= ETO_OPAQUE;
    ExtTextOutW(dc_, x, y, options, &r, w.c_str(), static_cast<UINT>(w.size()), nullptr);
}

SIZE TCanvas::TextExtent(const std::string& text)
{
    SIZE size{};
    RequireTools();
    if (!dc_)
        return size;
    const std::wstring w = Utf8ToWide(text);
    GetTextExtentPoint32W(dc_, w.c_str(), static_cast<int>(w.size()), &size);
    return size;
}

void TCanvas::Draw(int x, int y, TGraphic& graphic)
{
    if (graphic.Empty())
        return;
    const RECT r{x, y, x + graphic.Width(), y + graphic.Height()};
    graphic.Draw(*this, r);
}

void TCanvas::StretchDraw(const RECT& r, TGraphic& graphic)
{
    if (!graphic.Empty())
        graphic.Draw(*this, r);
}

void TCanvas::CopyRect(const RECT& dest, TCanvas& source, const RECT& src)
{
    RequireTools();
    HDC from = source.Handle();
    if (!dc_ || !from)
        return;
    SetStretchBltMode(dc_, COLORONCOLOR);
    StretchBlt(dc_, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, from, src.left,
               src.top, src.right - src.left, src.bottom - src.top, copyMode_);
}

TColor TCanvas::Pixel(int x, int y)
{
    HDC dc = Handle();
    const COLORREF c = dc ? GetPixel(dc, x, y) : CLR_INVALID;
    return c == CLR_INVALID ? clNone : static_cast<TColor>(c);
}

void TCanvas::SetPixel(int x, int y, TColor color)
{
    if (HDC dc = Handle())
        ::SetPixelV(dc, x, y, static_cast<COLORREF>(ColorToRGB(color)));
}

RECT TCanvas::ClipRect()
{
    RECT r{};
    if (HDC dc = Handle())
        GetClipBox(dc, &r);
    return r;
}
