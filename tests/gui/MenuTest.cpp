// Menus: the main menu as the form's menu bar, commands and shortcuts reaching OnClick,
// owner-drawn items through OnMeasureItem/OnDrawItem, pop-up menus chosen by keyboard.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "classlib/forms/Form.h"
#include "classlib/graphics/Canvas.h"
#include "classlib/menus/Menu.h"
#include "classlib/menus/PopupMenu.h"
#include "guikit/DialogWatcher.h"
#include "guikit/GuiKit.h"

namespace {

std::wstring MenuText(HMENU menu, int position)
{
    wchar_t text[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
    return text;
}

TMenuItem* Item(TComponent* owner, const char* caption, TMenuItem* parent)
{
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
}

struct MenuForm {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TMainMenu* menu = new TMainMenu(form.get());
    TMenuItem* file = Item(form.get(), "&File", menu->Items());
    TMenuItem* open = Item(form.get(), "&Open", file);
    TMenuItem* line = Item(form.get(), "-", file);
    TMenuItem* quit = Item(form.get(), "&Quit", file);
    TMenuItem* help = Item(form.get(), "&Help", menu->Items());
    std::vector<std::string> clicked;

    MenuForm()
    {
        form->SetBounds(80, 80, 320, 200);
        open->SetShortCutKey(ShortCut('O', 1u << ssCtrl));
        quit->SetEnabled(false);
        help->SetChecked(true);
        for (TMenuItem* i : {open, quit, help})
            i->OnClick = [this, i](TComponent*) { clicked.push_back(i->Caption()); };
        form->SetMenu(menu);
        form->Show();
    }
};

TEST(Menus, TheMainMenuIsTheFormsMenuBarWithItsItems)
{
    MenuForm f;
    HMENU bar = GetMenu(f.form->Handle());
    ASSERT_EQ(bar, f.menu->Handle());
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(MenuText(bar, 0), L"&File");
    EXPECT_EQ(MenuText(bar, 1), L"&Help");
    HMENU drop = GetSubMenu(bar, 0);
    ASSERT_EQ(GetMenuItemCount(drop), 3);
    EXPECT_EQ(MenuText(drop, 0), L"&Open\tCtrl+O");
    EXPECT_EQ(GetMenuState(drop, 1, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
    EXPECT_TRUE(GetMenuState(drop, 2, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED));
    EXPECT_TRUE(GetMenuState(bar, 1, MF_BYPOSITION) & MF_CHECKED);
    // The client area leaves room for the bar.
    RECT window, client;
    GetWindowRect(f.form->Handle(), &window);
    GetClientRect(f.form->Handle(), &client);
    EXPECT_GT((window.bottom - window.top) - client.bottom, GetSystemMetrics(SM_CYMENU));
}

TEST(Menus, CommandsAndShortcutsReachTheItems)
{
    MenuForm f;
    PostMessageW(f.form->Handle(), WM_COMMAND, MAKEWPARAM(f.open->Command(), 0), 0);
    ASSERT_TRUE(guikit::WaitUntil([&] { return f.clicked.size() == 1; }));
    EXPECT_EQ(f.clicked[0], "&Open");
    // Ctrl+O while a control of the form... the form itself has the focus here.
    SetFocus(f.form->Handle());
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    PostMessageW(f.form->Handle(), WM_KEYDOWN, 'O', 1);
    const bool shortcut = guikit::WaitUntil([&] { return f.clicked.size() == 2; });
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    ASSERT_TRUE(shortcut);
    EXPECT_EQ(f.clicked[1], "&Open");
    // A disabled item does nothing.
    PostMessageW(f.form->Handle(), WM_COMMAND, MAKEWPARAM(f.quit->Command(), 0), 0);
    PostMessageW(f.form->Handle(), WM_COMMAND, MAKEWPARAM(f.help->Command(), 0), 0);
    ASSERT_TRUE(guikit::WaitUntil([&] { return f.clicked.size() == 3; }));
    EXPECT_EQ(f.clicked[2], "&Help");
}

TEST(Menus, ChangingItemsRebuildsTheBarInPlace)
{
    MenuForm f;
    HMENU bar = GetMenu(f.form->Handle());
    Item(f.form.get(), "&Disc", f.menu->Items());
    f.help->SetVisible(false);
    EXPECT_EQ(GetMenu(f.form->Handle()), bar);
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(MenuText(bar, 1), L"&Disc");
    delete f.file; // with its sub-items
    ASSERT_EQ(GetMenuItemCount(bar), 1);
    EXPECT_EQ(MenuText(bar, 0), L"&Disc");
}

TEST(Menus, OwnerDrawnMenuBarItemsAreMeasuredAndDrawnByTheirEvents)
{
    MenuForm f;
    std::set<std::string> measured, drawn;
    for (TMenuItem* i : {f.file, f.help}) {
        i->OnMeasureItem = [&measured, i](TComponent*, TCanvas*, int& w, int& h) {
            measured.insert(i->Caption());
            w += 20;
            h = std::max(h, 22);
        };
        i->OnDrawItem = [&drawn, i](TComponent*, TCanvas* canvas, RECT r, bool) {
            drawn.insert(i->Caption());
            canvas->Brush()->SetColor(clYellow);
            canvas->FillRect(r);
        };
    }
    f.menu->SetOwnerDraw(true);
    DrawMenuBar(f.form->Handle());
    RedrawWindow(f.form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(guikit::WaitUntil([&] { return measured.size() == 2 && drawn.size() == 2; }))
        << measured.size() << " measured, " << drawn.size() << " drawn";
    EXPECT_TRUE(GetMenuState(GetMenu(f.form->Handle()), 0, MF_BYPOSITION) & MF_OWNERDRAW);
    guikit::SaveScreenshot(f.form->Handle(), "menus-owner-drawn-bar");
}

TEST(Menus, APopupMenuIsOwnerDrawnAndChosenFromByKeyboard)
{
    MenuForm f;
    TPopupMenu* popup = new TPopupMenu(f.form.get());
    TMenuItem* first = Item(f.form.get(), "First", popup->Items());
    TMenuItem* second = Item(f.form.get(), "Second", popup->Items());
    popup->SetOwnerDraw(true);
    int measures = 0, draws = 0;
    std::string chosen;
    for (TMenuItem* i : {first, second}) {
        i->OnMeasureItem = [&](TComponent*, TCanvas*, int& w, int& h) {
            ++measures;
            w = 180;
            h = 24;
        };
        i->OnDrawItem = [&](TComponent*, TCanvas* canvas, RECT r, bool selected) {
            ++draws;
            canvas->Brush()->SetColor(selected ? clNavy : clWhite);
            canvas->FillRect(r);
        };
        i->OnClick = [&chosen, i](TComponent*) { chosen = i->Caption(); };
    }
    int popups = 0;
    popup->OnPopup = [&](TComponent*) { ++popups; };
    SIZE menuSize{};
    // The menu runs its own loop: a watcher looks at its window and picks the second item.
    guikit::DialogWatcher watcher(0, "#32768", [&](HWND menu, guikit::DialogSeen&) {
        RECT r;
        GetWindowRect(menu, &r);
        menuSize = {r.right - r.left, r.bottom - r.top};
        for (WORD key : {VK_DOWN, VK_DOWN, VK_RETURN}) {
            PostMessageW(menu, WM_KEYDOWN, key, 1);
            PostMessageW(menu, WM_KEYUP, key, 1u | (1u << 30) | (1u << 31));
        }
    });
    f.form->SetFocus();
    POINT at{100, 100};
    ClientToScreen(f.form->Handle(), &at);
    popup->SetPopupComponent(f.form.get());
    popup->Popup(at.x, at.y);
    const guikit::DialogSeen seen = watcher.Wait();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(measures, 2);
    EXPECT_GE(draws, 2);
    EXPECT_GE(menuSize.cx, 180);
    EXPECT_GE(menuSize.cy, 48);
    EXPECT_EQ(chosen, "Second");
}

TEST(Menus, AControlsPopupMenuOpensOnTheContextMenuKey)
{
    MenuForm f;
    auto* popup = new TPopupMenu(f.form.get());
    TMenuItem* refresh = Item(f.form.get(), "&Refresh", popup->Items());
    int refreshed = 0;
    refresh->OnClick = [&](TComponent*) { ++refreshed; };
    f.form->SetPopupMenu(popup);
    guikit::DialogWatcher watcher(0, "#32768", [](HWND menu, guikit::DialogSeen&) {
        for (WORD key : {VK_DOWN, VK_RETURN})
            PostMessageW(menu, WM_KEYDOWN, key, 1);
    });
    // Shift+F10 or the menu key: WM_CONTEXTMENU with no position.
    PostMessageW(f.form->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(f.form->Handle()), -1);
    ASSERT_TRUE(guikit::WaitUntil([&] { return refreshed == 1; }));
    EXPECT_TRUE(watcher.Wait().found);
    EXPECT_EQ(popup->PopupComponent(), f.form.get());
}

} // namespace
