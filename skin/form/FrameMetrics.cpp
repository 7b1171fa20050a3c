// Activation, sizing to the skin, frame metrics and the non-client answers of a frame.
#include <algorithm>

#include "classlib/controls/Messages.h"
#include "classlib/controls/WinControl.h"
#include "classlib/forms/Form.h"
#include "classlib/stdctrls/Timer.h"
#include "skin/SkinMessages.h"
#include "skin/data/SkinData.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinMenuBar.h"
#include "skin/manager/SkinManager.h"
#include "skin/wrappers/SkinControl.h"

void TSkinForm::ReadWindowState()
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(FormHandle, &placement))
        return;
    switch (placement.showCmd) {
    case SW_SHOWMINIMIZED: case SW_MINIMIZE: case SW_SHOWMINNOACTIVE: WindowState = fwMinimized; break;
    case SW_SHOWMAXIMIZED: WindowState = fwMaximized; break;
    default: WindowState = fwNormal; break;
    }
}

void TSkinForm::RecordClientRect()
{
    GetClientRect(FormHandle, &ClientRect);
}

void TSkinForm::Activate()
{
    Activated = true;
    SystemMenu = GetSystemMenu(FormHandle, FALSE);
    PrepareIcon();
    RecordClientRect();
    RECT window{};
    GetWindowRect(FormHandle, &window);
    SystemFrameSize = {0, 0, (window.right - window.left) - (ClientRect.right - ClientRect.left),
                       (window.bottom - window.top) - (ClientRect.bottom - ClientRect.top)};

    if (auto* container = dynamic_cast<TWinControl*>(FormControl))
        SkinChildren(container);
    else
        SkinForeignChildren(FormHandle);

    if (SkinState == ssAttached && FrameSkinned) {
        if (MdiKind == mkChild) {
            if (WindowState == fwMaximized) {
                if (TSkinManager* manager = TheSkinManager(); manager && manager->MdiClientWindow)
                    PostMessageW(manager->MdiClientWindow, SKM_REDRAWMDI, reinterpret_cast<WPARAM>(FormHandle), 0);
            } else if (WindowState == fwMinimized) {
                SetCaptionStyle(true);
            } else {
                SkinState = ssResizing;
                FitToSkin(false);
                SkinState = ssActive;
                UpdateRegion();
            }
        } else if (!IsChildWindow && FrameKind != fkNone && WindowState != fwMinimized) {
            SkinState = ssResizing;
            FitToSkin(false);
            SkinState = ssActive;
            if (WindowState == fwMaximized)
                SetWindowPos(FormHandle, nullptr, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
            else
                UpdateRegion(false); // the frame change just now repaints the whole window
        }
    }
    SkinState = ssActive;
    SkinTrace("*****Skin Active finish");
    SetHoverTimer(true);
}

void TSkinForm::FitToSkin(bool keepClient)
{
    UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED;
    if (SkinState == ssReskinning)
        flags |= SWP_NOACTIVATE;
    if (WindowState == fwMaximized) {
        SetWindowPos(FormHandle, nullptr, 0, 0, 0, 0, flags | SWP_NOSIZE);
        return;
    }
    if (keepClient || IsDialogClass || SkinState == ssReskinning)
        RecordClientRect();
    int clientWidth = ClientRect.right - ClientRect.left;
    int clientHeight = ClientRect.bottom - ClientRect.top;
    if (FormControl && !keepClient) {
        clientWidth = FormControl->ClientWidth();
        clientHeight = MdiKind == mkChild ? FormControl->ClientHeight() : FormControl->ClientHeight() - MenuBarHeight;
    }
    int width = clientWidth + FrameLeft + FrameRight;
    const int height = clientHeight + TitleHeight + FrameBottom + MenuBarHeight;
    if (IsDialogClass && !keepClient) {
        const std::wstring text = WindowTextWide();
        HDC dc = GetWindowDC(FormHandle);
        HGDIOBJ old = SelectObject(dc, CaptionFont.Handle());
        RECT measure{0, 0, 0, 0};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measure, DT_CALCRECT | DT_SINGLELINE | DT_NOCLIP);
        SelectObject(dc, old);
        ReleaseDC(FormHandle, dc);
        const TDataSkinTitle* title = SkinData->Title.get();
        const int shift = title ? title->LeftWidth : 0;
        const int rightClip = title ? title->RightWidth : 0;
        const int needed = shift + (measure.right - measure.left) + rightClip;
        if (width < needed) {
            const int offset = (needed - width) / 2;
            for (HWND child = GetWindow(FormHandle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                RECT r{};
                GetWindowRect(child, &r);
                POINT topLeft{r.left, r.top};
                ScreenToClient(FormHandle, &topLeft);
                SetWindowPos(child, nullptr, topLeft.x + offset, topLeft.y, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING | SWP_NOOWNERZORDER);
            }
            width = needed;
        }
    }
    SetWindowPos(FormHandle, nullptr, 0, 0, width, height, flags);
}

void TSkinForm::ComputeFrameMetrics()
{
    if (!SkinData || SkinData->SkinEmpty)
        return;
    if (FrameKind == fkNone) {
        FrameLeft = TitleHeight = FrameRight = FrameBottom = 0;
        MenuBarHeight = 0;
    } else {
        auto across = [](const TDataSkinObject* e, bool vertical) {
            if (!e || e->Image.Empty())
                return 0;
            const int frames = std::max(e->Frame, 1);
            return vertical ? e->Image.Height() / frames : e->Image.Width() / frames;
        };
        TitleHeight = across(SkinData->BorderTop.get(), true);
        FrameLeft = across(SkinData->BorderLeft.get(), false);
        FrameRight = across(SkinData->BorderRight.get(), false);
        FrameBottom = across(SkinData->BorderBottom.get(), true);
    }
    HotObject = nullptr;
    ButtonObjects.clear();
    for (auto& element : SkinData->SysButtons) {
        auto button = std::make_unique<TSkinSysButton>(this, element.get());
        if (element->Action == 3 || element->Action == 11) {
            PrepareIcon();
            if (element->Image.Empty() && !SkinData->AppIcon.Empty())
                element->Image.Assign(SkinData->AppIcon);
            element->Frame = 1;
        }
        ButtonObjects.push_back(std::move(button));
    }
}

void TSkinForm::DropButtonObjects()
{
    HotObject = nullptr;
    ButtonObjects.clear();
}

void TSkinForm::PrepareIcon()
{
    const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
    IconBitmap.SetPixelFormat(pf32bit);
    IconBitmap.SetSize(cx, cy);
    HDC dc = IconBitmap.Canvas()->Handle();
    HBRUSH key = CreateSolidBrush(kSkinKeyColour);
    RECT all{0, 0, cx, cy};
    FillRect(dc, &all, key);
    DeleteObject(key);
    IconSize = cx;
    WindowIcon = reinterpret_cast<HICON>(SendMessageW(FormHandle, WM_GETICON, ICON_SMALL, 0));
    if (!WindowIcon)
        WindowIcon = reinterpret_cast<HICON>(SendMessageW(FormHandle, WM_GETICON, ICON_BIG, 0));
    if (WindowIcon) {
        if (HICON small = static_cast<HICON>(CopyImage(WindowIcon, IMAGE_ICON, cx, cy, LR_COPYFROMRESOURCE))) {
            DrawIconEx(dc, 0, 0, small, cx, cy, 0, nullptr, DI_NORMAL);
            DestroyIcon(small);
        } else {
            DrawIconEx(dc, 0, 0, WindowIcon, cx, cy, 0, nullptr, DI_NORMAL);
        }
        return;
    }
    if (!SkinData || !SkinData->AppIcon.Empty())
        return;
    // Borrow the icon of another skinned window that has one.
    if (TSkinManager* manager = TheSkinManager())
        for (TSkinForm* other : manager->Forms)
            if (other != this && manager->IsLiveFrame(other) && other->WindowIcon && !other->IconBitmap.Empty()) {
                BitBlt(dc, 0, 0, cx, cy, other->IconBitmap.Canvas()->Handle(), 0, 0, SRCCOPY);
                break;
            }
}

// ---- Non-client answers -------------------------------------------------------------------

LRESULT TSkinForm::OnNcCalcSize(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = Default(WM_NCCALCSIZE, wParam, lParam);
    if (wParam == 0)
        return 0;
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
    if (IsMaximizedMdiChild() || FrameKind == fkNone) {
        params->rgrc[1] = params->rgrc[0];
        return WVR_VALIDRECTS;
    }
    const WINDOWPOS* pos = params->lppos;
    if (!pos)
        return result;
    const RECT client{pos->x + FrameLeft, pos->y + TitleHeight + MenuBarHeight, pos->x + pos->cx - FrameRight,
                      pos->y + pos->cy - FrameBottom};
    params->rgrc[0] = client;
    params->rgrc[1] = client;
    return WVR_VALIDRECTS;
}

POINT TSkinForm::ScreenToFrame(POINT screen) const
{
    POINT p = screen;
    ScreenToClient(FormHandle, &p);
    if (WindowState != fwMinimized) {
        p.x += FrameLeft;
        p.y += TitleHeight + MenuBarHeight;
    }
    return p;
}

LRESULT TSkinForm::OnNcHitTest(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = Default(WM_NCHITTEST, wParam, lParam);
    if (result != HTNOWHERE && result != HTCAPTION)
        return result;
    const POINT p = ScreenToFrame({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
    LRESULT answer = result;
    if (p.y > 3)
        answer = HTCAPTION;
    if (p.y > TitleHeight && MenuBarHeight > 0)
        answer = HTMENU;
    return answer;
}

LRESULT TSkinForm::OnNcActivate(WPARAM wParam, LPARAM lParam)
{
    WindowActive = wParam ? 1 : 0;
    SetHoverTimer(WindowActive != 0);
    if (!WindowActive && HotChild) {
        SendMessageW(HotChild->Handle, CM_MOUSELEAVE, 0, 0);
        HotChild = nullptr;
    }
    if (MdiKind == mkFrame && MdiClient)
        SendMessageW(MdiClient, WM_NCACTIVATE, wParam, 0);
    if (MdiKind == mkChild)
        Default(WM_NCACTIVATE, wParam, lParam);
    if (!IsMaximizedMdiChild())
        RepaintFrameNow();
    return 1;
}

LRESULT TSkinForm::OnSize(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = Default(WM_SIZE, wParam, lParam);
    switch (wParam) {
    case SIZE_MINIMIZED: WindowState = fwMinimized; break;
    case SIZE_MAXIMIZED: WindowState = fwMaximized; break;
    case SIZE_RESTORED: WindowState = fwNormal; break;
    default: break;
    }
    if (WindowState == fwMinimized)
        return result;
    TSkinManager* manager = TheSkinManager();
    if (MdiKind == mkChild && (WindowState == fwMaximized || (manager && manager->MdiMaximized)))
        return result;
    if (SkinState == ssActive || SkinState == ssReskinning)
        UpdateRegion();
    return result;
}

LRESULT TSkinForm::OnSysCommand(WPARAM wParam, LPARAM lParam)
{
    TSkinManager* manager = TheSkinManager();
    if (!MenuTracking) {
        const WPARAM command = wParam & 0xFFF0;
        if (command == SC_KEYMENU && lParam == ' ') {
            POINT origin{0, 0};
            ClientToScreen(FormHandle, &origin);
            ShowSystemMenu(origin.x, origin.y);
            return 0;
        }
        // Menu-bar accelerators (Alt + letter) open the skinned menu bar's drop-downs.
        if (command == SC_KEYMENU && lParam != '-' && !GetCapture() && OpenMenuByKey(static_cast<wchar_t>(lParam)))
            return 1;
        switch (command) {
        case SC_MINIMIZE:
            WindowState = fwMinimized;
            if (MdiKind == mkChild)
                SetCaptionStyle(true);
            break;
        case SC_MAXIMIZE:
            WindowState = fwMaximized;
            break;
        case SC_RESTORE:
            WindowState = fwNormal;
            if (MdiKind == mkChild) {
                SetCaptionStyle(false);
                if (manager)
                    manager->SetMdiMaximized(false);
            }
            break;
        default:
            break;
        }
    }
    return Default(WM_SYSCOMMAND, wParam, lParam);
}

void TSkinForm::SetCaptionStyle(bool on)
{
    if (!(CaptionButtons & cbCaptionStripped))
        return;
    const LONG_PTR style = GetWindowLongPtrW(FormHandle, GWL_STYLE);
    const LONG_PTR wanted = on ? (style | WS_CAPTION) : (style & ~static_cast<LONG_PTR>(WS_CAPTION));
    if (wanted != style)
        SetWindowLongPtrW(FormHandle, GWL_STYLE, wanted);
}

void TSkinForm::SetSysMenuStyle(bool painting)
{
    if (CaptionButtons & cbCaptionStripped)
        return;
    const LONG_PTR style = GetWindowLongPtrW(FormHandle, GWL_STYLE);
    if (painting && WindowState != fwMinimized) {
        if (style & WS_SYSMENU)
            SetWindowLongPtrW(FormHandle, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_SYSMENU));
    } else if (SystemMenu && !(style & WS_SYSMENU)) {
        SetWindowLongPtrW(FormHandle, GWL_STYLE, style | WS_SYSMENU);
    }
}

void TSkinForm::Reskin()
{
    if (FormControl)
        FormControl->SetColor(SkinData->ButtonFaceColour);
    for (TSkinControl* wrapper : std::vector<TSkinControl*>(ChildSkins))
        wrapper->Refresh();
    SkinState = ssReskinning;
    if (FrameSkinned && FormControl) {
        FitToSkin(true);
        FormControl->SetHeight(FormControl->Height() + 1);
        FormControl->SetHeight(FormControl->Height() - 1);
    }
    SkinState = ssActive;
}
