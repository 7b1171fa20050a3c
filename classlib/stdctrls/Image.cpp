#include "classlib/stdctrls/Image.h"

#include "classlib/graphics/Canvas.h"
#include "classlib/graphics/Picture.h"

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(std::make_unique<TPicture>())
{
    SetBounds(0, 0, 105, 105);
    picture_->OnChange = [this] { Invalidate(); };
}

TImage::~TImage()
{
    picture_->OnChange = nullptr;
}

void TImage::SetPicture(TPicture* value)
{
    if (value && value != picture_.get())
        picture_->Assign(*value);
}

void TImage::SetStretch(bool value)
{
    stretch_ = value;
    Invalidate();
}

void TImage::SetCenter(bool value)
{
    center_ = value;
    Invalidate();
}

void TImage::Paint()
{
    TGraphic* graphic = picture_->Graphic();
    if (!graphic || graphic->Empty())
        return;
    if (stretch_) {
        Canvas()->StretchDraw(RECT{0, 0, Width(), Height()}, *graphic);
        return;
    }
    int x = 0, y = 0;
    if (center_) {
        x = (Width() - graphic->Width()) / 2;
        y = (Height() - graphic->Height()) / 2;
    }
    Canvas()->Draw(x, y, *graphic);
}
