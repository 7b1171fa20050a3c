#pragma once
// Objects of a skinned frame's non-client area that the mouse can light and press: caption
// buttons here, menu-bar buttons in the menu bar.
#include <windows.h>

class TSkinForm;
class TDataSkinSysButton;

enum TNCState { ncNormal = 1, ncPressed = 2, ncHot = 3 };

class TNCObject {
public:
    explicit TNCObject(TSkinForm* form) : Form(form) {}
    virtual ~TNCObject() = default;
    TNCObject(const TNCObject&) = delete;
    TNCObject& operator=(const TNCObject&) = delete;

    // Each moves the state and repaints the object.
    virtual void MouseDown();
    virtual void MouseUp();
    virtual void MouseMove();
    virtual void MouseLeave();
    virtual void Paint() = 0;

    TSkinForm* Form;
    RECT Bounds{};   // frame coordinates
    BYTE Visible = 0;
    int State = ncNormal;

protected:
    void SetState(int state);
};

// One caption button, tied to its element of the skin.
class TSkinSysButton : public TNCObject {
public:
    TSkinSysButton(TSkinForm* form, TDataSkinSysButton* element) : TNCObject(form), Element(element) {}
    void Paint() override;

    TDataSkinSysButton* Element;
};
