#include "classlib/menus/PopupMenu.h"

#include "classlib/controls/WinControl.h"
#include "classlib/forms/Form.h"

namespace {

LRESULT CALLBACK PopupOwnerProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_MEASUREITEM && reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->CtlType == ODT_MENU &&
        MeasureMenuItemMessage(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)))
        return TRUE;
    if (msg == WM_DRAWITEM && reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->CtlType == ODT_MENU &&
        DrawMenuItemMessage(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam)))
        return TRUE;
    return DefWindowProcW(window, msg, wParam, lParam);
}

} // namespace

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner)
{
}

TPopupMenu::~TPopupMenu()
{
    if (window_)
        DestroyWindow(window_);
}

HMENU TPopupMenu::CreateMenuHandle()
{
    return CreatePopupMenu();
}

void TPopupMenu::Notification(TComponent* component, TOperation operation)
{
    TMenu::Notification(component, operation);
    if (operation == TOperation::opRemove && component == popupComponent_)
        popupComponent_ = nullptr;
}

HWND TPopupMenu::OwnerWindow()
{
    // The form of the control that asked, so a hook on the form sees the menu's messages.
    if (auto* control = dynamic_cast<TControl*>(popupComponent_))
        if (TCustomForm* form = GetParentForm(control); form && form->HandleAllocated())
            return form->Handle();
    if (!window_) {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW wc{sizeof wc};
        if (!GetClassInfoExW(instance, L"KestripPopupOwner", &wc)) {
            wc = WNDCLASSEXW{sizeof wc};
            wc.lpfnWndProc = PopupOwnerProc;
            wc.hInstance = instance;
            wc.lpszClassName = L"KestripPopupOwner";
            RegisterClassExW(&wc);
        }
        window_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"KestripPopupOwner", L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                  nullptr, instance, nullptr);
    }
    return window_;
}

void TPopupMenu::Popup(int x, int y)
{
    if (OnPopup)
        OnPopup(this);
    HMENU menu = Handle();
    HWND owner = OwnerWindow();
    SetForegroundWindow(owner);
    const UINT command = static_cast<UINT>(
        TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, x, y, owner, nullptr));
    PostMessageW(owner, WM_NULL, 0, 0);
    if (command)
        DispatchCommand(command);
}
