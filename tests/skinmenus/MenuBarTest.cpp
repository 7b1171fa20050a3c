// The skinned menu bar of the control gallery: built from its main menu and painted from the
// skin, buttons lighting under the mouse, drop-downs under their buttons with separators put
// in order, a disabled item, arrow keys and the mouse moving between drop-downs, accelerators.
#include <gtest/gtest.h>

#include <windows.h>

#include "classlib/Unicode.h"
#include "classlib/menus/Menu.h"
#include "skin/menu/MenuItemPainter.h"
#include "skinmenus/MenusTestKit.h"

using namespace skinmenutest;
using skinformtest::ManagerScope;
using skinformtest::SendNc;

namespace {

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

RECT WindowRect(HWND w)
{
    RECT r{};
    GetWindowRect(w, &r);
    return r;
}

// Clicks a menu-bar button as the mouse would; returns once a drop-down it opened closed.
void ClickButton(SkinnedGallery& g, int index)
{
    const POINT c = Centre(g.Button(index).Bounds);
    SendNc(g.Handle(), WM_NCLBUTTONDOWN, HTMENU, c.x, c.y);
}

TMenuItem* Item(SkinnedGallery& g, const char* name) { return dynamic_cast<TMenuItem*>(g.form->FindComponent(name)); }

int CaptionWidth(const std::wstring& caption)
{
    HDC dc = GetDC(nullptr);
    const TMenuFont font;
    HGDIOBJ old = SelectObject(dc, font.Handle());
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, caption.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return r.right - r.left;
}

} // namespace

TEST(MenuBar, BuiltFromTheGalleryMenuAndPaintedFromTheSkin)
{
    ManagerScope scope;
    SkinnedGallery g(MenuSkin());
    TSkinForm* frame = g.Frame();
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(frame->MenuBarPainter);
    EXPECT_EQ(GetMenu(g.Handle()), nullptr) << "the system's menu bar is gone";
    EXPECT_EQ(frame->MenuBarHeight, GetSystemMetrics(SM_CYMENU));
    TSkinMenuBar& bar = g.Bar();
    ASSERT_EQ(bar.ButtonCount, 4);
    const wchar_t* captions[] = {L"&File", L"&View", L"&Tools", L"&Help"};
    const char* items[] = {"File1", "View1", "Tools1", "Help1"};
    int left = frame->FrameLeft + 2 + 4; // the bar element's left margin, then 4
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const TMenuBtn& b = g.Button(i);
        EXPECT_EQ(b.Caption, captions[i]);
        EXPECT_EQ(b.Item, Item(g, items[i]));
        EXPECT_EQ(b.Command, b.Item->Command());
        EXPECT_EQ(b.SubMenu, b.Item->Handle());
        EXPECT_EQ(b.Enabled, i == 2 ? 0 : 1);
        // A cell is the caption's width measured from the strip's left edge in the window, plus 10.
        EXPECT_EQ(b.Bounds.left, left);
        EXPECT_EQ(b.Bounds.right - b.Bounds.left, CaptionWidth(captions[i]) + frame->FrameLeft + 10);
        EXPECT_EQ(b.Bounds.top, frame->TitleHeight);
        EXPECT_EQ(b.Bounds.bottom, frame->TitleHeight + frame->MenuBarHeight - 1);
        left = b.Bounds.right;
    }
    // The strip's active frame beyond the buttons; captions in the bar text colour, a
    // disabled one in the shadow colour of the system.
    const RECT w = WindowRect(g.Handle());
    const int stripY = frame->TitleHeight + frame->MenuBarHeight / 2;
    EXPECT_EQ(ScreenPixel(g.Handle(), (w.right - w.left) - frame->FrameRight - 8, stripY), kBarActive);
    TBitmap shot(w.right - w.left, w.bottom - w.top, pf32bit);
    HDC screen = GetDC(nullptr);
    BitBlt(shot.Canvas()->Handle(), 0, 0, shot.Width(), shot.Height(), screen, w.left, w.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    EXPECT_GT(CountNear(shot, g.Button(0).Bounds, kBarText, 24), 3);
    EXPECT_GT(CountNear(shot, g.Button(2).Bounds, static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW)), 24), 3);
    EXPECT_EQ(CountNear(shot, g.Button(2).Bounds, kBarText, 24), 0);
    guikit::SaveScreenshot(g.Handle(), "skinmenus-bar");
    SendMessageW(g.Handle(), WM_NCACTIVATE, FALSE, 0);
    EXPECT_EQ(ScreenPixel(g.Handle(), (w.right - w.left) - frame->FrameRight - 8, stripY), kBarInactive);
    SendMessageW(g.Handle(), WM_NCACTIVATE, TRUE, 0);

    // Built from the main menu object alone, the bar has the same buttons.
    std::vector<std::tuple<std::wstring, UINT, HMENU, BYTE>> fromHandle, fromMenu;
    for (auto& b : bar.Buttons)
        fromHandle.emplace_back(b->Caption, b->Command, b->SubMenu, b->Enabled);
    bar.BuildButtonsFromMenu();
    for (auto& b : bar.Buttons)
        fromMenu.emplace_back(b->Caption, b->Command, b->SubMenu, b->Enabled);
    EXPECT_EQ(fromHandle, fromMenu);
}

