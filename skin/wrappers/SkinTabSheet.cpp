#include "skin/wrappers/SkinTabSheet.h"

#include "classlib/controls/WinControl.h"
#include "skin/data/SkinData.h"

void TSkinTabSheet::AttachControl(TSkinForm* form, TSkinData* skin, bool colorControl, TCanvas* canvas)
{
    if (Attached)
        return;
    TSkinControl::AttachControl(form, skin, colorControl, canvas);
    parentBackground_ = HadParentBackground || PropTrue("ParentBackground");
}

bool TSkinTabSheet::BeforeMessage(TMessage& msg)
{
    if (!parentBackground_) {
        switch (msg.Msg) {
        case WM_PAINT:
        case WM_PRINTCLIENT:
            PaintOnWmPaint(msg);
            return false;
        case WM_ERASEBKGND: {
            RECT client{};
            GetClientRect(Handle, &client);
            FillRect(reinterpret_cast<HDC>(msg.WParam), &client, SkinData->FaceBrush);
            msg.Result = 1;
            return false;
        }
        default:
            break;
        }
    }
    return TSkinControl::BeforeMessage(msg);
}

void TSkinTabSheet::Draw(HDC dc, const RECT& rect)
{
    FillFace(dc, rect);
    if (auto* page = dynamic_cast<TWinControl*>(Control))
        page->PaintControls(dc);
}
