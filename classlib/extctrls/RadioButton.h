#pragma once
#include "classlib/stdctrls/Button.h"
#include "classlib/stdctrls/Label.h"

// A round option button. Checking one unchecks the other radio buttons of its parent.
// A click of the user checks it and runs OnClick; setting Checked from code does not click.
class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TComponent* owner);

    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    // taRightJustify: the caption right of the circle; taLeftJustify: left of it.
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void WndProc(TMessage& message) override;
    void ButtonClicked() override;

private:
    bool checked_ = false;
    TAlignment alignment_ = taRightJustify;
};
