// The frame's window procedure (three stages), the form object's hook and the MDI client's
// procedure.
#include "classlib/controls/Messages.h"
#include "classlib/forms/Form.h"
#include "classlib/menus/Menu.h"
#include "skin/SkinMessages.h"
#include "skin/data/SkinData.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinMenuBar.h"
#include "skin/manager/SkinManager.h"

LRESULT TSkinForm::WindowProcThunk(void* self, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return static_cast<TSkinForm*>(self)->WndProc(msg, wParam, lParam);
}

LRESULT TSkinForm::Default(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return CallSavedProc(OldWndProc, UnicodeWindow, FormHandle, msg, wParam, lParam);
}

LRESULT TSkinForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (StageA(msg, wParam, lParam, result))
        return result;
    const bool topLevel = MdiKind == mkChild || !(GetWindowLongPtrW(FormHandle, GWL_STYLE) & WS_CHILD);
    if (!topLevel)
        return Default(msg, wParam, lParam);
    const bool handledB = StageB(msg, wParam, lParam, result);
    if (SkinState != ssAttached && WindowState != fwMinimized && !IsMaximizedMdiChild() &&
        StageC(msg, wParam, lParam, result))
        return result;
    return handledB ? result : Default(msg, wParam, lParam);
}

// True when the message is done with (result set); false: on to stage B.
bool TSkinForm::StageA(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    const bool foreign = FormControl == nullptr;
    switch (msg) {
    case WM_NCPAINT:
        if (SkinState == ssAttached) {
            result = 0;
            return true;
        }
        break;
    case WM_ERASEBKGND:
        result = Default(msg, wParam, lParam);
        if (foreign && SkinData && SkinData->FaceBrush) {
            RECT client{};
            GetClientRect(FormHandle, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, SkinData->FaceBrush);
            result = 1;
        }
        return true;
    case WM_NCDESTROY: {
        SkinState = ssDestroying;
        const WNDPROC old = OldWndProc;
        const bool unicode = UnicodeWindow;
        const HWND window = FormHandle;
        Release();
        result = CallSavedProc(old, unicode, window, msg, wParam, lParam);
        SkinState = ssReleased;
        return true;
    }
    case WM_NCACTIVATE:
        if (SkinState == ssAttached && MdiKind != mkChild) {
            result = 0;
            return true;
        }
        return false;
    case WM_INITMENUPOPUP:
        if (TSkinManager* manager = TheSkinManager())
            manager->MenuKind = reinterpret_cast<HMENU>(wParam) == SystemMenu ? mkSystemMenu : mkMenuBarDropDown;
        result = Default(msg, wParam, lParam);
        return true;
    case WM_CTLCOLORBTN:
        result = Default(msg, wParam, lParam);
        if (foreign)
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return true;
    case WM_CTLCOLORSTATIC:
        result = Default(msg, wParam, lParam);
        if (foreign && SkinData) {
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            result = reinterpret_cast<LRESULT>(SkinData->FaceBrush);
        }
        return true;
    case SKM_ACTIVATE:
        Activate();
        result = 0;
        return true;
    case SKM_ISSKINNED:
        result = 1;
        return true;
    default:
        break;
    }
    if (!FrameSkinned) {
        result = Default(msg, wParam, lParam);
        return true;
    }
    return false;
}

// True when stage B handled the message (result set).
bool TSkinForm::StageB(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_SIZE:
        result = OnSize(wParam, lParam);
        return true;
    case WM_ACTIVATE:
    case WM_NCACTIVATE:
        WindowActive = LOBYTE(wParam) ? 1 : 0;
        return false;
    case WM_GETMINMAXINFO: {
        Default(msg, wParam, lParam);
        ReadWindowState();
        if (WindowState == fwMinimized)
            SetCaptionStyle(true);
        else if (MdiKind != mkChild || WindowState == fwNormal)
            SetCaptionStyle(false);
        else
            SetCaptionStyle(true);
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
        result = 0;
        return true;
    }
    case WM_WINDOWPOSCHANGED:
        ReadWindowState();
        result = Default(msg, wParam, lParam);
        return true;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case SC_SIZE: case SC_MOVE: case SC_MINIMIZE: case SC_MAXIMIZE: case 0xF040: case 0xF050: case SC_CLOSE:
        case SC_RESTORE:
            PostMessageW(FormHandle, WM_SYSCOMMAND, LOWORD(wParam), 0);
            result = 0;
            return true;
        default:
            result = Default(msg, wParam, lParam);
            return true;
        }
    case WM_SYSCOMMAND:
        result = OnSysCommand(wParam, lParam);
        return true;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        return StageA(msg, wParam, lParam, result);
    case CM_MENUCHANGED:
        result = PassMenuChanged([&] { return Default(msg, wParam, lParam); });
        return true;
    default:
        return false;
    }
}

