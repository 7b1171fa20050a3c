#include "classlib/extctrls/ScrollBox.h"

#include <algorithm>

TScrollBox::TScrollBox(TComponent* owner) : TWinControl(owner)
{
    SetBounds(0, 0, 185, 41);
}

void TScrollBox::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.style |= WS_CLIPCHILDREN;
    if (borderStyle_ == bsSingle)
        p.exStyle |= WS_EX_CLIENTEDGE;
}

void TScrollBox::InitializeWnd()
{
    TWinControl::InitializeWnd();
    UpdateScrollRange();
}

void TScrollBox::SetBorderStyle(TBorderStyle value)
{
    if (value != bsNone)
        value = bsSingle;
    if (value == borderStyle_)
        return;
    borderStyle_ = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TScrollBox::SetAutoScroll(bool value)
{
    autoScroll_ = value;
    UpdateScrollRange();
}

void TScrollBox::UpdateScrollRange()
{
    if (!HandleAllocated())
        return;
    // The content reaches to the children's far edges, measured unscrolled.
    content_ = {0, 0};
    for (int i = 0; i < ControlCount(); ++i) {
        const TControl* c = Controls(i);
        if (!c->Visible())
            continue;
        content_.cx = std::max<LONG>(content_.cx, c->Left() + c->Width() + scroll_.x);
        content_.cy = std::max<LONG>(content_.cy, c->Top() + c->Height() + scroll_.y);
    }
    RECT client{};
    GetClientRect(Handle(), &client);
    for (int bar : {SB_HORZ, SB_VERT}) {
        const int page = bar == SB_HORZ ? client.right : client.bottom;
        const int extent = autoScroll_ ? (bar == SB_HORZ ? content_.cx : content_.cy) : 0;
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, extent > page ? extent - 1 : 0,
                      static_cast<UINT>(page), bar == SB_HORZ ? scroll_.x : scroll_.y, 0};
        SetScrollInfo(Handle(), bar, &si, TRUE);
        ShowScrollBar(Handle(), bar, extent > page);
    }
    // Content that now fits scrolls back into view.
    const int maxX = std::max<LONG>(0, content_.cx - client.right), maxY = std::max<LONG>(0, content_.cy - client.bottom);
    if (scroll_.x > maxX || scroll_.y > maxY)
        ScrollBy(scroll_.x - std::min<LONG>(scroll_.x, maxX), scroll_.y - std::min<LONG>(scroll_.y, maxY));
}

void TScrollBox::ScrollBy(int dx, int dy)
{
    if (dx == 0 && dy == 0)
        return;
    scroll_.x -= dx;
    scroll_.y -= dy;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
    }
    if (HandleAllocated()) {
        SetScrollPos(Handle(), SB_HORZ, scroll_.x, TRUE);
        SetScrollPos(Handle(), SB_VERT, scroll_.y, TRUE);
        InvalidateRect(Handle(), nullptr, TRUE);
    }
}

void TScrollBox::Scroll(int bar, int code)
{
    SCROLLINFO si{sizeof si, SIF_ALL};
    GetScrollInfo(Handle(), bar, &si);
    int pos = si.nPos;
    const int line = 8, page = static_cast<int>(si.nPage);
    switch (code) {
    case SB_LINEUP: pos -= line; break;
    case SB_LINEDOWN: pos += line; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    case SB_TOP: pos = si.nMin; break;
    case SB_BOTTOM: pos = si.nMax; break;
    default: return;
    }
    pos = std::clamp(pos, si.nMin, std::max(si.nMin, si.nMax - page + 1));
    const int current = bar == SB_HORZ ? scroll_.x : scroll_.y;
    if (bar == SB_HORZ)
        ScrollBy(current - pos, 0);
    else
        ScrollBy(0, current - pos);
}

void TScrollBox::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (m.LParam == 0) { // our own bars; a child's go to the child
            Scroll(m.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(m.WParam));
            m.Result = 0;
            return;
        }
        break;
    case WM_SIZE:
        TWinControl::WndProc(m);
        UpdateScrollRange();
        return;
    default:
        break;
    }
    TWinControl::WndProc(m);
}
