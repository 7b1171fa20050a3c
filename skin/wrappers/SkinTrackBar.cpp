// Track bars: the skin's channel bar and thumb image in place of the control's own.
#include "skin/wrappers/SkinTrackBar.h"

#include <utility>

#include "classlib/controls/Messages.h"
#include "skin/data/SkinData.h"
#include "skin/draw/SkinDraw.h"

namespace {
constexpr int kThumbImages = 5;
constexpr int kThumbImage = 2;
} // namespace

bool TSkinTrackBar::BeforeMessage(TMessage& msg)
{
    if (msg.Msg == WM_NOTIFY || msg.Msg == CN_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(msg.LParam);
        if (header && header->code == static_cast<UINT>(NM_CUSTOMDRAW) && header->hwndFrom == Handle) {
            LRESULT result = 0;
            if (CustomDraw(*reinterpret_cast<NMCUSTOMDRAW*>(msg.LParam), result)) {
                msg.Result = result;
                return false;
            }
        }
    }
    return TSkinControl::BeforeMessage(msg);
}

bool TSkinTrackBar::CustomDraw(NMCUSTOMDRAW& draw, LRESULT& result)
{
    switch (draw.dwDrawStage) {
    case CDDS_PREPAINT:
        result = CDRF_NOTIFYITEMDRAW;
        return true;
    case CDDS_ITEMPREPAINT:
        switch (draw.dwItemSpec) {
        case TBCD_TICS:
            result = CDRF_DODEFAULT;
            return true;
        case TBCD_THUMB:
            DrawThumb(draw.hdc);
            result = CDRF_SKIPDEFAULT;
            return true;
        case TBCD_CHANNEL:
            DrawChannel(draw.hdc);
            result = CDRF_SKIPDEFAULT;
            return true;
        default:
            return false;
        }
    default:
        return false;
    }
}

bool TSkinTrackBar::Vertical() const
{
    return (GetWindowLongPtrW(Handle, GWL_STYLE) & TBS_VERT) != 0;
}

void TSkinTrackBar::DrawChannel(HDC dc)
{
    RECT channel{};
    SendMessageW(Handle, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    if (Vertical() && SkinData->TrackVert && !SkinData->TrackVert->Image.Empty()) {
        // The control reports a vertical channel lying.
        std::swap(channel.left, channel.top);
        std::swap(channel.right, channel.bottom);
        TDataSkinObject& bar = *SkinData->TrackVert;
        DrawVertBar(dc, channel, bar.Image, false, 1, 1, bar.Margins());
    } else if (SkinData->Track && !SkinData->Track->Image.Empty()) {
        TDataSkinObject& bar = *SkinData->Track;
        DrawHorzBar(dc, channel, bar.Image, false, 1, 1, bar.Margins());
    }
}

void TSkinTrackBar::DrawThumb(HDC dc)
{
    RECT thumb{};
    SendMessageW(Handle, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    TDataSkinObject* element = Vertical() ? SkinData->TrackThumbVert.get() : SkinData->TrackThumbHorz.get();
    if (element && !element->Image.Empty()) {
        DrawStripImage(dc, thumb, element->Image, true, element->Frame > 0 ? element->Frame : kThumbImages,
                       kThumbImage);
        return;
    }
    HBRUSH shadow = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(SkinData->ButtonShadowColour)));
    FillRect(dc, &thumb, shadow);
    DeleteObject(shadow);
}

void TSkinTrackBar::Refresh()
{
    TSkinControl::Refresh();
    // Taking the focus and giving it back makes the control draw itself anew.
    const HWND had = GetFocus();
    SetFocus(Handle);
    SetFocus(had);
}