// True when stage C produced the answer.
bool TSkinForm::StageC(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_NCCALCSIZE:
        result = OnNcCalcSize(wParam, lParam);
        return true;
    case WM_NCHITTEST:
        result = OnNcHitTest(wParam, lParam);
        return true;
    case WM_NCPAINT:
        SetSysMenuStyle(true);
        if (SkinData->FramePainting) {
            if (FrameKind == fkNone)
                Default(msg, wParam, lParam);
            else
                RepaintFrameNow();
        }
        result = 0;
        return true;
    case WM_NCACTIVATE:
        result = OnNcActivate(wParam, lParam);
        return true;
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
        return NcMouse(msg, wParam, lParam, result);
    case WM_MEASUREITEM:
        if (wParam == 0 && OnMeasureMenuItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) {
            result = 1;
            return true;
        }
        return false;
    case WM_DRAWITEM:
        if (wParam == 0 && OnDrawMenuItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) {
            result = 1;
            return true;
        }
        return false;
    case SKM_REPAINTFRAME:
        RepaintFrameNow();
        result = 0;
        return true;
    default:
        return false;
    }
}

void TSkinForm::RepaintFrameNow()
{
    HDC dc = GetWindowDC(FormHandle);
    if (!dc)
        return;
    PaintFrame(dc);
    ReleaseDC(FormHandle, dc);
}

// ---- The form object's own hook -----------------------------------------------------------

void TSkinForm::FormWindowMethod(TMessage& message)
{
    auto passOn = [&] {
        if (OldWindowMethod)
            OldWindowMethod(message);
    };
    switch (message.Msg) {
    case WM_SETTEXT:
        passOn();
        if (WindowState == fwMaximized)
            if (TSkinManager* manager = TheSkinManager(); manager && manager->MdiClientWindow)
                PostMessageW(manager->MdiClientWindow, SKM_REDRAWMDI, reinterpret_cast<WPARAM>(FormHandle), 0);
        SetWindowPos(FormHandle, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        break;
    case SKM_RESKIN:
        Reskin();
        break;
    case CM_MENUCHANGED:
        message.Result = PassMenuChanged([&] {
            passOn();
            return message.Result;
        });
        break;
    case CM_DIALOGCHAR:
        passOn();
        if (message.Result == 0)
            message.Result = DialogChar(message.WParam) ? 1 : 0;
        break;
    default:
        passOn();
        break;
    }
}

// ---- MDI client ---------------------------------------------------------------------------

LRESULT TSkinForm::MdiClientProcThunk(void* self, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return static_cast<TSkinForm*>(self)->MdiClientProc(msg, wParam, lParam);
}

void TSkinForm::SwapMdiClient(bool install)
{
    if (!MdiClient)
        return;
    if (install && !NewMdiClientProc) {
        NewMdiClientProc = std::make_unique<TObjectWndProc>(this, &TSkinForm::MdiClientProcThunk);
        OldMdiClientProc = SwapWindowProc(MdiClient, NewMdiClientProc->Proc(), IsWindowUnicode(MdiClient) != FALSE);
    } else if (!install && NewMdiClientProc) {
        if (IsWindow(MdiClient))
            SwapWindowProc(MdiClient, OldMdiClientProc, IsWindowUnicode(MdiClient) != FALSE);
        NewMdiClientProc.reset();
    }
}

LRESULT TSkinForm::MdiClientProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    const bool unicode = IsWindowUnicode(MdiClient) != FALSE;
    const HWND client = MdiClient;
    auto passOn = [&] { return CallSavedProc(OldMdiClientProc, unicode, client, msg, wParam, lParam); };
    TSkinManager* manager = TheSkinManager();
    switch (msg) {
    case WM_NCDESTROY: {
        const LRESULT result = passOn();
        SwapMdiClient(false);
        return result;
    }
    case WM_NCCALCSIZE:
        if (!SkinData->Options().Contains(xoMDIScrollbar))
            SetWindowLongPtrW(client, GWL_STYLE,
                              GetWindowLongPtrW(client, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_VSCROLL | WS_HSCROLL));
        return passOn();
    case WM_MDIDESTROY: {
        const LRESULT result = passOn();
        BOOL maximized = FALSE;
        const auto active = reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
        if (manager)
            manager->SetMdiMaximized(active && maximized);
        if (!active && MenuBarPainter) {
            SkinData->SetMenuUpdate(SavedMenuUpdate);
            RebuildMenuBar(nullptr);
        }
        return result;
    }
    case WM_MDITILE:
    case WM_MDICASCADE:
        if (manager && manager->MdiMaximized)
            manager->SetMdiMaximized(false);
        return passOn();
    case WM_MDISETMENU: {
        const LRESULT result = passOn();
        RebuildMenuBar(reinterpret_cast<HMENU>(wParam));
        SetMenu(FormHandle, nullptr);
        return result;
    }
    case WM_MDICREATE:
        SkinData->SetMenuUpdate(false);
        return passOn();
    case SKM_REDRAWMDI:
        RedrawWindow(client, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
        return 0;
    default:
        return passOn();
    }
}
