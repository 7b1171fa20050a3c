#include "classlib/graphics/ImageList.h"

#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/Canvas.h"

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}

TImageList::~TImageList()
{
    if (handle_)
        ImageList_Destroy(handle_);
}

HIMAGELIST TImageList::Handle()
{
    if (!handle_)
        handle_ = ImageList_Create(width_, height_, ILC_COLOR32 | ILC_MASK, 4, 4);
    return handle_;
}

void TImageList::Recreate()
{
    if (handle_)
        ImageList_Destroy(handle_);
    handle_ = nullptr;
}

void TImageList::SetWidth(int width)
{
    if (width > 0 && width != width_) {
        width_ = width;
        Recreate();
    }
}

void TImageList::SetHeight(int height)
{
    if (height > 0 && height != height_) {
        height_ = height;
        Recreate();
    }
}

int TImageList::Count() const { return handle_ ? ImageList_GetImageCount(handle_) : 0; }

int TImageList::Add(TBitmap& image, TBitmap* mask)
{
    if (image.Empty())
        return -1;
    // Copies: the list reads the bitmaps while no DC has them selected.
    TBitmap picture;
    picture.Assign(image);
    TBitmap maskCopy;
    if (mask)
        maskCopy.Assign(*mask);
    return ImageList_Add(Handle(), picture.Handle(), mask ? maskCopy.Handle() : nullptr);
}

int TImageList::AddMasked(TBitmap& image, TColor maskColor)
{
    if (image.Empty())
        return -1;
    TBitmap picture;
    picture.Assign(image);
    const TColor key = maskColor == clDefault ? image.PixelColor(0, image.Height() - 1) : ColorToRGB(maskColor);
    return ImageList_AddMasked(Handle(), picture.Handle(), static_cast<COLORREF>(key));
}

void TImageList::Delete(int index)
{
    if (handle_ && index >= 0 && index < Count())
        ImageList_Remove(handle_, index);
}

void TImageList::Clear()
{
    if (handle_)
        ImageList_Remove(handle_, -1);
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled)
{
    if (!handle_ || index < 0 || index >= Count())
        return;
    const UINT style = enabled ? ILD_TRANSPARENT : ILD_TRANSPARENT | ILD_BLEND50;
    ImageList_DrawEx(handle_, index, canvas.Handle(), x, y, 0, 0, CLR_NONE, enabled ? CLR_DEFAULT : GetSysColor(COLOR_BTNFACE), style);
}

void TImageList::GetBitmap(int index, TBitmap& bitmap)
{
    if (!handle_ || index < 0 || index >= Count())
        return;
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(width_, height_);
    ImageList_Draw(handle_, index, bitmap.Canvas()->Handle(), 0, 0, ILD_NORMAL);
}