TEST(MenuBar, ButtonsLightUnderTheMouseAndAClickOpensTheDropDownUnderTheButton)
{
    ManagerScope scope;
    SkinnedGallery g(MenuSkin());
    TSkinForm* frame = g.Frame();
    ASSERT_NE(frame, nullptr);
    const HWND h = g.Handle();
    TMenuBtn& file = g.Button(0);
    const POINT c = Centre(file.Bounds);
    SendNc(h, WM_NCMOUSEMOVE, HTMENU, c.x, c.y);
    EXPECT_EQ(frame->HotObject, &file);
    EXPECT_EQ(file.State, ncHot);
    EXPECT_EQ(ScreenPixel(h, file.Bounds.left, c.y), kButtonHilight);
    SendNc(h, WM_NCMOUSEMOVE, HTCAPTION, 200, 8);
    EXPECT_EQ(file.State, ncNormal);
    EXPECT_EQ(ScreenPixel(h, file.Bounds.left, c.y), kBarActive);

    // The drop-down of File: at the button's bottom-left, skinned, its separators in order.
    TColor border = 0, firstItem = 0;
    MenuWatcher watcher(1, [&](int, const PopupSeen& seen) {
        border = ScreenAt(seen.window, seen.rect.left + 1, seen.rect.top + 1);
        firstItem = ScreenAt(seen.window, seen.rect.right - 8, seen.rect.top + 6);
        guikit::SaveScreenshot(h, "skinmenus-dropdown");
        PostKey(seen.window, VK_ESCAPE);
    });
    ClickButton(g, 0);
    const std::vector<PopupSeen> seen = watcher.Wait();
    ASSERT_EQ(seen.size(), 1u);
    const RECT w = WindowRect(h);
    EXPECT_TRUE(seen[0].skinned);
    EXPECT_EQ(seen[0].menu, Item(g, "File1")->Handle());
    EXPECT_EQ(seen[0].rect.left, w.left + file.Bounds.left);
    EXPECT_EQ(seen[0].rect.top, w.top + file.Bounds.bottom);
    EXPECT_EQ(border, kBack) << "the pop-up's border comes from the menu background";
    EXPECT_EQ(firstItem, kItemFrames[3]) << "the first item is selected when the drop-down opens";
    EXPECT_FALSE(frame->MenuTracking);

    // Separator, Open, separator, separator, Exit, separator: Open, one separator, Exit.
    const char* visible[] = {"Open1", "N3", "Exit1"};
    for (const char* name : {"N1", "N2", "N4"})
        EXPECT_FALSE(Item(g, name)->Visible()) << name;
    for (const char* name : visible)
        EXPECT_TRUE(Item(g, name)->Visible()) << name;
    HMENU menu = Item(g, "File1")->Handle();
    ASSERT_EQ(GetMenuItemCount(menu), 3);
    EXPECT_EQ(GetMenuItemID(menu, 0), Item(g, "Open1")->Command());
    EXPECT_TRUE(GetMenuState(menu, 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(GetMenuItemID(menu, 2), Item(g, "Exit1")->Command());
    EXPECT_EQ(file.SubMenu, menu) << "the button follows the rebuilt drop-down";
}

TEST(MenuBar, ADisabledItemPostsItsCommandButShowsNoDropDown)
{
    ManagerScope scope;
    SkinnedGallery g(MenuSkin());
    TMenuBtn& tools = g.Button(2);
    ASSERT_EQ(tools.Enabled, 0);
    ASSERT_NE(tools.SubMenu, nullptr) << "it has a drop-down that must stay closed";
    MSG stale;
    while (PeekMessageW(&stale, g.Handle(), WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
    }
    ClickButton(g, 2);
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, g.Handle(), WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(LOWORD(msg.wParam), Item(g, "Tools1")->Command());
    EXPECT_EQ(msg.lParam, 0);
    for (HWND popup : guikit::TopLevelWindows({}, "#32768"))
        EXPECT_FALSE(IsWindowVisible(popup));
}

TEST(MenuBar, ArrowKeysAndTheMouseMoveBetweenDropDowns)
{
    ManagerScope scope;
    SkinnedGallery g(MenuSkin());
    const HWND h = g.Handle();
    const RECT w = WindowRect(h);
    const POINT view = Centre(g.Button(1).Bounds);
    // Drop-downs are told by their first entry while they are open (putting File's
    // separators in order rebuilds every handle of the menu).
    std::vector<UINT> firsts(5, 0);
    MenuWatcher watcher(5, [&](int k, const PopupSeen& seen) {
        firsts[static_cast<std::size_t>(k)] = GetMenuItemID(seen.menu, 0);
        switch (k) {
        case 0: // Help, the last: right on an item without drop-down goes round to File
            PostKey(seen.window, VK_RIGHT);
            break;
        case 1: // File, the first: left goes round to Help
            PostKey(seen.window, VK_LEFT);
            break;
        case 2: { // Help: the mouse moves onto View
            SetCursorPos(w.left + view.x, w.top + view.y);
            INPUT move{};
            move.type = INPUT_MOUSE;
            move.mi.dx = (w.left + view.x) * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
            move.mi.dy = (w.top + view.y) * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
            move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
            SendInput(1, &move, sizeof move);
            break;
        }
        case 3: // View: down to the item with a drop-down; right opens it and stays in View
            PostKey(seen.window, VK_UP);
            PostKey(seen.window, VK_RIGHT);
            break;
        default: // the inner drop-down closes, then View (the keys go to the window that owns both)
            PostKey(h, VK_ESCAPE);
            PostKey(h, VK_ESCAPE);
            break;
        }
    });
    ClickButton(g, 3);
    const std::vector<PopupSeen> seen = watcher.Wait();
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(firsts[0], Item(g, "About1")->Command());
    EXPECT_EQ(firsts[1], Item(g, "Open1")->Command());
    EXPECT_EQ(firsts[2], Item(g, "About1")->Command());
    EXPECT_EQ(firsts[3], Item(g, "Toolbar1")->Command());
    EXPECT_EQ(firsts[4], Item(g, "ZoomIn1")->Command()) << "a drop-down inside View, not the next button's";
    for (const PopupSeen& s : seen)
        EXPECT_TRUE(s.skinned);
    EXPECT_FALSE(g.Frame()->MenuTracking);
}

TEST(MenuBar, AltAndAnAcceleratorOpenTheRightDropDown)
{
    ManagerScope scope;
    SkinnedGallery g(MenuSkin());
    const HWND h = g.Handle();
    EXPECT_EQ(g.Frame()->MenuButtonByAccel(L'v'), &g.Button(1));
    EXPECT_EQ(g.Frame()->MenuButtonByAccel(L'T'), nullptr) << "Tools is disabled";
    EXPECT_EQ(g.Frame()->MenuButtonByAccel(L'q'), nullptr);
    {
        MenuWatcher watcher(1, [](int, const PopupSeen& seen) { PostKey(seen.window, VK_ESCAPE); });
        SendMessageW(h, WM_SYSCOMMAND, SC_KEYMENU, 'v');
        const std::vector<PopupSeen> seen = watcher.Wait();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].menu, Item(g, "View1")->Handle());
    }
    {
        // Keys as a person types them: Alt held, H.
        SetForegroundWindow(h);
        SetFocus(h);
        guikit::PumpMessages();
        MenuWatcher watcher(1, [](int, const PopupSeen& seen) { PostKey(seen.window, VK_ESCAPE); });
        INPUT keys[4] = {};
        const WORD codes[4] = {VK_MENU, 'H', 'H', VK_MENU};
        for (int i = 0; i < 4; ++i) {
            keys[i].type = INPUT_KEYBOARD;
            keys[i].ki.wVk = codes[i];
            keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
        }
        SendInput(4, keys, sizeof(INPUT));
        const std::vector<PopupSeen> seen = watcher.Wait();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].menu, Item(g, "Help1")->Handle());
    }
}
