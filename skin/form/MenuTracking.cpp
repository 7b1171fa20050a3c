// The skinned menu bar's behaviour inside its frame: building it when the frame attaches,
// opening a button's drop-down, moving between drop-downs with the arrow keys and the mouse
// while one is open, accelerators, and rebuilding when the menu changes.
#include <cwctype>
#include <utility>
#include <vector>

#include "classlib/forms/Form.h"
#include "classlib/menus/Menu.h"
#include "skin/data/SkinData.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinMenuBar.h"
#include "skin/manager/SkinManager.h"

namespace {

// What the message filter knows while a drop-down of a menu bar is open; one at a time.
struct TMenuTracking {
    TSkinForm* Frame = nullptr;
    int OpenIndex = -1;
    // The item last reported selected: its menu and, for an item with a drop-down, that one.
    bool Reported = false;
    HMENU ReportedMenu = nullptr;
    HMENU ReportedSubMenu = nullptr;
    POINT LastMouse{};
    bool FirstMessageSeen = false;
    bool Switching = false;
    HHOOK Hook = nullptr;
};

TMenuTracking& Tracking()
{
    static TMenuTracking state;
    return state;
}

bool WindowsNt4()
{
    const DWORD version = GetVersion();
    return !(version & 0x80000000u) && LOBYTE(LOWORD(version)) == 4;
}

// Leading and trailing separators hidden; of a run between items only the last stays.
void NormaliseSeparators(TMenuItem& parent)
{
    std::vector<TMenuItem*> hide;
    bool seenItem = false;
    TMenuItem* pending = nullptr;
    for (int i = 0; i < parent.Count(); ++i) {
        TMenuItem* item = parent.Items(i);
        if (!item->Visible())
            continue;
        if (!item->IsLine()) {
            seenItem = true;
            pending = nullptr;
        } else if (!seenItem) {
            hide.push_back(item);
        } else {
            if (pending)
                hide.push_back(pending);
            pending = item;
        }
    }
    if (pending)
        hide.push_back(pending);
    for (TMenuItem* item : hide)
        item->SetVisible(false);
}

using TSwitchedItems = std::vector<std::pair<HMENU, UINT>>;

// Every item, through the drop-downs, becomes owner-drawn; the ones changed are noted.
void SwitchToOwnerDraw(HMENU menu, TSwitchedItems& switched)
{
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info))
            continue;
        if (!(info.fType & MFT_OWNERDRAW)) {
            info.fMask = MIIM_FTYPE;
            info.fType |= MFT_OWNERDRAW;
            if (SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info))
                switched.emplace_back(menu, static_cast<UINT>(i));
        }
        if (info.hSubMenu)
            SwitchToOwnerDraw(info.hSubMenu, switched);
    }
}

// The items go back to the system's drawing, so a window that gets its own menu bar back
// later (or never had a painter for them) still shows them.
void RestoreDrawing(const TSwitchedItems& switched)
{
    for (const auto& [menu, position] : switched) {
        if (!IsMenu(menu))
            continue;
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        if (GetMenuItemInfoW(menu, position, TRUE, &info)) {
            info.fType &= ~static_cast<UINT>(MFT_OWNERDRAW);
            SetMenuItemInfoW(menu, position, TRUE, &info);
        }
    }
}

int HilitedPosition(HMENU menu)
{
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i)
        if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE)
            return i;
    return -1;
}

// The selected item of the open drop-downs, from the deepest menu that has one. Menus
// opened with TPM_NONOTIFY report no selection to their owner, so it is read from the
// menus themselves when nothing was reported.
void ReadSelection(TMenuTracking& t, HMENU tracked)
{
    HMENU menu = tracked;
    for (int depth = 0; menu && depth < 16; ++depth) {
        const int position = HilitedPosition(menu);
        if (position < 0)
            break;
        t.Reported = true;
        t.ReportedMenu = menu;
        t.ReportedSubMenu = GetSubMenu(menu, position);
        if (!t.ReportedSubMenu || HilitedPosition(t.ReportedSubMenu) < 0)
            break;
        menu = t.ReportedSubMenu;
    }
}

bool ReportedRightToLeft(const TMenuTracking& t)
{
    if (!t.Frame)
        return false;
    if (t.Frame->RightToLeft)
        return true;
    if (!t.Reported || !t.ReportedMenu)
        return false;
    const int position = HilitedPosition(t.ReportedMenu);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    return position >= 0 && GetMenuItemInfoW(t.ReportedMenu, static_cast<UINT>(position), TRUE, &info) &&
           (info.fType & MFT_RIGHTORDER);
}

