#pragma once
#include "classlib/controls/WinControl.h"

// Base of the controls built on the system BUTTON class.
class TButtonControl : public TWinControl {
public:
    explicit TButtonControl(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    // BN_CLICKED arrived (reflected from the parent).
    virtual void ButtonClicked() { Click(); }
    // The caption's "&" accelerator is `key` (case-insensitive).
    bool IsAccel(WPARAM key) const;
};

// A push button. Enter clicks the focused button, or the Default one while no button has
// the focus; Escape clicks the Cancel button. A ModalResult closes a modal form.
class TButton : public TButtonControl {
public:
    explicit TButton(TComponent* owner);

    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int value) { modalResult_ = value; }

    void Click() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    bool default_ = false;
    bool cancel_ = false;
    int modalResult_ = 0;
};
