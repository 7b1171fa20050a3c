#include "skin/wrappers/SkinCheckBox.h"

#include <algorithm>

#include "skin/data/SkinData.h"
#include "skin/manager/SkinManager.h"

void TSkinCheckBox::AttachControl(TSkinForm* form, TSkinData* skin, bool colorControl, TCanvas* canvas)
{
    CheckState = 0;
    TSkinTwoState::AttachControl(form, skin, colorControl, canvas);
}

void TSkinCheckBox::AfterMessage(TMessage& msg)
{
    if (msg.Msg == BM_SETCHECK)
        CheckState = static_cast<int>(msg.WParam) + 1;
    TSkinTwoState::AfterMessage(msg);
}

TBitmap* TSkinCheckBox::Strip() const
{
    return SkinData && SkinData->Buttons ? &SkinData->Buttons->CheckImage : nullptr;
}

int TSkinCheckBox::StripImages() const
{
    return SkinData->Buttons->CheckFrame;
}

int TSkinCheckBox::BoxImage(int images) const
{
    const LRESULT state = ButtonState();
    int index = state & BST_CHECKED ? 2 : 1;
    bool indeterminate = (state & BST_INDETERMINATE) != 0;
    if (Control) {
        if (HasProp("State")) {
            const std::string value = LowerCase(PropName("State"));
            if (value.find("uncheck") != std::string::npos) {
                index = 1;
            } else if (value.find("check") != std::string::npos) {
                index = 2;
            } else if (value.find("gray") != std::string::npos) {
                index = 4;
                indeterminate = true;
            }
        } else if (HasProp("Checked")) {
            index = PropTrue("Checked") ? 2 : 1;
        }
        if (HasProp("DataField") && CheckState != 0)
            index = CheckState == 3 ? 4 : CheckState;
        if (HasProp("DataBinding"))
            index = 1;
    }
    const bool disabled = Disabled();
    if (disabled)
        index += 2;
    if (state & BST_INDETERMINATE)
        index = 4;
    if (images == 12) {
        if (indeterminate)
            return disabled ? 12 : 9;
        return WideStripImage(index);
    }
    return std::min(index, images);
}
