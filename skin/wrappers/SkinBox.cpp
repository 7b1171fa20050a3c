#include "skin/wrappers/SkinBox.h"

#include "classlib/controls/WinControl.h"
#include "skin/form/SkinForm.h"

void TSkinBox::AttachControl(TSkinForm* form, TSkinData* skin, bool colorControl, TCanvas* canvas)
{
    if (Attached)
        return;
    Form = form;
    SkinData = skin;
    Canvas = canvas;
    ColorControl = colorControl;
    Control = dynamic_cast<TControl*>(Owner());
    if (auto* windowed = dynamic_cast<TWinControl*>(Control))
        Handle = windowed->Handle();
    if (Form)
        Form->AddChildSkin(this);
    if (colorControl)
        ColourControl();
    Attached = true;
    State = wsAttached;
}

void TSkinBox::Restore()
{
    if (State != wsDetaching)
        TSkinControl::Restore();
    State = wsRestored;
}
