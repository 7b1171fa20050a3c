// Owner-drawn menu items of a skinned frame: which items are hooked to the skinned painter,
// how items are measured and drawn, and the routing of WM_MEASUREITEM and WM_DRAWITEM.
#include <algorithm>

#include "classlib/TypeInfo.h"
#include "classlib/forms/Form.h"
#include "classlib/graphics/Canvas.h"
#include "classlib/graphics/ImageList.h"
#include "classlib/menus/Menu.h"
#include "classlib/menus/PopupMenu.h"
#include "skin/data/SkinData.h"
#include "skin/form/SkinForm.h"
#include "skin/manager/SkinManager.h"
#include "skin/menu/MenuItemPainter.h"
#include "skin/menu/SkinPopupMenu.h"

namespace {

constexpr UINT kFirstForeignId = 4096;

bool WindowsNt4()
{
    const DWORD version = GetVersion();
    return !(version & 0x80000000u) && LOBYTE(LOWORD(version)) == 4;
}

// The frame a hook belongs to, while it lives (a frame may go before the menus it hooked).
TSkinForm* LiveFrame(TSkinForm* frame)
{
    TSkinManager* manager = TheSkinManager();
    return manager && manager->IsLiveFrame(frame) ? frame : nullptr;
}

// The event handlers the frame puts on items; recognisable, so only these are taken off.
struct TItemDrawHook {
    TSkinForm* Frame;
    void operator()(TComponent* sender, TCanvas* canvas, RECT rect, bool selected) const
    {
        auto* item = dynamic_cast<TMenuItem*>(sender);
        if (!item || !canvas)
            return;
        if (TSkinForm* frame = LiveFrame(Frame))
            frame->DrawMenuItem(*item, *canvas, rect, selected);
        else
            item->DefaultDraw(canvas, rect, selected);
    }
};

struct TItemMeasureHook {
    TSkinForm* Frame;
    bool MainMenu;
    void operator()(TComponent* sender, TCanvas* canvas, int& width, int& height) const
    {
        auto* item = dynamic_cast<TMenuItem*>(sender);
        TSkinForm* frame = LiveFrame(Frame);
        if (!item || !canvas || !frame)
            return;
        if (MainMenu)
            frame->MeasureMainMenuItem(*item, *canvas, width, height);
        else
            frame->MeasurePopupItem(*item, *canvas, width, height);
    }
};

bool HasImages(TMenuItem& item)
{
    TMenu* menu = item.GetParentMenu();
    return menu && menu->Images();
}

HMENU ParentHandle(TMenuItem& item)
{
    TMenuItem* parent = item.ParentItem();
    return parent ? parent->Handle() : nullptr;
}

TSkinPopupMenu* PopupShowing(HMENU menu)
{
    TSkinManager* manager = TheSkinManager();
    if (!manager || !menu)
        return nullptr;
    for (auto& popup : manager->PopupMenus)
        if (popup->MenuHandle == menu)
            return popup.get();
    return nullptr;
}

// Where an item's rectangle lies in its pop-up's background picture.
POINT BackgroundOrigin(HMENU menu, const RECT& rect)
{
    const TSkinPopupMenu* popup = PopupShowing(menu);
    const POINT offset = popup ? popup->ClientOffset() : POINT{3, 3};
    return {rect.left + offset.x, rect.top + offset.y};
}

// A canvas on the window's DC with the menu font, for measuring.
class TMeasureCanvas {
public:
    explicit TMeasureCanvas(HWND window) : window_(window), dc_(GetWindowDC(window)), canvas_(dc_)
    {
        const TMenuFont font;
        canvas_.Font()->SetHandle(font.Handle());
    }
    ~TMeasureCanvas()
    {
        canvas_.SetHandle(nullptr);
        ReleaseDC(window_, dc_);
    }
    TCanvas& Canvas() { return canvas_; }

private:
    HWND window_;
    HDC dc_;
    TCanvas canvas_;
};

} // namespace