// The neighbour of the open button that has a caption to click, wrapping at the ends.
TMenuBtn* Neighbour(TSkinMenuBar& bar, int index, int step)
{
    const int count = static_cast<int>(bar.Buttons.size());
    for (int k = 1; k <= count; ++k) {
        TMenuBtn* button = bar.Buttons[static_cast<std::size_t>(((index + step * k) % count + count) % count)].get();
        if (button->Visible && !button->Caption.empty())
            return button;
    }
    return nullptr;
}

LRESULT CALLBACK MenuFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    TMenuTracking& t = Tracking();
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == MSGF_MENU && msg && msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST &&
        ReportedRightToLeft(t)) {
        if (msg->wParam == VK_LEFT)
            msg->wParam = VK_RIGHT;
        else if (msg->wParam == VK_RIGHT)
            msg->wParam = VK_LEFT;
    }
    const LRESULT next = CallNextHookEx(t.Hook, code, wParam, lParam);
    if (next != 0 || code != MSGF_MENU || !msg || !t.Frame || !t.Frame->MenuBarPainter)
        return next;
    TSkinForm& frame = *t.Frame;
    TSkinMenuBar& bar = *frame.MenuBarPainter;
    if (!t.FirstMessageSeen) {
        t.FirstMessageSeen = true;
        PostMessageW(msg->hwnd ? msg->hwnd : frame.FormHandle, WM_KEYDOWN, VK_DOWN, 0);
    }
    TMenuBtn* target = nullptr;
    switch (msg->message) {
    case WM_KEYDOWN:
        if (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE) {
            t.Switching = false;
        } else if (msg->wParam == VK_LEFT) {
            ReadSelection(t, frame.TrackedMenu);
            const bool deeper = t.Reported && t.ReportedMenu != frame.TrackedMenu && t.ReportedSubMenu != frame.TrackedMenu;
            if (!deeper)
                target = Neighbour(bar, t.OpenIndex, -1);
        } else if (msg->wParam == VK_RIGHT) {
            ReadSelection(t, frame.TrackedMenu);
            if (!(t.Reported && t.ReportedSubMenu))
                target = Neighbour(bar, t.OpenIndex, 1);
        }
        break;
    case WM_SYSKEYDOWN:
        if (msg->wParam == VK_MENU)
            frame.MenuTracking = false;
        break;
    case WM_MENUSELECT:
        if (HIWORD(msg->wParam) == 0xFFFF && msg->lParam == 0) {
            if (!t.Switching)
                frame.MenuTracking = false;
        } else {
            t.Switching = false;
            t.Reported = true;
            t.ReportedMenu = reinterpret_cast<HMENU>(msg->lParam);
            t.ReportedSubMenu = (HIWORD(msg->wParam) & MF_POPUP) ? GetSubMenu(t.ReportedMenu, LOWORD(msg->wParam)) : nullptr;
        }
        break;
    case WM_MOUSEMOVE:
        if (msg->pt.x == t.LastMouse.x && msg->pt.y == t.LastMouse.y)
            break;
        target = bar.MenuButtonAt(frame.ScreenToFrame(msg->pt));
        t.LastMouse = msg->pt;
        break;
    default:
        break;
    }
    if (target && target->Index != t.OpenIndex) {
        t.Switching = true;
        // The running menu ends first, so the click below opens the next one after it.
        EndMenu();
        frame.ClickMenuButton(*target);
    }
    return 0;
}

void StartTracking()
{
    TMenuTracking& t = Tracking();
    t.Switching = false;
    t.FirstMessageSeen = false;
    GetCursorPos(&t.LastMouse);
    if (!t.Hook)
        t.Hook = SetWindowsHookExW(WH_MSGFILTER, MenuFilterHook, nullptr, GetCurrentThreadId());
}

void StopTracking()
{
    TMenuTracking& t = Tracking();
    if (t.Hook)
        UnhookWindowsHookEx(t.Hook);
    t.Hook = nullptr;
    t.Reported = false;
    t.ReportedMenu = t.ReportedSubMenu = nullptr;
    t.OpenIndex = -1;
    t.FirstMessageSeen = false;
}

} // namespace

void TSkinForm::CreateMenuBar()
{
    MenuBarPainter = std::make_unique<TSkinMenuBar>(this);
    MenuBarHeight = GetSystemMetrics(SM_CYMENU);
    if (auto* form = dynamic_cast<TCustomForm*>(FormControl))
        MenuBarPainter->Menu = form->Menu();
    MenuBarPainter->BuildButtons();
}

