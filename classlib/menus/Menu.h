#pragma once
#include <windows.h>

#include "classlib/Component.h"
#include "classlib/menus/MenuItem.h"

class TImageList;
class TCustomForm;

// A menu: a root item whose sub-items are the entries, and the system menu built from it.
class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;

    TMenuItem* Items() const { return items_; }
    // Built on demand and again after every change.
    HMENU Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool value);
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* value);

    TMenuItem* FindItem(UINT command) const { return items_->FindByCommand(command); }
    // Runs the item of a command; false when no item has it.
    bool DispatchCommand(UINT command);
    // Runs the enabled item with this shortcut; false when there is none.
    bool IsShortCut(WORD key, TShiftState shift);

protected:
    virtual HMENU CreateMenuHandle() = 0;
    virtual bool IsMenuBar() const { return false; }
    // After the items changed and the handle was rebuilt.
    virtual void MenuChanged() {}
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TMenuItem;
    void ItemsChanged();
    void DropHandle();

    TMenuItem* items_;
    HMENU handle_ = nullptr;
    bool ownerDraw_ = false;
    TImageList* images_ = nullptr;
};

// The menu bar of a form (the form's Menu property).
class TMainMenu : public TMenu {
public:
    explicit TMainMenu(TComponent* owner);
    // The form showing it, set by the form.
    TCustomForm* WindowForm() const { return form_; }
    void SetWindowForm(TCustomForm* form) { form_ = form; }

protected:
    HMENU CreateMenuHandle() override;
    bool IsMenuBar() const override { return true; }
    void MenuChanged() override;

private:
    TCustomForm* form_ = nullptr;
};

// Owner drawing of menu entries: a window that receives WM_MEASUREITEM/WM_DRAWITEM for a
// menu passes them here. False when the entry is not one of our items.
bool MeasureMenuItemMessage(MEASUREITEMSTRUCT& item);
bool DrawMenuItemMessage(const DRAWITEMSTRUCT& item);
