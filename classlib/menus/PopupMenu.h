#pragma once
#include "classlib/menus/Menu.h"

class TControl;

// A context menu; a control shows it on a right click when it is the control's PopupMenu.
class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    // Shows the menu at a screen point and returns after it closed (running the chosen
    // item's OnClick).
    virtual void Popup(int x, int y);
    TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* value) { popupComponent_ = value; }
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool value) { autoPopup_ = value; }

    TNotifyEvent OnPopup;

protected:
    HMENU CreateMenuHandle() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    HWND OwnerWindow();
    TComponent* popupComponent_ = nullptr;
    bool autoPopup_ = true;
    HWND window_ = nullptr; // receives the owner-draw messages when no form does
};
