// Construction, attaching and detaching of a frame painter, and its list of child wrappers.
#include "skin/form/SkinForm.h"

#include <algorithm>

#include "classlib/TypeInfo.h"
#include "classlib/controls/WinControl.h"
#include "classlib/forms/Form.h"
#include "classlib/menus/PopupMenu.h"
#include "classlib/stdctrls/Timer.h"
#include "skin/data/SkinData.h"
#include "skin/form/SkinMenuBar.h"
#include "skin/manager/SkinManager.h"
#include "skin/wrappers/SkinControl.h"

TSkinForm* FindSkinForm(HWND window)
{
    TSkinManager* manager = TheSkinManager();
    return manager ? manager->FindForm(window) : nullptr;
}

TSkinForm::TSkinForm(TComponent* owner) : TComponent(owner)
{
    DoubleClickTime = static_cast<int>(GetDoubleClickTime());
    // The record as it was before the padded border width joined it: every system fills it.
    constexpr UINT kClassicMetricsSize = 340;
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = kClassicMetricsSize;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kClassicMetricsSize, &metrics, 0))
        CaptionFont.SetHandle(CreateFontIndirectA(&metrics.lfCaptionFont));
    if (TSkinManager* manager = TheSkinManager())
        manager->FrameCreated(this);
}

TSkinForm::~TSkinForm()
{
    if (HoverTimer)
        HoverTimer->SetEnabled(false);
    if (NewWndProc && SkinState != ssReleased)
        Release();
    FreeChildSkins();
    ButtonObjects.clear();
    HotObject = nullptr;
    HoverTimer.reset();
    MenuBarPainter.reset();
    SkinnedSystemMenu.reset();
    if (TSkinManager* manager = TheSkinManager())
        manager->FrameDestroyed(this);
}

void TSkinForm::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
}

// ---- Attaching ----------------------------------------------------------------------------

void TSkinForm::AttachForm(TSkinData* skin, TControl* form)
{
    FormControl = form;
    if (HasProperty(form, "AutoScroll"))
        SetPropText(form, "AutoScroll", "False");
    if (skin->SkinControls().Contains(xcMainMenu)) {
        OldWindowMethod = form->WindowProc();
        form->SetWindowProc([this](TMessage& message) { FormWindowMethod(message); });
    }
    AttachWindow(skin);
    SavedColor = form->Color();
    form->SetColor(skin->ButtonFaceColour);
    OwnerDrawMainMenu();
}

