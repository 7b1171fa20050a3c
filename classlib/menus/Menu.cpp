#include "classlib/menus/Menu.h"

#include "classlib/forms/Form.h"
#include "classlib/graphics/Canvas.h"
#include "classlib/graphics/ImageList.h"

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr))
{
    items_->menu_ = this;
}

TMenu::~TMenu()
{
    items_->menu_ = nullptr;
    delete items_;
    DropHandle();
}

void TMenu::DropHandle()
{
    if (handle_ && IsMenu(handle_))
        DestroyMenu(handle_); // takes the drop-downs with it
    handle_ = nullptr;
    for (int i = 0; i < items_->Count(); ++i)
        items_->Items(i)->handle_ = nullptr;
}

HMENU TMenu::Handle()
{
    if (handle_ && IsMenu(handle_))
        return handle_;
    handle_ = CreateMenuHandle();
    items_->handle_ = handle_;
    items_->FillMenu(handle_, ownerDraw_, IsMenuBar());
    return handle_;
}

void TMenu::ItemsChanged()
{
    if (handle_) {
        // Rebuild in place: a window showing the menu keeps its handle.
        while (GetMenuItemCount(handle_) > 0)
            DeleteMenu(handle_, 0, MF_BYPOSITION);
        items_->FillMenu(handle_, ownerDraw_, IsMenuBar());
    }
    MenuChanged();
}

void TMenu::SetOwnerDraw(bool value)
{
    if (value == ownerDraw_)
        return;
    ownerDraw_ = value;
    ItemsChanged();
}

void TMenu::SetImages(TImageList* value)
{
    if (images_)
        RemoveFreeNotification(images_);
    images_ = value;
    if (value)
        FreeNotification(value);
    ItemsChanged();
}

void TMenu::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_)
        images_ = nullptr;
}

bool TMenu::DispatchCommand(UINT command)
{
    TMenuItem* item = FindItem(command);
    if (!item)
        return false;
    item->Click();
    return true;
}

bool TMenu::IsShortCut(WORD key, TShiftState shift)
{
    const TShortCut s = ShortCut(key, shift);
    TMenuItem* item = items_->FindByShortCut(s);
    if (!item || !item->Enabled())
        return false;
    item->Click();
    return true;
}

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner)
{
}

HMENU TMainMenu::CreateMenuHandle()
{
    return CreateMenu();
}

void TMainMenu::MenuChanged()
{
    if (form_)
        form_->Perform(CM_MENUCHANGED);
}

namespace {

TMenuItem* ItemOf(ULONG_PTR data)
{
    auto* item = reinterpret_cast<TMenuItem*>(data);
    return IsLiveMenuItem(item) ? item : nullptr;
}

} // namespace

bool MeasureMenuItemMessage(MEASUREITEMSTRUCT& m)
{
    TMenuItem* item = ItemOf(m.itemData);
    if (!item)
        return false;
    HDC screen = GetDC(nullptr);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT font = CreateFontIndirectW(&metrics.lfMenuFont);
    TCanvas canvas(screen);
    canvas.Font()->SetHandle(font);
    int width = static_cast<int>(m.itemWidth), height = static_cast<int>(m.itemHeight);
    try {
        item->MeasureItem(&canvas, width, height);
    } catch (...) {
    }
    canvas.SetHandle(nullptr);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    m.itemWidth = static_cast<UINT>(std::max(width, 0));
    m.itemHeight = static_cast<UINT>(std::max(height, 0));
    return true;
}

bool DrawMenuItemMessage(const DRAWITEMSTRUCT& d)
{
    TMenuItem* item = ItemOf(d.itemData);
    if (!item)
        return false;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT font = CreateFontIndirectW(&metrics.lfMenuFont);
    const int saved = SaveDC(d.hDC);
    {
        TCanvas canvas(d.hDC);
        canvas.Font()->SetHandle(font);
        try {
            item->DrawItem(&canvas, d.rcItem, (d.itemState & ODS_SELECTED) != 0);
        } catch (...) {
        }
        canvas.SetHandle(nullptr);
    }
    RestoreDC(d.hDC, saved);
    DeleteObject(font);
    return true;
}
