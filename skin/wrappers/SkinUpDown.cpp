// Up-down buttons: each half in its own state, the half under a pressed mouse button pressed.
#include "skin/wrappers/SkinUpDown.h"

#include <windows.h>
#include <commctrl.h>

#include "classlib/controls/Messages.h"
#include "classlib/graphics/Canvas.h"
#include "skin/data/SkinData.h"
#include "skin/draw/SkinDraw.h"
#include "skin/manager/SkinManager.h"
#include "skin/wrappers/SkinStates.h"

namespace {
constexpr int kUpDownImages = 8;
constexpr int kEdgeKeep = 3;

void FillSolid(HDC dc, const RECT& rect, TColor colour)
{
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(colour)));
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

// A small filled triangle pointing up, down, left or right around (cx, cy); the vertical ones
// both span the rows cy - 2 to cy + 1.
void DrawArrow(HDC dc, int cx, int cy, int direction, TColor colour)
{
    constexpr int size = 3;
    POINT p[3];
    switch (direction) {
    case 0: p[0] = {cx - size, cy + 1}; p[1] = {cx + size, cy + 1}; p[2] = {cx, cy + 1 - size}; break;
    case 1: p[0] = {cx - size, cy - 2}; p[1] = {cx + size, cy - 2}; p[2] = {cx, cy - 2 + size}; break;
    case 2: p[0] = {cx + 1, cy - size}; p[1] = {cx + 1, cy + size}; p[2] = {cx + 1 - size, cy}; break;
    default: p[0] = {cx - 1, cy - size}; p[1] = {cx - 1, cy + size}; p[2] = {cx - 1 + size, cy}; break;
    }
    const COLORREF c = static_cast<COLORREF>(ColorToRGB(colour));
    HBRUSH brush = CreateSolidBrush(c);
    HPEN pen = CreatePen(PS_SOLID, 1, c);
    HGDIOBJ oldBrush = SelectObject(dc, brush), oldPen = SelectObject(dc, pen);
    Polygon(dc, p, 3);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}
} // namespace

bool TSkinUpDown::BeforeMessage(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_PAINT:
        PaintOnWmPaint(msg);
        return false;
    case WM_ERASEBKGND:
        if (!Control) {
            RECT client{};
            GetClientRect(Handle, &client);
            FillRect(reinterpret_cast<HDC>(msg.WParam), &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        }
        msg.Result = 1;
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        CallControlProc(msg);
        MouseState |= msPressed;
        PaintNow(nullptr);
        return false;
    case WM_LBUTTONUP:
        MouseState &= ~msPressed;
        return true;
    default:
        return TSkinControl::BeforeMessage(msg);
    }
}

void TSkinUpDown::AfterMessage(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_LBUTTONUP:
        PaintNow(nullptr);
        break;
    case WM_MOUSEMOVE:
        // The half under the cursor lights up; the other one shows its normal image.
        if (IsWindowEnabled(Handle))
            MouseState |= msHot;
        TrackLeave(Handle);
        PaintNow(nullptr);
        break;
    case WM_MOUSELEAVE:
    case CM_MOUSELEAVE:
        if (MouseState & msHot) {
            MouseState &= ~msHot;
            PaintNow(nullptr);
        }
        break;
    default:
        TSkinControl::AfterMessage(msg);
        break;
    }
}

int TSkinUpDown::HalfState(int half, POINT cursor, const RECT& first, const RECT& second) const
{
    const RECT& other = half == 0 ? second : first;
    int state = 1;
    if (!PtInRect(&other, cursor))
        state = StateImage((MouseState & msPressed) != 0, (MouseState & msHot) != 0, true);
    return Enabled ? state : 3;
}

RECT TSkinUpDown::EmbeddedArea(RECT area) const
{
    RECT self{}, parent{};
    const HWND owner = GetParent(Handle);
    if (!owner || !GetWindowRect(Handle, &self) || !GetWindowRect(owner, &parent))
        return area;
    if (const int gap = self.top - parent.top; gap < kEdgeKeep)
        area.top += kEdgeKeep - gap;
    if (const int gap = parent.bottom - self.bottom; gap < kEdgeKeep)
        area.bottom -= kEdgeKeep - gap;
    if (const int gap = parent.right - self.right; gap < kEdgeKeep)
        area.right -= kEdgeKeep - gap;
    return area;
}

void TSkinUpDown::Draw(HDC dc, const RECT& rect)
{
    if (!SkinData)
        return;
    RECT area = rect;
    if (Embedded) {
        FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        area = EmbeddedArea(area);
    }
    const int w = area.right - area.left, h = area.bottom - area.top;
    if (w <= 0 || h <= 0)
        return;
    if (Buffer.Width() != w || Buffer.Height() != h)
        Buffer.SetSize(w, h);
    HDC buffer = Buffer.Canvas()->Handle();
    const RECT local{0, 0, w, h};
    FillFace(buffer, local);

    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(Handle, &cursor);
    cursor.x -= area.left;
    cursor.y -= area.top;
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(Handle, GWL_STYLE));
    Enabled = !(style & WS_DISABLED);
    Horizontal = (style & UDS_HORZ) || PropName("Orientation") == "udHorizontal";

    const RECT first = Horizontal ? RECT{0, 0, w / 2, h} : RECT{0, 0, w, h / 2};
    const RECT second = Horizontal ? RECT{w / 2, 0, w, h} : RECT{0, h / 2, w, h};
    DrawHalf(buffer, first, 0, HalfState(0, cursor, first, second));
    DrawHalf(buffer, second, 1, HalfState(1, cursor, first, second));
    BitBlt(dc, area.left, area.top, w, h, buffer, 0, 0, SRCCOPY);
}

void TSkinUpDown::DrawHalf(HDC dc, const RECT& half, int number, int state)
{
    TDataSkinBorder* element = Horizontal ? SkinData->UpDownHorz.get() : SkinData->UpDownVert.get();
    if (!element || element->Image.Empty()) {
        DrawPlainHalf(dc, half, number, state);
        return;
    }
    const int images = element->Frame > 0 ? element->Frame : kUpDownImages;
    const int index = number * 4 + state;
    DrawStripImage(dc, half, element->Image, true, images, index);
    if (!element->Image2.Empty())
        DrawStripImageCentered(dc, half, element->Image2, true, images, index);
}

void TSkinUpDown::DrawPlainHalf(HDC dc, const RECT& half, int number, int state)
{
    const bool lit = state == 2 || state == 4;
    FillSolid(dc, half, lit ? SkinData->ButtonShadowColour : SkinFaceColour(SkinData));
    HBRUSH outline = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(SkinData->ButtonDkShadowColour)));
    FrameRect(dc, &half, outline);
    DeleteObject(outline);
    const int cx = (half.left + half.right) / 2, cy = (half.top + half.bottom) / 2;
    const TColor ink = state == 3 ? SkinData->ButtonShadowColour : SkinData->ButtonTextColour;
    if (Horizontal)
        DrawArrow(dc, cx, cy, number == 0 ? 2 : 3, ink);
    else
        DrawArrow(dc, cx, cy, number == 0 ? 0 : 1, ink);
}
