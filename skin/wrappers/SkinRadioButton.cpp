#include "skin/wrappers/SkinRadioButton.h"

#include <algorithm>

#include "skin/data/SkinData.h"

TBitmap* TSkinRadioButton::Strip() const
{
    return SkinData && SkinData->Buttons ? &SkinData->Buttons->RadioImage : nullptr;
}

int TSkinRadioButton::StripImages() const
{
    return SkinData->Buttons->RadioFrame;
}

int TSkinRadioButton::BoxImage(int images) const
{
    int index = SendMessageW(Handle, BM_GETCHECK, 0, 0) & BST_CHECKED ? 2 : 1;
    if (Control && HasProp("Checked"))
        index = PropTrue("Checked") ? 2 : 1;
    if (Disabled())
        index += 2;
    if (images == 8)
        return WideStripImage(index);
    return std::min(index, images);
}
