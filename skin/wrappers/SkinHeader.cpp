#include "skin/wrappers/SkinHeader.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "classlib/graphics/Canvas.h"
#include "classlib/graphics/Font.h"
#include "classlib/graphics/ImageList.h"
#include "skin/data/SkinData.h"

namespace {
constexpr int kHeaderImages = 5;
constexpr int kMaxItemText = 200;

int AlignmentOf(int format)
{
    if (format & HDF_RIGHT)
        return 2;
    if (format & HDF_CENTER)
        return 1;
    return 0;
}

// One image of the header's own list copied into a list of ours (its image 0).
std::unique_ptr<TImageList> CopyImage(HIMAGELIST list, int index)
{
    int w = 0, h = 0;
    if (!list || index < 0 || index >= ImageList_GetImageCount(list) || !ImageList_GetIconSize(list, &w, &h))
        return nullptr;
    constexpr TColor kKey = 0xFF00FF;
    TBitmap picture(w, h, pf24bit);
    picture.Canvas()->Brush()->SetColor(kKey);
    picture.Canvas()->FillRect({0, 0, w, h});
    ImageList_Draw(list, index, picture.Canvas()->Handle(), 0, 0, ILD_TRANSPARENT);
    auto copy = std::make_unique<TImageList>();
    copy->SetWidth(w);
    copy->SetHeight(h);
    return copy->AddMasked(picture, kKey) == 0 ? std::move(copy) : nullptr;
}
} // namespace

bool TSkinHeader::BeforeMessage(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_PAINT:
        PaintOnWmPaint(msg);
        return false;
    case WM_ERASEBKGND:
        if (SkinData && SkinData->Headerbar && !SkinData->Headerbar->Image.Empty()) {
            msg.Result = 1;
            return false;
        }
        return true;
    default:
        return TSkinControl::BeforeMessage(msg);
    }
}

void TSkinHeader::SetHotItem(int item)
{
    if (item == HotItem)
        return;
    HotItem = item;
    InvalidateRect(Handle, nullptr, FALSE);
}

void TSkinHeader::AfterMessage(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_MOUSEMOVE: {
        const POINT p{static_cast<short>(LOWORD(msg.LParam)), static_cast<short>(HIWORD(msg.LParam))};
        int hot = -1;
        for (std::size_t i = 0; i < ItemRects.size() && hot < 0; ++i)
            if (PtInRect(&ItemRects[i], p))
                hot = static_cast<int>(i);
        SetHotItem(hot);
        TrackLeave(Handle);
        break;
    }
    case WM_MOUSELEAVE:
        HotItem = -1;
        InvalidateRect(Handle, nullptr, FALSE);
        break;
    default:
        TSkinControl::AfterMessage(msg);
        break;
    }
}

void TSkinHeader::Draw(HDC dc, const RECT& rect)
{
    TDataSkinObject* element = SkinData ? SkinData->Headerbar.get() : nullptr;
    if (!element || element->Image.Empty())
        return;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0)
        return;
    if (Buffer.Width() != w || Buffer.Height() != h)
        Buffer.SetSize(w, h);
    TCanvas& canvas = *Buffer.Canvas();
    if (auto font = reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0)))
        canvas.Font()->SetHandle(font);
    canvas.Font()->SetColor(SkinData->ButtonTextColour);
    canvas.Brush()->SetStyle(bsClear);
    HDC buffer = canvas.Handle();
    const int images = element->Frame > 0 ? element->Frame : kHeaderImages;

    const auto list = reinterpret_cast<HIMAGELIST>(SendMessageW(Handle, HDM_GETIMAGELIST, 0, 0));
    const int count = static_cast<int>(SendMessageW(Handle, HDM_GETITEMCOUNT, 0, 0));
    ItemRects.assign(static_cast<std::size_t>(std::max(count, 0)), RECT{});
    int right = 0;
    for (int i = 0; i < count; ++i) {
        RECT item{};
        SendMessageW(Handle, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        DrawSkinElement(buffer, item, images, i == HotItem ? 2 : 1, *element);
        wchar_t text[kMaxItemText + 1] = {};
        HDITEMW info{};
        info.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
        info.pszText = text;
        info.cchTextMax = kMaxItemText;
        SendMessageW(Handle, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info));
        const std::unique_ptr<TImageList> image = (info.fmt & HDF_IMAGE) ? CopyImage(list, info.iImage) : nullptr;
        DrawTextAndImage(canvas, item, AlignmentOf(info.fmt), text, image ? 0 : -1, image.get());
        InflateRect(&item, -3, 0);
        ItemRects[static_cast<std::size_t>(i)] = item;
        right = std::max(right, static_cast<int>(item.right) + 3);
    }
    if (right < w)
        DrawSkinElement(buffer, {right, 0, w, h}, images, 1, *element);
    BitBlt(dc, rect.left, rect.top, w, h, buffer, 0, 0, SRCCOPY);
}
