// Pop-up menus of a skinned window: the gallery's context menu and the skinned system menu
// with the skin's background, border and owner-drawn items; a skin without a menu
// background; how much wider skinned items are measured than the class library's own.
#include <gtest/gtest.h>

#include <windows.h>

#include "classlib/graphics/ImageList.h"
#include "classlib/menus/Menu.h"
#include "classlib/menus/PopupMenu.h"
#include "skin/menu/MenuItemPainter.h"
#include "skinmenus/MenusTestKit.h"

using namespace skinmenutest;
using skinformtest::ManagerScope;
using skinformtest::SendNc;

namespace {

TMenuItem* Item(SkinnedGallery& g, const char* name) { return dynamic_cast<TMenuItem*>(g.form->FindComponent(name)); }

struct PopupLook {
    TColor border = 0, selected = 0, other = 0;
};

// Opens the gallery's context menu over its panel and reads its pixels.
PopupLook OpenContextMenu(SkinnedGallery& g, std::vector<PopupSeen>& seen, const std::string& screenshot = {})
{
    PopupLook look;
    MenuWatcher watcher(1, [&](int, const PopupSeen& s) {
        look.border = ScreenAt(s.window, s.rect.left + 1, s.rect.top + 1);
        // Items lie inside the 3-pixel border; the first is selected by the down key.
        RECT first{};
        GetMenuItemRect(nullptr, s.menu, 0, &first);
        look.selected = ScreenAt(s.window, first.right - 4, (first.top + first.bottom) / 2);
        RECT second{};
        GetMenuItemRect(nullptr, s.menu, 1, &second);
        look.other = ScreenAt(s.window, second.right - 4, (second.top + second.bottom) / 2);
        if (!screenshot.empty())
            guikit::SaveScreenshot(s.window, screenshot);
        PostKey(s.window, VK_ESCAPE);
    });
    RECT panel{};
    GetWindowRect(g.form->Panel1->Handle(), &panel);
    // Opened as the keyboard would, so the menu selects its first item.
    g.form->PopupMenu1->SetPopupComponent(g.form->Panel1);
    PostMessageW(g.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    g.form->PopupMenu1->Popup(panel.left + 10, panel.top + 10);
    seen = watcher.Wait();
    return look;
}

int DefaultWidth(TMenuItem& item)
{
    HDC dc = GetDC(nullptr);
    const TMenuFont font;
    TCanvas canvas(dc);
    canvas.Font()->SetHandle(font.Handle());
    int width = 0, height = 0;
    item.DefaultMeasure(&canvas, width, height);
    canvas.SetHandle(nullptr);
    ReleaseDC(nullptr, dc);
    return width;
}

// What the class library measures for an owner-drawn item (its events included).
int MeasuredWidth(TMenuItem& item)
{
    MEASUREITEMSTRUCT m{};
    m.CtlType = ODT_MENU;
    m.itemID = item.Command();
    m.itemData = reinterpret_cast<ULONG_PTR>(&item);
    EXPECT_TRUE(MeasureMenuItemMessage(m));
    return static_cast<int>(m.itemWidth);
}

} // namespace

TEST(PopupMenus, ContextMenuShowsTheSkinsBackgroundBorderAndItems)
{
    ManagerScope scope;
    SkinnedGallery g(MenuSkin());
    TPopupMenu& popup = *g.form->PopupMenu1;
    EXPECT_TRUE(popup.OwnerDraw()) << "hooked when the frame skinned the form's children";
    EXPECT_TRUE(Item(g, "Copy1")->OnDrawItem);
    std::vector<PopupSeen> seen;
    const PopupLook look = OpenContextMenu(g, seen, "skinmenus-context-menu");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].skinned);
    EXPECT_EQ(seen[0].menu, popup.Handle());
    EXPECT_EQ(look.border, kBack);
    EXPECT_EQ(look.selected, kItemFrames[3]);
    EXPECT_EQ(look.other, kItemFrames[0]);
}

TEST(PopupMenus, SkinnedSystemMenuDrawsItsItemsFromTheSkin)
{
    ManagerScope scope;
    SkinnedGallery g(MenuSkin());
    TSkinForm* frame = g.Frame();
    ASSERT_NE(frame, nullptr);
    PopupLook look;
    MenuWatcher watcher(1, [&](int, const PopupSeen& s) {
        look.border = ScreenAt(s.window, s.rect.left + 1, s.rect.bottom - 2);
        RECT first{};
        GetMenuItemRect(nullptr, s.menu, 0, &first);
        look.other = ScreenAt(s.window, first.right - 4, (first.top + first.bottom) / 2);
        guikit::SaveScreenshot(s.window, "skinmenus-system-menu");
        PostKey(s.window, VK_ESCAPE);
    });
    SendNc(g.Handle(), WM_NCRBUTTONDOWN, HTCAPTION, 150, 10);
    const std::vector<PopupSeen> seen = watcher.Wait();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].skinned);
    ASSERT_TRUE(frame->SkinnedSystemMenu);
    EXPECT_EQ(seen[0].menu, frame->SkinnedSystemMenu->Handle());
    EXPECT_EQ(look.border, kBack);
    // The first entry (Restore, disabled in a normal window) on the normal frame.
    EXPECT_EQ(look.other, kItemFrames[0]);
    for (int i = 0; i < frame->SkinnedSystemMenu->Items()->Count(); ++i)
        EXPECT_TRUE(frame->SkinnedSystemMenu->Items()->Items(i)->OnDrawItem);
}

