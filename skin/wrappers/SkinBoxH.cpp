#include "skin/wrappers/SkinBoxH.h"

#include "skin/data/SkinData.h"

bool TSkinBoxH::BeforeMessage(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_ERASEBKGND: {
        RECT window{};
        GetWindowRect(Handle, &window);
        OffsetRect(&window, -window.left, -window.top);
        FillFace(reinterpret_cast<HDC>(msg.WParam), window);
        msg.Result = 0;
        return false;
    }
    case WM_CTLCOLORSTATIC:
        CallControlProc(msg);
        // Static texts on the face colour, like those of the skinned window itself.
        SetBkMode(reinterpret_cast<HDC>(msg.WParam), TRANSPARENT);
        msg.Result = reinterpret_cast<LRESULT>(SkinData->FaceBrush);
        return false;
    default:
        return TSkinControl::BeforeMessage(msg);
    }
}
