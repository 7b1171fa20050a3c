#pragma once
// TSkinBarOverlay: a small window laid exactly over one scroll bar. It paints the skin there and
// hands the mouse to the covered bar, so the system's own scroll loop (auto-repeat, paging,
// thumb tracking) does the scrolling while the overlay only shows it.
#include <windows.h>

#include "classlib/extctrls/Panel.h"
#include "classlib/graphics/Bitmap.h"

class TSkinControl;
class TDataSkinObject;

// Kind values.
enum : BYTE { bkHorzBar = 0, bkVertBar = 1, bkControl = 2 };
// HotPart values.
enum : int {
    bpNone = -1, bpFirstArrow = 0, bpSecondArrow = 1, bpPageBefore = 2, bpPageAfter = 3, bpThumb = 5,
};

// Where the covered bar lies and where its thumb is, as the system reports it.
struct TBarGeometry {
    RECT bar{};           // screen coordinates (kinds 0, 1); the control's bounds in its parent (kind 2)
    int thumbStart = 0;   // along the axis, from the bar's start
    int thumbEnd = 0;
    DWORD state = 0;      // STATE_SYSTEM_* of the bar as a whole
};

// The part lit by a scroll code of WM_HSCROLL/WM_VSCROLL (codes without a part light none).
int PartOfScrollCode(int code);

class TSkinBarOverlay;
// What the wrappers with a horizontal and a vertical overlay share.
void PlaceBars(TSkinBarOverlay* horz, TSkinBarOverlay* vert);
void HideBars(TSkinBarOverlay* horz, TSkinBarOverlay* vert);
// WM_HSCROLL / WM_VSCROLL: the scroll code lights its part of the bar.
void ShowScrollCode(TSkinBarOverlay* bar, WPARAM wParam);
// With both bars shown, the corner between them in the face colour (dc: the host's window DC).
void FillBarCorner(const TSkinControl& wrapper, HDC dc, const TSkinBarOverlay* horz, const TSkinBarOverlay* vert);

class TSkinBarOverlay : public TCustomPanel {
public:
    explicit TSkinBarOverlay(TComponent* owner);
    ~TSkinBarOverlay() override;

    void AttachToControl(TSkinControl* wrapper, TWinControl* control, BYTE kind);
    void AttachToWindow(TSkinControl* wrapper, HWND handle, BYTE kind);
    // Follows the covered bar: hidden with it, else moved over it and shown.
    void Place();
    void HideBar();
    int PartAt(POINT p) const;
    // The painted thumb follows the cursor while it is dragged.
    void TrackThumb();
    // False when the system gives no bar.
    bool FetchGeometry(TBarGeometry& geometry) const;
    void Repaint();
    // Lights a part (or none) and repaints when that changes anything.
    void SetHotPart(int part);
    // The arrow length painted for a bar of the given length (half the bar when two do not fit).
    int ArrowLength(int barLength) const;

    TSkinControl* Owner = nullptr;
    BYTE Kind = bkHorzBar;
    bool Vertical = false;
    HWND Host = nullptr;
    TWinControl* HostControl = nullptr;
    int ArrowSize = 0;
    int BarLength = 0;
    int ThumbStart = 0, ThumbEnd = 0;
    POINT BarOrigin{};
    RECT BarRect{};
    POINT DownCursor{};
    int DownThumbStart = 0;
    int HotPart = bpNone;
    bool Pressed = false;
    bool Shown = false;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    void Attach(TSkinControl* wrapper, HWND host, BYTE kind);
    void EnsureWindow();
    void PaintBar(HDC dc);
    void ComposeBar(HDC buffer, const TBarGeometry& geometry, int thickness, bool enabled);
    void DrawThumb(HDC buffer, int thickness);
    RECT AlongAxis(int from, int to, int thickness) const;
    int AxisOf(POINT p) const { return Vertical ? p.y : p.x; }
    void ButtonDown(TMessage& message);
    void ButtonUp(TMessage& message);
    void MouseMoved(TMessage& message);

    HWND hostParent_ = nullptr;
    TBitmap buffer_;
};
