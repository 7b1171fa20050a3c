// Caption buttons of a skinned frame: layout, visibility, drawing, the mouse and their actions.
#include <algorithm>

#include "classlib/controls/Messages.h"
#include "skin/SkinMessages.h"
#include "skin/data/SkinData.h"
#include "skin/draw/SkinDraw.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinMenuBar.h"
#include "skin/manager/SkinManager.h"
#include "skin/wrappers/SkinControl.h"

// ---- Non-client objects -------------------------------------------------------------------

void TNCObject::SetState(int state)
{
    State = state;
    Paint();
}

void TNCObject::MouseDown()
{
    if (Form->HotObject && Form->HotObject != this)
        Form->HotObject->MouseLeave();
    if (!Visible)
        return;
    Form->HotObject = this;
    SetState(ncPressed);
}

void TNCObject::MouseUp()
{
    if (Visible)
        SetState(ncHot);
}

void TNCObject::MouseMove()
{
    if (Form->HotObject == this)
        return;
    if (Form->HotObject)
        Form->HotObject->MouseLeave();
    if (!Visible)
        return;
    Form->HotObject = this;
    SetState(ncHot);
}

void TNCObject::MouseLeave()
{
    if (!Visible)
        return;
    if (Form->HotObject == this)
        Form->HotObject = nullptr;
    SetState(ncNormal);
}

void TSkinSysButton::Paint() { Form->PaintButton(*this); }

// ---- Layout and visibility ----------------------------------------------------------------

void TSkinForm::LayoutButtons()
{
    RightButtonEdge = 0;
    for (std::size_t i = 0; i < ButtonObjects.size(); ++i) {
        TSkinSysButton& button = *ButtonObjects[i];
        const TDataSkinSysButton& e = *button.Element;
        if (!IsButtonVisible(static_cast<int>(i)) || e.Image.Empty())
            continue;
        const int count = std::max(e.Frame, 1);
        const int w = e.Image.Width() / count, h = e.Image.Height();
        int x = 0, y = 0;
        switch (e.Align) {
        case 0:
            x = e.Xcoord, y = e.Ycoord;
            break;
        case 1:
            x = LastPaintWidth - e.Xcoord, y = e.Ycoord;
            if (x > 0)
                RightButtonEdge = std::max(RightButtonEdge, x);
            break;
        case 2: case 8:
            x = CaptionRect.left - w - e.Xcoord, y = e.Ycoord;
            break;
        case 3: case 9:
            x = e.Xcoord + CaptionRect.right, y = e.Ycoord;
            break;
        case 100: {
            const int margin = SkinData->MenuBarSkin ? SkinData->MenuBarSkin->LeftWidth : 0;
            y = TitleHeight + (MenuBarHeight - h) / 2;
            x = RightToLeft ? e.Xcoord + margin + FrameLeft : LastPaintWidth - e.Xcoord - FrameRight - margin;
            break;
        }
        default:
            break;
        }
        button.Bounds = {x, y, x + w, y + h};
    }
}

bool TSkinForm::IsButtonVisible(int i)
{
    TSkinSysButton& button = *ButtonObjects.at(static_cast<std::size_t>(i));
    const TDataSkinSysButton& e = *button.Element;
    const bool maximized = WindowState == fwMaximized;
    const bool active = WindowActive != 0;
    const bool maxBox = (CaptionButtons & cbMaximize) != 0;
    const bool minBox = (CaptionButtons & cbMinimize) != 0;
    const bool sysMenu = (CaptionButtons & cbSystemMenu) != 0;
    const bool dialogFrame = FrameKind == fkDialog && !IsDialogClass;
    auto mdiChildMaximized = [&] {
        if (!MdiClient || !MenuBarPainter)
            return false;
        BOOL childMaximized = FALSE;
        SendMessageW(MdiClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&childMaximized));
        return childMaximized != FALSE;
    };
    auto condition = [&](int code, bool first) -> bool {
        switch (code) {
        case -1: return false; // no meaning was ever given to it: hidden
        case 0: return true;
        case 1: return maximized;
        case 2: return !maximized;
        case 3: return active;
        case 4: return !active;
        case 6: return first ? maxBox && sysMenu : maxBox;
        case 7: return !maxBox;
        case 8: return first ? minBox && sysMenu : minBox;
        case 9: return !minBox;
        case 100: return mdiChildMaximized();
        case 200: return dialogFrame;
        default:
            if (code >= 201 && code <= 999)
                return true;
            if (code >= 1000 && code <= 2000)
                return !first || SendMessageW(FormHandle, SKM_BUTTONVISIBLE, static_cast<WPARAM>(code), e.Action) > 0;
            return false;
        }
    };
    bool visible = condition(e.Visibility, true);
    // Code 100's second condition is the first one again.
    if (visible)
        visible = e.Visibility1 == 100 ? mdiChildMaximized() : condition(e.Visibility1, false);
    switch (e.Action) {
    case 1: visible = visible && maxBox; break;
    case 2: visible = visible && minBox; break;
    case 3: case 11: case 12: visible = visible && FrameKind != fkDialog; break;
    default: break;
    }
    button.Visible = visible ? 1 : 0;
    return visible;
}