bool TSkinForm::OpenMenu(TMenuBtn& button)
{
    PostMessageW(FormHandle, WM_COMMAND, button.Command, 0);
    if (!button.SubMenu)
        return false;
    if (button.Item && !IsLiveMenuItem(button.Item))
        button.Item = nullptr;
    if (button.Item) {
        NormaliseSeparators(*button.Item);
        // Hiding rebuilt the menu's handles.
        if (button.Item->Count() > 0)
            button.SubMenu = button.Item->Handle();
    }
    TMenuTracking& t = Tracking();
    t.Frame = this;
    t.OpenIndex = button.Index;
    TSwitchedItems switched;
    if (!WindowsNt4())
        SwitchToOwnerDraw(button.SubMenu, switched);
    MenuTracking = true;
    RECT window{};
    GetWindowRect(FormHandle, &window);
    const int x = window.left + (RightToLeft ? button.Bounds.right : button.Bounds.left);
    const int y = window.top + button.Bounds.bottom;
    if (TSkinManager* manager = TheSkinManager())
        manager->MenuKind = mkMenuBarDropDown;
    TrackedMenu = button.SubMenu;
    StartTracking();
    if (button.Enabled)
        TrackPopupMenu(button.SubMenu, TPM_NONOTIFY | TPM_RIGHTBUTTON | (RightToLeft ? TPM_RIGHTALIGN : 0u), x, y, 0,
                       FormHandle, nullptr);
    StopTracking();
    RestoreDrawing(switched);
    MenuTracking = false;
    return true;
}

void TSkinForm::ClickMenuButton(TMenuBtn& button)
{
    RECT window{};
    GetWindowRect(FormHandle, &window);
    const POINT p{window.left + button.Bounds.left + 1, window.top + button.Bounds.top + 1};
    PostMessageW(FormHandle, WM_NCLBUTTONDOWN, 1, MAKELPARAM(p.x, p.y));
}

TMenuBtn* TSkinForm::MenuButtonByAccel(wchar_t ch)
{
    if (!MenuBarPainter || !ch)
        return nullptr;
    const wchar_t wanted = static_cast<wchar_t>(std::towupper(ch));
    for (auto& button : MenuBarPainter->Buttons)
        if (button->Enabled && button->Visible && AcceleratorOf(button->Caption) == wanted)
            return button.get();
    return nullptr;
}

bool TSkinForm::OpenMenuByKey(wchar_t ch)
{
    if (!MenuBarPainter || MenuBarPainter->Buttons.empty())
        return false;
    TMenuBtn* button = ch ? MenuButtonByAccel(ch) : MenuBarPainter->Buttons.front().get();
    if (!button)
        return false;
    OpenMenu(*button);
    return true;
}

bool TSkinForm::DialogChar(WPARAM ch)
{
    const bool altAlone =
        GetKeyState(VK_MENU) < 0 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_SHIFT) >= 0;
    if (altAlone)
        if (TMenuBtn* button = MenuButtonByAccel(static_cast<wchar_t>(ch))) {
            ClickMenuButton(*button);
            return true;
        }
    if (MdiKind == mkChild)
        if (TSkinManager* manager = TheSkinManager(); manager && manager->MdiFrameForm)
            return manager->MdiFrameForm->Perform(CM_DIALOGCHAR, ch, 0) != 0;
    return false;
}

LRESULT TSkinForm::PassMenuChanged(const std::function<LRESULT()>& passOn)
{
    // The form redraws its menu bar; no frame is painted meanwhile.
    const BYTE painting = SkinData->FramePainting;
    SkinData->FramePainting = 0;
    const LRESULT result = passOn();
    SkinData->FramePainting = painting;
    if (!MenuBarPainter || !SkinData->MenuUpdate())
        return result;
    HMENU menu = GetMenu(FormHandle);
    if (auto* form = dynamic_cast<TCustomForm*>(FormControl); !menu && form && form->Menu())
        menu = form->Menu()->Handle();
    if (!menu)
        return result;
    MenuBarPainter->MenuHandle = menu;
    MenuBarPainter->BuildButtons();
    RepaintFrameNow();
    return result;
}

void TSkinForm::RebuildMenuBar(HMENU menu)
{
    if (!MenuBarPainter)
        return;
    if (menu && menu != MenuBarPainter->MenuHandle)
        MenuBarPainter->MenuHandle = menu;
    MenuBarPainter->RebuildButtons();
    RepaintFrameNow();
}