// ---- Hooking ------------------------------------------------------------------------------

void TSkinForm::HookMenuTree(TMenuItem& root, bool on, bool mainMenu)
{
    for (int i = 0; i < root.Count(); ++i) {
        TMenuItem& item = *root.Items(i);
        if (on) {
            item.OnDrawItem = TItemDrawHook{this};
            if (mainMenu || !item.OnMeasureItem)
                item.OnMeasureItem = TItemMeasureHook{this, mainMenu};
        } else {
            if (item.OnDrawItem.target<TItemDrawHook>())
                item.OnDrawItem = nullptr;
            if (item.OnMeasureItem.target<TItemMeasureHook>())
                item.OnMeasureItem = nullptr;
        }
        HookMenuTree(item, on, mainMenu);
    }
}

void TSkinForm::HookMenuItems(bool on)
{
    auto* form = dynamic_cast<TCustomForm*>(FormControl);
    if (form && form->Menu())
        HookMenuTree(*form->Menu()->Items(), on, true);
}

void TSkinForm::HookPopupMenus(TComponent* component, bool on)
{
    if (!component || !SkinData)
        return;
    if (const TClassInfo* info = Classes().ClassOf(FormControl); info && info->name == "TwwRichEditForm")
        return;
    for (int i = 0; i < component->ComponentCount(); ++i) {
        TComponent* owned = component->Components(i);
        if (dynamic_cast<TCustomForm*>(owned)) {
            HookPopupMenus(owned, on);
        } else if (auto* popup = dynamic_cast<TPopupMenu*>(owned)) {
            if (!SkinData->SkinControls().Contains(xcPopupMenu) || popup->Tag() == SkinData->DisableTag())
                continue;
            popup->SetOwnerDraw(on);
            HookMenuTree(*popup->Items(), on, false);
        }
    }
}

void TSkinForm::OwnerDrawMainMenu()
{
    auto* form = dynamic_cast<TCustomForm*>(FormControl);
    if (!form || !form->Menu() || !SkinData->SkinControls().Contains(xcMenuItem))
        return;
    form->Menu()->SetOwnerDraw(true);
    HookMenuItems(true);
}

void TSkinForm::UnhookMenus()
{
    HookMenuItems(false);
    HookPopupMenus(FormControl, false);
    if (SkinnedSystemMenu)
        HookMenuTree(*SkinnedSystemMenu->Items(), false, false);
}

// ---- Measuring ----------------------------------------------------------------------------

void TSkinForm::MeasureMainMenuItem(TMenuItem& item, TCanvas& canvas, int& width, int& height)
{
    item.DefaultMeasure(&canvas, width, height);
    width += MainMenuItemExtra(*SkinData, HasImages(item));
}

void TSkinForm::MeasurePopupItem(TMenuItem& item, TCanvas&, int& width, int&)
{
    width += PopupItemExtra(*SkinData, HasImages(item));
}

TMenuItem* TSkinForm::MainMenuItem(UINT id) const
{
    auto* form = dynamic_cast<TCustomForm*>(FormControl);
    return form && form->Menu() ? form->Menu()->FindItem(id) : nullptr;
}

bool TSkinForm::OnMeasureMenuItem(MEASUREITEMSTRUCT& m)
{
    if (m.CtlType != ODT_MENU || !WindowMenu || !SkinData)
        return false;
    if (FormControl) {
        if (TMenuItem* item = MainMenuItem(m.itemID)) {
            TMeasureCanvas measure(FormHandle);
            int width = static_cast<int>(m.itemWidth), height = static_cast<int>(m.itemHeight);
            MeasureMainMenuItem(*item, measure.Canvas(), width, height);
            m.itemWidth = static_cast<UINT>(std::max(width, 0));
            m.itemHeight = static_cast<UINT>(std::max(height, 0));
            return true;
        }
        // Items of the program's own pop-up menus measure themselves.
        if ((m.itemID >= 1 && m.itemID < kFirstForeignId) ||
            IsLiveMenuItem(reinterpret_cast<TMenuItem*>(m.itemData)))
            return false;
    }
    wchar_t text[81] = {};
    if (TrackedMenu)
        GetMenuStringW(TrackedMenu, m.itemID, text, 80, MF_BYCOMMAND);
    HDC dc = GetWindowDC(FormHandle);
    const SIZE size = MeasureItemText(*SkinData, dc, text, static_cast<int>(m.itemHeight));
    ReleaseDC(FormHandle, dc);
    m.itemWidth = static_cast<UINT>(size.cx);
    m.itemHeight = static_cast<UINT>(size.cy);
    return true;
}

