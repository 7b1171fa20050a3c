#include "skin/menu/SkinPopupMenu.h"

#include "classlib/graphics/Canvas.h"
#include "skin/SkinMessages.h"
#include "skin/data/SkinData.h"
#include "skin/draw/SkinDraw.h"
#include "skin/manager/SkinManager.h"

namespace {
constexpr int kBorder = 3;
constexpr UINT kGetMenuHandle = 0x01E1; // MN_GETHMENU
}

TSkinPopupMenu::~TSkinPopupMenu() { Detach(); }

void TSkinPopupMenu::Attach(HWND window, TSkinData* skin, HMENU menuHandle)
{
    Window = window;
    SkinData = skin;
    MenuHandle = menuHandle;
    NewWndProc = std::make_unique<TObjectWndProc>(this, &TSkinPopupMenu::PopupWndProcThunk);
    OldWndProc = SwapWindowProc(window, NewWndProc->Proc(), false);
}

void TSkinPopupMenu::Detach()
{
    if (!NewWndProc)
        return;
    if (IsWindow(Window))
        SwapWindowProc(Window, OldWndProc, false);
    NewWndProc.reset();
    Background.SetSize(0, 0);
}

LRESULT TSkinPopupMenu::PopupWndProcThunk(void* self, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return static_cast<TSkinPopupMenu*>(self)->PopupWndProc(msg, wParam, lParam);
}

LRESULT TSkinPopupMenu::PassOn(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return CallSavedProc(OldWndProc, false, Window, msg, wParam, lParam);
}

bool TSkinPopupMenu::SkinUsable() const
{
    return SkinData && SkinData->SkinEmpty == 0 && SkinData->MenuBackground &&
           !SkinData->MenuBackground->Image.Empty();
}

LRESULT TSkinPopupMenu::PopupWndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == SKM_ISSKINNED)
        return 1;
    TSkinManager* manager = TheSkinManager();
    if (!manager || manager->Enabled == 0)
        return PassOn(msg, wParam, lParam);
    switch (msg) {
    case WM_CREATE: {
        const LRESULT result = PassOn(msg, wParam, lParam);
        LearnMenu();
        return result;
    }
    case WM_DESTROY: {
        // The procedure goes back before the system's own handling runs.
        const WNDPROC old = OldWndProc;
        const HWND window = Window;
        Detach();
        return CallSavedProc(old, false, window, msg, wParam, lParam);
    }
    case WM_NCPAINT:
        if (!SkinUsable())
            return PassOn(msg, wParam, lParam);
        LearnMenu();
        PaintBorder();
        return 0;
    case WM_PAINT:
        // Menus that are painted without WM_PRINT get the same picture.
        if (!SkinUsable())
            return PassOn(msg, wParam, lParam);
        LearnMenu();
        PaintWindow();
        return 0;
    case WM_PRINT: {
        if (!SkinUsable())
            return PassOn(msg, wParam, lParam);
        LearnMenu();
        LRESULT result = 0;
        PaintBackground(reinterpret_cast<HDC>(wParam), msg, wParam, lParam, result);
        return result;
    }
    default:
        return PassOn(msg, wParam, lParam);
    }
}

bool TSkinPopupMenu::RenderBackground()
{
    RECT window{};
    if (!GetWindowRect(Window, &window))
        return false;
    const RECT target{0, 0, window.right - window.left, window.bottom - window.top};
    if (target.right <= 0 || target.bottom <= 0)
        return false;
    TDataSkinObject& element = *SkinData->MenuBackground;
    std::unique_ptr<TBitmap> picture =
        RenderNineSlice(target, element.Image, element.Margins(), false, element.Tile != 0, 1, 1);
    if (!picture)
        return false;
    Background.Assign(*picture);
    return true;
}

void TSkinPopupMenu::PaintBackground(HDC dc, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                     bool clipToItems)
{
    if (!RenderBackground()) {
        result = PassOn(msg, wParam, lParam);
        return;
    }
    const int w = Background.Width(), h = Background.Height();
    BitBlt(dc, 0, 0, w, h, Background.Canvas()->Handle(), 0, 0, SRCCOPY);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    HRGN clip = CreateRectRgn(kBorder, kBorder, w - kBorder, h - kBorder);
    if (HRGN items = clipToItems ? ItemsRegion() : nullptr) {
        CombineRgn(clip, clip, items, RGN_AND);
        DeleteObject(items);
    }
    SelectClipRgn(dc, clip);
    result = PassOn(msg, wParam, lParam);
    SelectClipRgn(dc, nullptr);
    DeleteObject(clip);
    SetBkMode(dc, oldMode);
}

void TSkinPopupMenu::PaintBorder()
{
    HDC dc = GetWindowDC(Window);
    if (!dc)
        return;
    if (RenderBackground()) {
        const int w = Background.Width(), h = Background.Height();
        HDC source = Background.Canvas()->Handle();
        BitBlt(dc, 0, 0, w, kBorder, source, 0, 0, SRCCOPY);
        BitBlt(dc, 0, h - kBorder, w, kBorder, source, 0, h - kBorder, SRCCOPY);
        BitBlt(dc, 0, kBorder, kBorder, h - 2 * kBorder, source, 0, kBorder, SRCCOPY);
        BitBlt(dc, w - kBorder, kBorder, kBorder, h - 2 * kBorder, source, w - kBorder, kBorder, SRCCOPY);
    }
    ReleaseDC(Window, dc);
}

POINT TSkinPopupMenu::ClientOffset() const
{
    RECT window{};
    POINT client{0, 0};
    if (!GetWindowRect(Window, &window) || !ClientToScreen(Window, &client))
        return {kBorder, kBorder};
    return {client.x - window.left, client.y - window.top};
}

void TSkinPopupMenu::LearnMenu()
{
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(Window, kGetMenuHandle, 0, 0));
    if (menu && IsMenu(menu))
        MenuHandle = menu;
}

HRGN TSkinPopupMenu::ItemsRegion() const
{
    RECT window{};
    if (!MenuHandle || !GetWindowRect(Window, &window))
        return nullptr;
    const int count = GetMenuItemCount(MenuHandle);
    if (count <= 0)
        return nullptr;
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    for (int i = 0; i < count; ++i) {
        RECT item{};
        if (!GetMenuItemRect(Window, MenuHandle, static_cast<UINT>(i), &item))
            continue;
        OffsetRect(&item, -window.left, -window.top);
        HRGN part = CreateRectRgnIndirect(&item);
        CombineRgn(region, region, part, RGN_OR);
        DeleteObject(part);
    }
    return region;
}

void TSkinPopupMenu::PaintWindow()
{
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(Window, &ps);
    RECT window{};
    if (dc && GetWindowRect(Window, &window) && window.right > window.left && window.bottom > window.top) {
        TBitmap buffer(window.right - window.left, window.bottom - window.top, pf32bit);
        HDC composed = buffer.Canvas()->Handle();
        LRESULT ignored = 0;
        PaintBackground(composed, WM_PRINT, reinterpret_cast<WPARAM>(composed), PRF_CLIENT | PRF_NONCLIENT, ignored,
                        true);
        const POINT offset = ClientOffset();
        RECT client{};
        GetClientRect(Window, &client);
        BitBlt(dc, 0, 0, client.right, client.bottom, composed, offset.x, offset.y, SRCCOPY);
    }
    EndPaint(Window, &ps);
}
