#include "skin/wrappers/SkinScrollbar.h"

#include "classlib/TypeInfo.h"
#include "classlib/controls/Messages.h"
#include "classlib/controls/WinControl.h"
#include "skin/data/SkinData.h"
#include "skin/form/SkinForm.h"
#include "skin/manager/SkinManager.h"

bool IsNewStyleWindows()
{
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&version))
        return false;
#pragma GCC diagnostic pop
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion > 4 && version.dwMinorVersion > 0;
}

void TSkinScrollbar::AttachControl(TSkinForm* form, TSkinData* skin, bool, TCanvas* canvas)
{
    if (auto* control = dynamic_cast<TWinControl*>(Owner()))
        AttachScrolled(control, skin, form, canvas);
}

void TSkinScrollbar::AttachScrolled(TWinControl* control, TSkinData* skin, TSkinForm* form, TCanvas* canvas)
{
    if (Attached || !control)
        return;
    Handle = control->Handle();
    UnicodeWindow = IsWindowUnicode(Handle) != FALSE;
    NewStyle = IsNewStyleWindows();
    HookControl(form, skin, canvas);
    const std::string className = LowerCase(Classes().ClassOf(control) ? Classes().ClassOf(control)->name : "");
    Bordered = className != "timagescrollbox" && HasProp("BorderStyle") && LowerCase(PropName("BorderStyle")) != "bsnone";
    HorzBar = new TSkinBarOverlay(this);
    HorzBar->AttachToControl(this, control, bkHorzBar);
    VertBar = new TSkinBarOverlay(this);
    VertBar->AttachToControl(this, control, bkVertBar);
    if (!control->Visible())
        HideBars(HorzBar, VertBar);
    Attached = true;
    State = wsAttached;
}

void TSkinScrollbar::AfterMessage(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
        PlaceBars(HorzBar, VertBar);
        break;
    case WM_HSCROLL:
        ShowScrollCode(HorzBar, msg.WParam);
        break;
    case WM_VSCROLL:
        ShowScrollCode(VertBar, msg.WParam);
        break;
    case WM_MOUSEWHEEL:
        for (TSkinBarOverlay* bar : {HorzBar, VertBar})
            if (bar && bar->Shown)
                bar->Repaint();
        break;
    case CM_VISIBLECHANGED:
        if (msg.WParam)
            PlaceBars(HorzBar, VertBar);
        else
            HideBars(HorzBar, VertBar);
        break;
    case CM_RECREATEWND:
        if (auto* control = dynamic_cast<TWinControl*>(Control)) {
            Handle = control->Handle();
            // The bars cover the new window's scroll bars.
            for (TSkinBarOverlay* bar : {HorzBar, VertBar})
                if (bar)
                    bar->AttachToControl(this, control, bar->Kind);
        }
        break;
    default:
        TSkinControl::AfterMessage(msg);
        break;
    }
}

void TSkinScrollbar::Draw(HDC dc, const RECT& rect)
{
    const auto style = GetWindowLongPtrW(Handle, GWL_STYLE);
    const std::pair<TSkinBarOverlay*, LONG_PTR> bars[] = {{VertBar, WS_VSCROLL}, {HorzBar, WS_HSCROLL}};
    for (const auto& [bar, bit] : bars) {
        if (!bar)
            continue;
        if (bar->Shown)
            bar->Repaint();
        else if (style & bit)
            bar->Place();
    }
    FillBarCorner(*this, dc, HorzBar, VertBar);
    if (!Bordered || !SkinData)
        return;
    HBRUSH shadow = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(SkinData->ButtonShadowColour)));
    FrameRect(dc, &rect, shadow);
    DeleteObject(shadow);
    RECT inner = rect;
    InflateRect(&inner, -1, -1);
    HBRUSH face = CreateSolidBrush(static_cast<COLORREF>(SkinFaceColour(SkinData)));
    FrameRect(dc, &inner, face);
    DeleteObject(face);
}

void TSkinScrollbar::FreeBars()
{
    delete HorzBar;
    delete VertBar;
    HorzBar = VertBar = nullptr;
}

void TSkinScrollbar::Restore()
{
    TSkinControl::Restore();
    if (State != wsDestroyed)
        FreeBars();
    else
        HideBars(HorzBar, VertBar); // nothing left to cover

}