// ---- Drawing ------------------------------------------------------------------------------

void TSkinForm::DrawWindowIcon(HDC dc, const RECT& rect)
{
    if (WindowIcon) {
        DrawIconEx(dc, rect.left, rect.top, WindowIcon, IconSize, IconSize, 0, nullptr, DI_NORMAL);
        return;
    }
    if (!IconBitmap.Empty())
        DrawTransparent(dc, rect, IconBitmap, kSkinKeyColour);
}

void TSkinForm::DrawButtons(TCanvas& canvas)
{
    HDC dc = canvas.Handle();
    for (auto& object : ButtonObjects) {
        TSkinSysButton& button = *object;
        TDataSkinSysButton& e = *button.Element;
        if (!button.Visible || e.Image.Empty() || e.Visibility == 100)
            continue;
        if (e.Action == 3 || e.Action == 11) {
            DrawWindowIcon(dc, button.Bounds);
            continue;
        }
        const int count = std::max(e.Frame, 1);
        const int image = (WindowActive || count < 4) ? 1 : 4;
        DrawStripImage(dc, button.Bounds, e.Image, true, count, image);
    }
}

void TSkinForm::PaintButton(TSkinSysButton& button)
{
    TDataSkinSysButton& e = *button.Element;
    if (!button.Visible || e.Image.Empty() || SkinState == ssAttached || !IsWindow(FormHandle))
        return;
    HDC dc = GetWindowDC(FormHandle);
    if (!dc)
        return;
    if (e.Action == 3 || e.Action == 11) {
        DrawWindowIcon(dc, button.Bounds);
    } else {
        const int count = std::max(e.Frame, 1);
        int image = button.State;
        if (image == ncHot && e.Visibility == 100)
            image = 4;
        // A pressed or hot picture the strip lacks falls back to the first.
        if (image > count)
            image = 1;
        const RECT frame = StripFrameRect(e.Image, false, count, image);
        const int w = frame.right - frame.left, h = frame.bottom - frame.top;
        // The title strip under the button first, so transparent pixels show the caption.
        TBitmap piece(w, h, pf32bit);
        HDC pieceDc = piece.Canvas()->Handle();
        // Buttons in the menu bar lie on the bar's picture, not on the title's.
        if (e.Visibility == 100 && MenuBarPainter && !MenuBarPainter->BarImage.Empty())
            BitBlt(pieceDc, 0, 0, w, h, MenuBarPainter->BarImage.Canvas()->Handle(),
                   button.Bounds.left - MenuBarPainter->BarRect.left, button.Bounds.top - MenuBarPainter->BarRect.top,
                   SRCCOPY);
        else if (!TitleBuffer.Empty())
            BitBlt(pieceDc, 0, 0, w, h, TitleBuffer.Canvas()->Handle(), button.Bounds.left, button.Bounds.top, SRCCOPY);
        else
            BitBlt(pieceDc, 0, 0, w, h, dc, button.Bounds.left, button.Bounds.top, SRCCOPY);
        DrawStripImage(pieceDc, {0, 0, w, h}, e.Image, true, count, image);
        BitBlt(dc, button.Bounds.left, button.Bounds.top, w, h, pieceDc, 0, 0, SRCCOPY);
    }
    ReleaseDC(FormHandle, dc);
}

TNCObject* TSkinForm::ButtonAt(POINT p)
{
    for (auto& button : ButtonObjects)
        if (button->Visible && button->Element->Action >= 0 && PtInRect(&button->Bounds, p))
            return button.get();
    return nullptr;
}

// ---- Mouse --------------------------------------------------------------------------------

