#include "skin/wrappers/SkinListView.h"

#include <commctrl.h>

#include "classlib/controls/WinControl.h"
#include "skin/wrappers/SkinHeader.h"

void TSkinListView::AttachScrolled(TWinControl* control, TSkinData* skin, TSkinForm* form, TCanvas* canvas)
{
    if (Attached)
        return;
    TSkinScrollbar::AttachScrolled(control, skin, form, canvas);
    if (!Attached)
        return;
    if (auto header = reinterpret_cast<HWND>(SendMessageW(Handle, LVM_GETHEADER, 0, 0))) {
        Header = new TSkinHeader(control->Owner());
        Header->AttachWindow(header, skin, form, canvas);
    }
}
