// An MDI frame of plain windows (no form object): its menu bar built from the menu handle, a
// drop-down whose items are measured from their text and drawn from the skin, the MDI buttons
// of a maximised child in the bar, and the bar following WM_MDISETMENU.
#include <gtest/gtest.h>

#include <windows.h>

#include "skin/manager/SkinManager.h"
#include "skin/menu/MenuItemPainter.h"
#include "skinmenus/MenusTestKit.h"

using namespace skinmenutest;
using skinformtest::ManagerScope;
using skinformtest::SendNc;

namespace {

constexpr wchar_t kFrameClass[] = L"KestripMdiFrame";
constexpr wchar_t kChildClass[] = L"KestripMdiChild";

HWND ClientOf(HWND frame) { return FindWindowExW(frame, nullptr, L"MDIClient", nullptr); }

LRESULT CALLBACK FrameProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CREATE) {
        CLIENTCREATESTRUCT ccs{};
        ccs.idFirstChild = 50000;
        CreateWindowExW(WS_EX_CLIENTEDGE, L"MDIClient", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 0, 0,
                        window, nullptr, GetModuleHandleW(nullptr), &ccs);
        return 0;
    }
    return DefFrameProcW(window, ClientOf(window), msg, wParam, lParam);
}

void RegisterClasses()
{
    WNDCLASSW wc{};
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpfnWndProc = FrameProc;
    wc.lpszClassName = kFrameClass;
    RegisterClassW(&wc);
    wc.lpfnWndProc = DefMDIChildProcW;
    wc.lpszClassName = kChildClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&wc);
}

HMENU MakeMenu(std::initializer_list<std::pair<const wchar_t*, std::vector<const wchar_t*>>> columns, UINT firstId)
{
    HMENU bar = CreateMenu();
    UINT id = firstId;
    for (const auto& [caption, entries] : columns) {
        HMENU drop = CreatePopupMenu();
        for (const wchar_t* entry : entries)
            AppendMenuW(drop, entry ? MF_STRING : MF_SEPARATOR, id++, entry);
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(drop), caption);
    }
    return bar;
}

std::vector<std::wstring> Captions(TSkinForm& frame)
{
    std::vector<std::wstring> captions;
    for (auto& b : frame.MenuBarPainter->Buttons)
        captions.push_back(b->Caption);
    return captions;
}

} // namespace