bool TSkinForm::NcMouse(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    const POINT screen{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const POINT p = ScreenToFrame(screen);
    TNCObject* object = ButtonAt(p);
    if (!object && MenuBarPainter)
        object = MenuBarPainter->MenuButtonAt(p);
    result = 0;
    switch (msg) {
    case WM_NCMOUSEMOVE:
        if (!WindowActive)
            return true;
        if (object) {
            object->MouseMove();
            return true;
        }
        if (HotObject)
            HotObject->MouseLeave();
        return false;
    case WM_NCLBUTTONDOWN:
        if (object) {
            if (!WindowActive)
                SetForegroundWindow(FormHandle);
            object->MouseDown();
            if (auto* menuButton = dynamic_cast<TMenuBtn*>(object))
                OpenMenu(*menuButton);
            return true;
        }
        if (WindowState == fwMaximized && WindowActive && wParam == HTCAPTION) {
            result = Default(msg, HTMENU, lParam);
            return true;
        }
        return false;
    case WM_NCLBUTTONUP:
        if (object) {
            if (object == HotObject && dynamic_cast<TSkinSysButton*>(object)) {
                object->MouseUp();
                DoButtonAction();
            }
            return true;
        }
        return false;
    case WM_NCLBUTTONDBLCLK:
        if (object) {
            if (auto* button = dynamic_cast<TSkinSysButton*>(object);
                button && (button->Element->Action == 3 || button->Element->Action == 11)) {
                SetHoverTimer(false);
                PostMessageW(FormHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
            }
            return true;
        }
        if (WindowState != fwNormal) {
            RestoreWindow();
            return true;
        }
        if (CaptionButtons & cbMaximize) {
            ToggleMaximize();
            return true;
        }
        return false;
    case WM_NCRBUTTONDOWN:
        if (wParam == HTCAPTION && MdiKind != mkChild) {
            ShowSystemMenu(screen.x, screen.y);
            return true;
        }
        return false;
    default:
        return false;
    }
}

// ---- Actions ------------------------------------------------------------------------------

bool TSkinForm::HasSysCloseItem() const
{
    const DWORD version = GetVersion();
    const bool nt = !(version & 0x80000000u);
    if (!nt || LOBYTE(LOWORD(version)) < 5)
        return true;
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID;
    return SystemMenu && GetMenuItemInfoA(SystemMenu, SC_CLOSE, FALSE, &info);
}

void TSkinForm::SendActiveMdiChild(WPARAM command)
{
    TSkinManager* manager = TheSkinManager();
    const HWND client = MdiClient ? MdiClient : (manager ? manager->MdiClientWindow : nullptr);
    if (!client)
        return;
    if (const auto child = reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, 0)))
        SendMessageW(child, WM_SYSCOMMAND, command, 0);
}

void TSkinForm::DoButtonAction()
{
    auto* button = dynamic_cast<TSkinSysButton*>(HotObject);
    if (!button)
        return;
    const int action = button->Element->Action;
    switch (action) {
    case 0:
        if (HasSysCloseItem()) {
            SetHoverTimer(false);
            PostMessageW(FormHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        break;
    case 1: case 22: ToggleMaximize(); break;
    case 2: case 23: ToggleMinimize(); break;
    case 3: case 11: case 12: {
        POINT cursor{};
        GetCursorPos(&cursor);
        ShowSystemMenu(cursor.x + 1, cursor.y + 1);
        break;
    }
    case 7: case 60: SendActiveMdiChild(SC_MINIMIZE); break;
    case 8: case 61: SendActiveMdiChild(SC_RESTORE); break;
    case 9: case 62: SendActiveMdiChild(SC_CLOSE); break;
    default:
        PostMessageW(FormHandle, SKM_BUTTONCLICK, static_cast<WPARAM>(action), 0);
        break;
    }
}

void TSkinForm::ToggleMaximize()
{
    if (WindowState == fwMaximized) {
        RestoreWindow();
        return;
    }
    if (MdiKind == mkChild)
        if (TSkinManager* manager = TheSkinManager())
            manager->SetMdiMaximized(true);
    WindowState = fwMaximized;
    PostMessageW(FormHandle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    HotObject = nullptr;
}

void TSkinForm::ToggleMinimize()
{
    if (WindowState == fwMinimized) {
        RestoreWindow();
        return;
    }
    WindowState = fwMinimized;
    PostMessageW(FormHandle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TSkinForm::RestoreWindow()
{
    WindowState = fwNormal;
    PostMessageW(FormHandle, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TSkinForm::HoverTick()
{
    if (MenuTracking)
        return;
    POINT cursor{};
    GetCursorPos(&cursor);
    if (HotObject) {
        const POINT p = ScreenToFrame(cursor);
        if (!PtInRect(&HotObject->Bounds, p))
            HotObject->MouseLeave();
    }
    if (!FormControl && HotChild) {
        RECT r{};
        GetWindowRect(HotChild->Handle, &r);
        if (!PtInRect(&r, cursor)) {
            SendMessageW(HotChild->Handle, CM_MOUSELEAVE, 0, 0);
            HotChild = nullptr;
        }
    }
}