// ---- Drawing ------------------------------------------------------------------------------

void TSkinForm::DrawMenuItem(TMenuItem& item, TCanvas& canvas, RECT rect, bool selected, HMENU parent)
{
    if (!SkinData->MenuItem) {
        DrawMenuItemPlain(item, canvas, rect, selected);
        return;
    }
    if (!parent)
        parent = ParentHandle(item);
    TSkinManager* manager = TheSkinManager();
    if (manager && parent)
        manager->AssignPopupMenu(parent);
    TBitmap* background = manager && parent ? manager->PopupBackground(parent) : nullptr;
    DrawItemSkinned(*SkinData, LookOfItem(item), canvas, rect, selected, background, BackgroundOrigin(parent, rect));
}

void TSkinForm::DrawMenuItemPlain(TMenuItem& item, TCanvas& canvas, RECT rect, bool selected)
{
    DrawItemPlain(*SkinData, LookOfItem(item), canvas, rect, selected);
}

void TSkinForm::DrawForeignMenuItem(HMENU menu, UINT id, TCanvas& canvas, RECT rect, bool selected)
{
    const TMenuItemLook look = LookOfMenuEntry(menu, id);
    if (!SkinData->MenuItem) {
        DrawItemPlain(*SkinData, look, canvas, rect, selected);
        return;
    }
    TSkinManager* manager = TheSkinManager();
    TBitmap* background = manager ? manager->PopupBackground(menu) : nullptr;
    DrawItemSkinned(*SkinData, look, canvas, rect, selected, background, BackgroundOrigin(menu, rect));
}

void TSkinForm::DrawItemContent(TMenuItem& item, TCanvas& canvas, bool selected, RECT rect)
{
    ::DrawItemContent(*SkinData, LookOfItem(item), canvas, selected, rect);
}

bool TSkinForm::OnDrawMenuItem(const DRAWITEMSTRUCT& d)
{
    if (d.CtlType != ODT_MENU || !WindowMenu || !SkinData || (MdiKind == mkFrame && WindowsNt4()))
        return false;
    const auto menu = reinterpret_cast<HMENU>(d.hwndItem);
    if (TSkinManager* manager = TheSkinManager())
        manager->AssignPopupMenu(menu);
    TMenuItem* item = FormControl ? MainMenuItem(d.itemID) : nullptr;
    if (!item && FormControl &&
        ((d.itemID >= 1 && d.itemID < kFirstForeignId) || IsLiveMenuItem(reinterpret_cast<TMenuItem*>(d.itemData))))
        return false;
    const bool selected = (d.itemState & ODS_SELECTED) != 0;
    const int saved = SaveDC(d.hDC);
    {
        TCanvas canvas(d.hDC);
        try {
            if (item && SkinData->MenuItem)
                DrawMenuItem(*item, canvas, d.rcItem, selected, menu);
            else if (item)
                DrawMenuItemPlain(*item, canvas, d.rcItem, selected);
            else
                DrawForeignMenuItem(menu, d.itemID, canvas, d.rcItem, selected);
        } catch (...) {
            // An item that cannot be drawn stays as the system left it.
        }
        canvas.SetHandle(nullptr);
    }
    RestoreDC(d.hDC, saved);
    return true;
}