TEST(MdiMenus, PlainMdiFrameGetsASkinnedBarWithTheChildsButtons)
{
    ManagerScope scope;
    SkinnedGallery host(MenuSkin());
    RegisterClasses();
    HMENU menu = MakeMenu({{L"&Window", {L"&Tile", nullptr, L"&Cascade\tShift+F5"}}, {L"&Child", {L"&Close"}}}, 5001);
    const HWND w = CreateWindowExW(0, kFrameClass, L"MDI frame", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 60, 60, 520,
                                   360, nullptr, menu, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(w, nullptr);
    ShowWindow(w, SW_SHOW);
    SetForegroundWindow(w);
    TSkinManager* manager = TheSkinManager();
    ASSERT_TRUE(guikit::WaitUntil([&] {
        TSkinForm* f = manager->FindForm(w);
        return f && f->SkinState == ssActive;
    }, std::chrono::seconds(10)));
    TSkinForm& frame = *manager->FindForm(w);
    EXPECT_EQ(frame.MdiKind, mkFrame);
    EXPECT_EQ(frame.FormControl, nullptr);
    ASSERT_TRUE(frame.MenuBarPainter);
    EXPECT_EQ(GetMenu(w), nullptr);
    EXPECT_EQ(Captions(frame), (std::vector<std::wstring>{L"&Window", L"&Child"}));
    EXPECT_EQ(frame.MenuBarPainter->Buttons[0]->Item, nullptr);
    EXPECT_EQ(frame.MenuBarPainter->Buttons[0]->SubMenu, GetSubMenu(menu, 0));

    // A drop-down of the plain menu: items measured from their text, drawn from the skin.
    {
        TColor border = 0, selected = 0;
        MenuWatcher watcher(1, [&](int, const PopupSeen& s) {
            border = ScreenAt(s.window, s.rect.left + 1, s.rect.top + 1);
            RECT first{};
            GetMenuItemRect(nullptr, s.menu, 0, &first);
            selected = ScreenAt(s.window, first.right - 4, (first.top + first.bottom) / 2);
            guikit::SaveScreenshot(w, "skinmenus-mdi-dropdown");
            PostKey(s.window, VK_ESCAPE);
        });
        const RECT& b = frame.MenuBarPainter->Buttons[0]->Bounds;
        SendNc(w, WM_NCLBUTTONDOWN, HTMENU, (b.left + b.right) / 2, (b.top + b.bottom) / 2);
        const std::vector<PopupSeen> seen = watcher.Wait();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_TRUE(seen[0].skinned);
        EXPECT_EQ(seen[0].menu, GetSubMenu(menu, 0));
        EXPECT_EQ(border, kBack);
        EXPECT_EQ(selected, kItemFrames[3]);
        HDC dc = GetDC(nullptr);
        const SIZE wanted = MeasureItemText(*host.skin, dc, L"&Cascade\tShift+F5", 10);
        ReleaseDC(nullptr, dc);
        EXPECT_GE(seen[0].rect.right - seen[0].rect.left, wanted.cx) << "the widest text fits";
        // The items are drawn by the system again once the drop-down closed.
        EXPECT_FALSE(GetMenuState(GetSubMenu(menu, 0), 0, MF_BYPOSITION) & MF_OWNERDRAW);
    }

    // A maximised child puts the three MDI buttons into the bar.
    const HWND client = ClientOf(w);
    MDICREATESTRUCTW create{};
    create.szClass = kChildClass;
    create.szTitle = L"Document";
    create.hOwner = GetModuleHandleW(nullptr);
    create.x = create.y = create.cx = create.cy = CW_USEDEFAULT;
    create.style = WS_MAXIMIZE;
    const auto child = reinterpret_cast<HWND>(SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
    ASSERT_NE(child, nullptr);
    guikit::PumpMessages();
    SendMessageW(w, SKM_REPAINTFRAME, 0, 0);
    EXPECT_EQ(manager->MdiMaximized, 1);
    int mdiButtons = 0;
    RECT window{};
    GetWindowRect(w, &window);
    for (auto& button : frame.ButtonObjects) {
        if (button->Element->Visibility != 100)
            continue;
        EXPECT_TRUE(button->Visible);
        const RECT& r = button->Bounds;
        EXPECT_GE(r.top, frame.TitleHeight);
        EXPECT_LE(r.bottom, frame.TitleHeight + frame.MenuBarHeight);
        EXPECT_EQ(ScreenPixel(w, (r.left + r.right) / 2, (r.top + r.bottom) / 2), kMdiButtons);
        ++mdiButtons;
    }
    EXPECT_EQ(mdiButtons, 3);
    guikit::SaveScreenshot(w, "skinmenus-mdi-maximised");

    // A child's own menu replaces the bar's buttons.
    HMENU childMenu = MakeMenu({{L"&Document", {L"&Save"}}, {L"&Window", {L"&Tile"}}, {L"&Help", {L"&About"}}}, 6001);
    SendMessageW(client, WM_MDISETMENU, reinterpret_cast<WPARAM>(childMenu), 0);
    EXPECT_EQ(GetMenu(w), nullptr);
    EXPECT_EQ(frame.MenuBarPainter->MenuHandle, childMenu);
    // Under a maximised child the system adds the child's menu and window buttons to the
    // menu, as items without text: they get no button the mouse can hit.
    std::vector<std::wstring> named;
    for (const std::wstring& caption : Captions(frame))
        if (!caption.empty())
            named.push_back(caption);
    EXPECT_EQ(named, (std::vector<std::wstring>{L"&Document", L"&Window", L"&Help"}));
    for (auto& b : frame.MenuBarPainter->Buttons)
        if (b->Caption.empty()) {
            const POINT c{(b->Bounds.left + b->Bounds.right) / 2, (b->Bounds.top + b->Bounds.bottom) / 2};
            EXPECT_NE(frame.MenuBarPainter->MenuButtonAt(c), b.get());
        }

    SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
    guikit::PumpMessages();
    EXPECT_EQ(manager->MdiMaximized, 0);
    DestroyWindow(w);
    guikit::PumpMessages();
    DestroyMenu(menu);
    DestroyMenu(childMenu);
}
