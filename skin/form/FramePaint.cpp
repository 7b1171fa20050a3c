// Painting the skinned frame (borders, title strip, caption) and shaping the window by the
// borders' transparent pixels.
#include <string>

#include "classlib/Unicode.h"
#include "skin/data/SkinData.h"
#include "skin/draw/SkinDraw.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinMenuBar.h"

namespace {
RECT WindowBox(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return {0, 0, r.right - r.left, r.bottom - r.top};
}
}

TDataSkinBorder* TSkinForm::BorderElement(int side) const
{
    switch (side) {
    case 1: return SkinData->BorderLeft.get();
    case 2: return SkinData->BorderRight.get();
    case 3: return SkinData->BorderTop.get();
    case 4: return SkinData->BorderBottom.get();
    default: return nullptr;
    }
}

std::wstring TSkinForm::WindowTextWide() const
{
    if (IsWindowUnicode(FormHandle)) {
        const int length = GetWindowTextLengthW(FormHandle);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        text.resize(static_cast<std::size_t>(GetWindowTextW(FormHandle, text.data(), length + 1)));
        return text;
    }
    char buffer[1000] = {};
    SendMessageA(FormHandle, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    const int length = MultiByteToWideChar(CP_ACP, 0, buffer, -1, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(std::max(length, 1)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, buffer, -1, text.data(), length);
    text.resize(wcslen(text.c_str()));
    return text;
}

void TSkinForm::PaintFrame(HDC dc)
{
    if ((SkinState != ssActive && SkinState != ssReskinning) || FrameKind == fkNone || IsMaximizedMdiChild() ||
        !SkinData)
        return;
    const bool ownDc = dc == nullptr;
    if (ownDc)
        dc = GetWindowDC(FormHandle);
    if (!dc)
        return;
    try {
        const RECT box = WindowBox(FormHandle);
        const int W = box.right, H = box.bottom;
        LastPaintWidth = W;
        LastPaintHeight = H;
        DrawBorderPiece(1, {0, 0, FrameLeft, H}, dc);
        DrawBorderPiece(2, {W - FrameRight, 0, W, H}, dc);
        DrawBorderPiece(4, {FrameLeft, H - FrameBottom, W - FrameRight, H}, dc);
        PaintTitle(dc);
        const RECT strip{FrameLeft, TitleHeight, W - FrameRight, TitleHeight + MenuBarHeight};
        if (MenuBarPainter && MenuBarHeight > 0)
            MenuBarPainter->PaintBar(dc, strip);
        else if (MenuBarHeight > 0 && SkinData->FaceBrush)
            FillRect(dc, &strip, SkinData->FaceBrush);
    } catch (...) {
        // A frame that cannot be painted keeps what was there.
    }
    if (ownDc)
        ReleaseDC(FormHandle, dc);
    HotObject = nullptr;
}

void TSkinForm::PaintTitle(HDC dc)
{
    const int W = LastPaintWidth;
    if (W <= 0 || TitleHeight <= 0)
        return;
    TitleBuffer.SetPixelFormat(pf32bit);
    TitleBuffer.SetSize(W, TitleHeight);
    TCanvas& canvas = *TitleBuffer.Canvas();
    HDC buffer = canvas.Handle();
    BitBlt(buffer, 0, 0, W, TitleHeight, dc, 0, 0, SRCCOPY);
    DrawBorderPiece(3, {FrameLeft, 0, W - FrameRight, TitleHeight}, buffer);
    DrawCaption(canvas, {FrameLeft, 0, W - FrameRight, TitleHeight});
    LayoutButtons();
    DrawButtons(canvas);
    BitBlt(dc, 0, 0, W, TitleHeight, buffer, 0, 0, SRCCOPY);
    SetBkMode(dc, OPAQUE);
}

void TSkinForm::DrawBorderPiece(int side, const RECT& rect, HDC dc)
{
    if (rect.right < rect.left || rect.bottom < rect.top || rect.right == rect.left || rect.bottom == rect.top)
        return;
    TDataSkinBorder* element = BorderElement(side);
    if (!element || element->Image.Empty())
        return;
    const int frames = std::max(element->Frame, 1);
    const int image = (WindowActive || frames == 1) ? 1 : 2;
    const bool stacked = side == 3 || side == 4;
    const RECT size{0, 0, rect.right - rect.left, rect.bottom - rect.top};
    std::unique_ptr<TBitmap> picture =
        RenderNineSlice(size, element->Image, element->Margins(), stacked, element->Tile != 1, frames, image);
    if (!picture || picture->Empty())
        return;
    BitBlt(dc, rect.left, rect.top, size.right, size.bottom, picture->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TSkinForm::DrawCaption(TCanvas& canvas, const RECT& titleRect)
{
    const std::wstring text = CaptionPrefix + WindowTextWide() + CaptionSuffix;
    HDC dc = canvas.Handle();
    HGDIOBJ oldFont = SelectObject(dc, CaptionFont.Handle());
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(WindowActive ? SkinData->TitleTextActiveColour : SkinData->TitleTextNoActiveColour));
    const TDataSkinTitle* title = SkinData->Title.get();
    const int shift = title ? title->LeftWidth : 0;
    const int shiftVert = title ? title->TopHeight : 0;
    const int rightClip = title ? title->RightWidth : 0;
    const int alignment = title ? title->TextAlignment : 0;
    const int backLeft = title ? title->TXTBackleft : 0;
    const int backRight = title ? title->TXTBackRight : 0;

    RECT r = titleRect;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_NOCLIP);
    r.right += backLeft + backRight;
    const int tw = r.right - r.left, th = r.bottom - r.top;
    const int L = titleRect.left, R = titleRect.right;
    int dx = 0;
    switch (RightToLeft ? 2 : alignment) {
    case 0: dx = shift; break;
    case 1: dx = (R - L - tw) / 2; break;
    case 2: dx = R - L - rightClip - tw; break;
    default: dx = 0; break;
    }
    const int dy = (titleRect.bottom - titleRect.top - th) / 2 + shiftVert / 2;
    OffsetRect(&r, dx, dy);
    if (GetWindowLongPtrW(FormHandle, GWL_STYLE) & WS_POPUP) {
        if (RightButtonEdge > 5 && RightButtonEdge - 5 < r.right)
            r.right = RightButtonEdge - 5;
    } else if (R - rightClip < r.right) {
        r.right = R - rightClip;
    }
    if (FrameKind == fkDialog && alignment == 0)
        r.left -= 16;
    CaptionRect = r;
    if (title && !title->Image.Empty()) {
        const RECT back{r.left, titleRect.top, r.right, titleRect.bottom};
        DrawThreeSlice(canvas, back, const_cast<TBitmap&>(title->Image), true, true, 2, WindowActive ? 1 : 2,
                       {backLeft, 0, backRight, 0});
    }
    r.left += backLeft;
    r.right -= backRight;
    UINT flags = DT_SINGLELINE | DT_END_ELLIPSIS;
    if (RightToLeft)
        flags |= DT_RIGHT;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
}

void TSkinForm::UpdateRegion(bool redraw)
{
    if (SkinState == ssReleased || !SkinData)
        return;
    const RECT box = WindowBox(FormHandle);
    const int W = box.right, H = box.bottom;
    if (W <= 0 || H <= 0)
        return;
    if (MdiKind == mkChild && WindowState != fwNormal)
        return;
    if (W == RegionWidth && H == RegionHeight && MdiKind != mkChild && SkinState != ssReskinning)
        return;
    TDataSkinBorder* sides[] = {SkinData->BorderLeft.get(), SkinData->BorderRight.get(), SkinData->BorderTop.get(),
                                SkinData->BorderBottom.get()};
    bool anyTrans = false;
    for (TDataSkinBorder* side : sides)
        anyTrans = anyTrans || (side && side->Trans == 1);
    HRGN region = nullptr;
    if (!anyTrans) {
        region = CreateRectRgn(0, 0, W, H);
    } else {
        RegionWidth = W;
        RegionHeight = H;
        region = CreateRectRgn(FrameLeft, TitleHeight, W - FrameRight, H - FrameBottom);
        auto add = [&](HRGN part) {
            if (!part)
                return;
            CombineRgn(region, region, part, RGN_OR);
            DeleteObject(part);
        };
        auto addSide = [&](int side, const RECT& r, bool byPixels) {
            if (r.right <= r.left || r.bottom <= r.top)
                return;
            TDataSkinBorder* element = BorderElement(side);
            if (byPixels && element && element->Trans == 1 && !element->Image.Empty()) {
                TBitmap piece(r.right - r.left, r.bottom - r.top, pf32bit);
                DrawBorderPiece(side, {0, 0, r.right - r.left, r.bottom - r.top}, piece.Canvas()->Handle());
                add(RegionFromBitmap(piece, r.left, r.top, 1, 1, 1, kSkinKeyColour));
            } else {
                add(CreateRectRgn(r.left, r.top, r.right, r.bottom));
            }
        };
        if (FrameKind != fkNone) {
            addSide(1, {0, 0, FrameLeft, H}, H > 1);
            addSide(2, {W - FrameRight, 0, W, H}, H > 1);
            addSide(3, {FrameLeft, 0, W - FrameRight, TitleHeight}, TitleHeight > 1);
            addSide(4, {FrameLeft, H - FrameBottom, W - FrameRight, H}, FrameBottom >= 2);
        }
    }
    // A region the system took is its own from now on; it deletes the one it replaces.
    if (SetWindowRgn(FormHandle, region, redraw ? TRUE : FALSE)) {
        FrameRegion = region;
        RegionOwned = true;
    } else {
        DeleteObject(region);
        FrameRegion = nullptr;
        RegionOwned = false;
    }
}