TEST(PopupMenus, APopupWithoutMenuBackgroundIsStillSubclassed)
{
    ManagerScope scope;
    SkinnedGallery g(MenuSkin({.menuBackground = false}));
    ASSERT_FALSE(g.skin->MenuBackground);
    std::vector<PopupSeen> seen;
    const PopupLook look = OpenContextMenu(g, seen);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].skinned) << "answers SKM_ISSKINNED";
    EXPECT_NE(look.border, kBack) << "the system's border";
    EXPECT_EQ(look.selected, kItemFrames[3]) << "items are still drawn from the skin";
}

TEST(PopupMenus, SkinnedItemsAreWiderThanTheClassLibrarysOwn)
{
    ManagerScope scope;
    SkinnedGallery g(MenuSkin());
    TSkinForm* frame = g.Frame();
    ASSERT_NE(frame, nullptr);
    TImageList glyphs;
    TMenuItem& copy = *Item(g, "Copy1");
    TMenuItem& open = *Item(g, "Open1");
    auto mainWidth = [&] {
        MEASUREITEMSTRUCT m{};
        m.CtlType = ODT_MENU;
        m.itemID = open.Command();
        m.itemHeight = 10;
        EXPECT_TRUE(frame->OnMeasureMenuItem(m));
        return static_cast<int>(m.itemWidth);
    };
    // Pop-up items: 35 more without an image list, 12 with one; main-menu items 35 and 10;
    // the MenuItem element's left margin on top of each.
    EXPECT_EQ(MeasuredWidth(copy), DefaultWidth(copy) + 35 + kItemLeftWidth);
    EXPECT_EQ(mainWidth(), DefaultWidth(open) + 35 + kItemLeftWidth);
    g.form->PopupMenu1->SetImages(&glyphs);
    g.form->MainMenu1->SetImages(&glyphs);
    EXPECT_EQ(MeasuredWidth(copy), DefaultWidth(copy) + 12 + kItemLeftWidth);
    EXPECT_EQ(mainWidth(), DefaultWidth(open) + 10 + kItemLeftWidth);
    g.form->PopupMenu1->SetImages(nullptr);
    g.form->MainMenu1->SetImages(nullptr);

    // An id of the program's range that is no item of the form's menus keeps the default
    // processing; a foreign one is measured from its text in the open drop-down.
    MEASUREITEMSTRUCT unknown{};
    unknown.CtlType = ODT_MENU;
    unknown.itemID = 4000;
    EXPECT_FALSE(frame->OnMeasureMenuItem(unknown));

    // Unhooked with the frame, the items measure as before.
    frame->UnhookMenus();
    EXPECT_FALSE(copy.OnDrawItem);
    EXPECT_EQ(MeasuredWidth(copy), DefaultWidth(copy));
}

TEST(PopupMenus, TheProgramsOwnSkinOnADropDownAndTheSystemMenu)
{
    ManagerScope scope;
    SkinnedGallery g(skinformtest::DefaultSkin());
    TSkinData& skin = *g.skin;
    ASSERT_TRUE(skin.MenuBackground && skin.MenuItem && skin.MenuBarSkin);
    // View shows a checked item with an image and one without.
    g.form->MainMenu1->SetImages(skin.MenuGlyphs.get());
    const TColor corner = skin.MenuBackground->Image.Canvas()->Pixel(1, 1);
    std::vector<TColor> borders;
    MenuWatcher watcher(2, [&](int k, const PopupSeen& s) {
        borders.push_back(ScreenAt(s.window, s.rect.left + 1, s.rect.top + 1));
        if (k == 0) {
            guikit::SaveScreenshot(g.Handle(), "skinmenus-default-dropdown");
            PostKey(s.window, VK_ESCAPE);
        } else {
            guikit::SaveScreenshot(s.window, "skinmenus-default-system-menu");
            PostKey(s.window, VK_ESCAPE);
        }
    });
    const RECT& view = g.Button(1).Bounds;
    SendNc(g.Handle(), WM_NCLBUTTONDOWN, HTMENU, (view.left + view.right) / 2, (view.top + view.bottom) / 2);
    SendNc(g.Handle(), WM_NCRBUTTONDOWN, HTCAPTION, 150, 10);
    const std::vector<PopupSeen> seen = watcher.Wait();
    ASSERT_EQ(seen.size(), 2u);
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_TRUE(seen[i].skinned);
        EXPECT_EQ(borders[i], corner) << "the menu background's border, unscaled";
    }
    g.form->MainMenu1->SetImages(nullptr);
}
