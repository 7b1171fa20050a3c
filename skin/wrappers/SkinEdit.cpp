// Edits: a one-pixel shadow line with two white ones inside, on edits that have a border.
#include "skin/wrappers/SkinEdit.h"

#include "skin/data/SkinData.h"
#include "skin/manager/SkinManager.h"
#include "skin/wrappers/SkinUpDown.h"

namespace {
bool IsSpinClass(const std::string& lowerName)
{
    return lowerName == "msctls_updown32" || lowerName.find("spin") != std::string::npos ||
           lowerName.find("updown") != std::string::npos;
}
} // namespace

void TSkinEdit::AfterMessage(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_PAINT: {
        const auto dc = reinterpret_cast<HDC>(msg.WParam);
        // The class library's buffered paint hands a client-sized picture first; the border
        // goes on the window when that is on the screen.
        if (!dc || GetObjectType(dc) != OBJ_MEMDC)
            PaintNow(dc);
        break;
    }
    case WM_PRINTCLIENT: {
        auto dc = reinterpret_cast<HDC>(msg.WParam);
        const bool own = dc == nullptr;
        if (own)
            dc = GetWindowDC(Handle);
        if (dc) {
            DrawThinBorder(dc);
            if (own)
                ReleaseDC(Handle, dc);
        }
        break;
    }
    default:
        TSkinControl::AfterMessage(msg);
        break;
    }
}

bool TSkinEdit::BorderWiderThan(int by) const
{
    RECT window{}, client{};
    if (!GetWindowRect(Handle, &window) || !GetClientRect(Handle, &client))
        return false;
    return window.right - window.left - client.right > by && window.bottom - window.top - client.bottom > by;
}

void TSkinEdit::DrawThinBorder(HDC dc)
{

    if (!BorderWiderThan(2))
        return;
    RECT outer{};
    GetWindowRect(Handle, &outer);
    OffsetRect(&outer, -outer.left, -outer.top);
    RECT inner = outer;
    InflateRect(&inner, -1, -1);
    // The edit leaves its text area as the clipping region of the picture it printed into.
    const int saved = SaveDC(dc);
    SelectClipRgn(dc, nullptr);
    FrameRect(dc, &inner, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
    HBRUSH shadow = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(SkinData->ButtonShadowColour)));
    FrameRect(dc, &outer, shadow);
    DeleteObject(shadow);
    RestoreDC(dc, saved);
}

void TSkinEdit::FindSpin()
{
    if (SpinSkin || !SkinData->SkinControls().Contains(xcSpin))
        return;
    for (HWND child = GetWindow(Handle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsSpinClass(LowerCase(WindowClassName(child))))
            continue;
        auto* spin = new TSkinUpDown(Owner());
        spin->Embedded = true;
        spin->AttachWindow(child, SkinData, Form, Canvas);
        SpinSkin = spin;
        return;
    }
}

void TSkinEdit::Draw(HDC dc, const RECT& rect)
{
    if (!SkinData)
        return;
    FindSpin();
    if (!BorderWiderThan(0))
        return;
    HBRUSH shadow = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(SkinData->ButtonShadowColour)));
    FrameRect(dc, &rect, shadow);
    DeleteObject(shadow);
    auto* white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RECT inner = rect;
    for (int i = 0; i < 2; ++i) {
        InflateRect(&inner, -1, -1);
        FrameRect(dc, &inner, white);
    }
}
