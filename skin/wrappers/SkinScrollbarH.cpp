#include "skin/wrappers/SkinScrollbarH.h"

void TSkinScrollbarH::AttachWindow(HWND handle, TSkinData* skin, TSkinForm* form, TCanvas* canvas)
{
    if (Attached || !IsWindow(handle))
        return;
    HorzBar = new TSkinBarOverlay(this);
    VertBar = new TSkinBarOverlay(this);
    // The bars need the skin before the window procedure can ask them to paint.
    SkinData = skin;
    HorzBar->AttachToWindow(this, handle, bkHorzBar);
    VertBar->AttachToWindow(this, handle, bkVertBar);
    TSkinControl::AttachWindow(handle, skin, form, canvas);
}

void TSkinScrollbarH::AfterMessage(TMessage& msg)
{
    // Neither bar stays over a window that is gone from view.
    if (!IsWindowVisible(Handle))
        for (TSkinBarOverlay* bar : {HorzBar, VertBar})
            if (bar && bar->Shown)
                bar->HideBar();
    switch (msg.Msg) {
    case WM_SIZE:
    case WM_NCPAINT:
        PlaceBars(HorzBar, VertBar);
        for (TSkinBarOverlay* bar : {HorzBar, VertBar})
            if (bar && bar->HandleAllocated())
                InvalidateRect(bar->Handle(), nullptr, FALSE);
        break;
    case WM_HSCROLL:
        ShowScrollCode(HorzBar, msg.WParam);
        break;
    case WM_VSCROLL:
        ShowScrollCode(VertBar, msg.WParam);
        break;
    default:
        TSkinControl::AfterMessage(msg);
        break;
    }
}

void TSkinScrollbarH::Draw(HDC dc, const RECT&)
{
    for (TSkinBarOverlay* bar : {HorzBar, VertBar})
        if (bar && bar->Shown)
            bar->Repaint();
    FillBarCorner(*this, dc, HorzBar, VertBar);
}

void TSkinScrollbarH::Restore()
{
    TSkinControl::Restore();
    if (State != wsDestroyed) {
        delete HorzBar;
        delete VertBar;
        HorzBar = VertBar = nullptr;
    } else {
        HideBars(HorzBar, VertBar);
    }
}