void TSkinForm::AttachWindow(TSkinData* skin)
{
    if (NewWndProc)
        return;
    SkinData = skin;
    HoverTimer = std::make_unique<TTimer>(nullptr);
    HoverTimer->SetEnabled(false);
    HoverTimer->SetInterval(250);
    HoverTimer->OnTimer = [this](TComponent*) { HoverTick(); };

    FrameSkinned = skin->SkinControls().Contains(xcMainMenu);
    Style = static_cast<DWORD>(GetWindowLongPtrW(FormHandle, GWL_STYLE));
    ExStyle = static_cast<DWORD>(GetWindowLongPtrW(FormHandle, GWL_EXSTYLE));
    RightToLeft = (ExStyle & 0x4000) != 0;
    IsChildWindow = (Style & WS_CHILD) != 0;
    ClassName = WindowClassName(FormHandle);
    IsDialogClass = ClassName == "#32770" || ClassName == "TMessageForm";
    OwnerWindow = GetWindow(FormHandle, GW_OWNER);
    SystemMenu = GetSystemMenu(FormHandle, FALSE);
    WindowMenu = IsChildWindow ? nullptr : GetMenu(FormHandle);

    CaptionButtons = 0;
    if ((Style & WS_SYSMENU) || SystemMenu)
        CaptionButtons |= cbSystemMenu;
    if (Style & WS_MINIMIZEBOX)
        CaptionButtons |= cbMinimize;
    if (Style & WS_MAXIMIZEBOX)
        CaptionButtons |= cbMaximize;
    // Only Windows 2000 needs the caption style itself taken away from application windows.
    const DWORD version = GetVersion();
    const bool nt = !(version & 0x80000000u);
    if ((ExStyle & WS_EX_APPWINDOW) && nt && LOBYTE(LOWORD(version)) > 4 && HIBYTE(LOWORD(version)) == 0)
        CaptionButtons |= cbCaptionStripped;

    ReadWindowState();
    Sizeable = (Style & WS_THICKFRAME) != 0;
    for (HWND child = GetWindow(FormHandle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (LowerCase(WindowClassName(child)) == "mdiclient") {
            MdiKind = mkFrame;
            MdiClient = child;
            if (TSkinManager* manager = TheSkinManager()) {
                manager->MdiClientWindow = child;
                manager->MdiFrameForm = FormControl;
            }
            break;
        }
    if (ExStyle & WS_EX_MDICHILD)
        MdiKind = mkChild;

    if ((Style & WS_CAPTION) != WS_CAPTION)
        FrameKind = fkNone;
    else if (Style & WS_THICKFRAME)
        FrameKind = fkSizeable;
    else if (Style & DS_MODALFRAME)
        FrameKind = fkDialog;
    else
        FrameKind = fkSingle;
    if ((ExStyle & WS_EX_DLGMODALFRAME) || IsDialogClass)
        FrameKind = fkDialog;

    if (MdiKind == mkFrame) {
        SwapMdiClient(true);
        SavedMenuUpdate = skin->MenuUpdate();
    }

    UnicodeWindow = IsWindowUnicode(FormHandle) != FALSE;
    NewWndProc = std::make_unique<TObjectWndProc>(this, &TSkinForm::WindowProcThunk);
    OldWndProc = SwapWindowProc(FormHandle, NewWndProc->Proc(), UnicodeWindow);

    if (FrameSkinned) {
        if (WindowMenu && MdiKind != mkChild)
            CreateMenuBar();
        TSkinManager* manager = TheSkinManager();
        if (!(MdiKind == mkChild && manager && manager->MdiMaximized) && WindowState != fwMinimized)
            SetCaptionStyle(false);
        ComputeFrameMetrics();
    } else {
        SkinState = ssActive;
    }
    if (MdiKind == mkChild) {
        const int systemTitle = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME);
        if (TitleHeight < systemTitle)
            MenuBarHeight = systemTitle - TitleHeight;
        if (WindowState == fwMaximized)
            if (TSkinManager* manager = TheSkinManager())
                manager->SetMdiMaximized(true);
    }
}

// ---- Detaching ----------------------------------------------------------------------------

void TSkinForm::RestoreWindowProc()
{
    if (FormControl && OldWindowMethod) {
        FormControl->SetWindowProc(OldWindowMethod);
        OldWindowMethod = nullptr;
    }
    if (NewWndProc) {
        if (IsWindow(FormHandle))
            SwapWindowProc(FormHandle, OldWndProc, UnicodeWindow);
        NewWndProc.reset();
    }
}

void TSkinForm::Release()
{
    if (!FrameSkinned) {
        Unhook();
        return;
    }
    SkinnedSystemMenu.reset();
    SetHoverTimer(false);
    RestoreWindowProc();
    for (TSkinControl* wrapper : std::vector<TSkinControl*>(ChildSkins))
        if (wrapper->State != wsDestroyed)
            wrapper->Restore();
    FreeChildSkins();
    MenuBarPainter.reset();
    TitleBuffer.SetSize(0, 0);
}

void TSkinForm::Unhook()
{
    SetHoverTimer(false);
    FreeChildSkins();
    UnhookMenus();
    if (FormControl && SavedColor != clNone && SkinState != ssDestroying)
        FormControl->SetColor(SavedColor);
    RestoreWindowProc();
    SwapMdiClient(false);
    if (IsWindow(FormHandle))
        for (HWND child = GetWindow(FormHandle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            InvalidateRect(child, nullptr, TRUE);
}

void TSkinForm::Detach()
{
    const bool destroying = SkinState == ssDestroying;
    Release();
    if (!FrameSkinned)
        return;
    UnhookMenus();
    if (FormControl && SavedColor != clNone && !destroying)
        FormControl->SetColor(SavedColor);
    if (!IsWindow(FormHandle))
        return;
    SetCaptionStyle(true);
    if (CaptionButtons & cbSystemMenu)
        SetWindowLongPtrW(FormHandle, GWL_STYLE, GetWindowLongPtrW(FormHandle, GWL_STYLE) | WS_SYSMENU);
    if (WindowMenu)
        SetMenu(FormHandle, WindowMenu);
    SwapMdiClient(false);
    if (!destroying && !(IsChildWindow && MdiKind != mkChild))
        ResizeToSystemFrame();
    DropRegion();
    SkinState = ssReleased;
}

void TSkinForm::ResizeToSystemFrame()
{
    RECT window{};
    GetWindowRect(FormHandle, &window);
    const int skinnedX = FrameLeft + FrameRight;
    const int skinnedY = TitleHeight + MenuBarHeight + FrameBottom;
    const int width = window.right - window.left + SystemFrameSize.right - skinnedX;
    const int height = window.bottom - window.top + SystemFrameSize.bottom - skinnedY;
    SetWindowPos(FormHandle, nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
}

void TSkinForm::DropRegion()
{
    SetWindowRgn(FormHandle, nullptr, TRUE);
    FrameRegion = nullptr;
    RegionOwned = false;
}

void TSkinForm::SetHoverTimer(bool on)
{
    if (HoverTimer)
        HoverTimer->SetEnabled(on);
}

// ---- Child wrappers -----------------------------------------------------------------------

bool TSkinForm::AddChildSkin(TSkinControl* wrapper)
{
    if (std::find(ChildSkins.begin(), ChildSkins.end(), wrapper) != ChildSkins.end())
        return true;
    ChildSkins.push_back(wrapper);
    return false;
}

void TSkinForm::RemoveChildSkin(TSkinControl* wrapper)
{
    ChildSkins.erase(std::remove(ChildSkins.begin(), ChildSkins.end(), wrapper), ChildSkins.end());
    if (HotChild == wrapper)
        HotChild = nullptr;
}

TSkinControl* TSkinForm::ChildSkinOf(HWND handle) const
{
    for (TSkinControl* wrapper : ChildSkins)
        if (wrapper->Handle == handle)
            return wrapper;
    return nullptr;
}

void TSkinForm::FreeChildSkins()
{
    while (!ChildSkins.empty()) {
        TSkinControl* wrapper = ChildSkins.back();
        ChildSkins.pop_back();
        wrapper->Form = nullptr;
        delete wrapper;
    }
    HotChild = nullptr;
}

void TSkinForm::FreeDeadChildSkins()
{
    for (TSkinControl* wrapper : std::vector<TSkinControl*>(ChildSkins))
        if (wrapper->State == wsDestroyed) {
            RemoveChildSkin(wrapper);
            wrapper->Form = nullptr;
            delete wrapper;
        }
}
