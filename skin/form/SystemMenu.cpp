// The system menu of a skinned frame: an owner-drawn copy of the window's own, or the system's.
#include "classlib/menus/MenuItem.h"
#include "classlib/menus/PopupMenu.h"
#include "skin/data/SkinData.h"
#include "skin/form/SkinForm.h"
#include "skin/manager/SkinManager.h"

namespace {
bool OldNt()
{
    const DWORD version = GetVersion();
    return !(version & 0x80000000u) && LOBYTE(LOWORD(version)) < 5;
}
}

void TSkinForm::BuildSkinnedSystemMenu()
{
    SkinnedSystemMenu = std::make_unique<TPopupMenu>(nullptr);
    TPopupMenu& menu = *SkinnedSystemMenu;
    menu.SetTag(kSkinnedSystemMenuTag);
    menu.SetOwnerDraw(true);
    if (SkinData->MenuGlyphs)
        menu.SetImages(SkinData->MenuGlyphs.get());
    if (FormControl)
        menu.SetPopupComponent(FormControl);
    const HWND window = FormHandle;
    auto add = [&](const std::string& caption, int tag, int image, bool enabled) {
        auto* item = new TMenuItem(&menu);
        item->SetCaption(caption);
        item->SetTag(tag);
        item->SetImageIndex(image);
        item->SetEnabled(enabled);
        menu.Items()->Add(item);
        return item;
    };
    if (OldNt()) {
        add(" Restore ", 0, -1, true)->OnClick = [this](TComponent*) { RestoreWindow(); };
        if (CaptionButtons & cbMaximize)
            add(" Maximize ", 1, -1, true)->OnClick = [this](TComponent*) { ToggleMaximize(); };
        if (CaptionButtons & cbMinimize)
            add(" Minimize ", 2, -1, true)->OnClick = [this](TComponent*) { ToggleMinimize(); };
        add("-", 100, -1, true);
        TMenuItem* close = add(" Close ", 3, -1, true);
        close->SetShortCutKey(VK_F4 | scAlt);
        close->OnClick = [window](TComponent*) { PostMessageW(window, WM_CLOSE, 0, 0); };
        return;
    }
    if (!SystemMenu)
        return;
    const int count = GetMenuItemCount(SystemMenu);
    for (int i = 0; i < count; ++i) {
        char text[81] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 80;
        if (!GetMenuItemInfoA(SystemMenu, static_cast<UINT>(i), TRUE, &info))
            continue;
        const std::string caption = text[0] ? std::string(text) : std::string("-");
        const UINT id = info.wID;
        int image = -1;
        bool enabled = !(info.fState & MFS_GRAYED);
        switch (id) {
        case SC_SIZE: case SC_MOVE: enabled = WindowState != fwMaximized; break;
        case SC_MINIMIZE: image = 2, enabled = WindowState != fwMinimized && (CaptionButtons & cbMinimize); break;
        case SC_MAXIMIZE: image = 1, enabled = WindowState != fwMaximized && (CaptionButtons & cbMaximize); break;
        case SC_CLOSE: image = 3; break;
        case SC_RESTORE: image = 0, enabled = WindowState != fwNormal; break;
        default: break;
        }
        TMenuItem* item = add(caption, static_cast<int>(id), image, enabled);
        item->SetChecked((info.fState & MFS_CHECKED) != 0);
        if (caption != "-")
            item->OnClick = [window, id](TComponent*) { PostMessageW(window, WM_SYSCOMMAND, id, 0); };
    }
}

void TSkinForm::ShowSystemMenu(int x, int y)
{
    const DWORD now = GetTickCount();
    if (DoubleClickTime < 0 || now - LastClickTick > static_cast<DWORD>(DoubleClickTime)) {
        if (TSkinManager* manager = TheSkinManager())
            manager->MenuKind = mkSystemMenu;
        LastClickTick = now;
        if (SkinData->SkinControls().Contains(xcSystemMenu) && MdiKind != mkChild) {
            BuildSkinnedSystemMenu();
            HookMenuTree(*SkinnedSystemMenu->Items(), true, false);
            SkinnedSystemMenu->Popup(x, y);
        } else if (SystemMenu) {
            TrackPopupMenu(SystemMenu, TPM_RIGHTBUTTON, x, y, 0, FormHandle, nullptr);
        }
        return;
    }
    if (HotObject) {
        SetHoverTimer(false);
        PostMessageW(FormHandle, WM_CLOSE, 0, 0);
    }
}
