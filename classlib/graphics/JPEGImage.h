#pragma once
#include <memory>
#include <vector>

#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/Graphic.h"

// A JPEG picture: the file is kept as read and decoded (with libjpeg) into a 24-bit bitmap
// that is drawn.
class TJPEGImage : public TGraphic {
public:
    TJPEGImage();
    ~TJPEGImage() override;

    std::string ClassName() const override { return "TJPEGImage"; }
    std::unique_ptr<TGraphic> Clone() const override;

    int Width() const override;
    int Height() const override;
    bool Empty() const override { return data_.empty(); }
    void Draw(TCanvas& canvas, const RECT& r) override;

    void LoadFromData(const std::uint8_t* data, std::size_t size) override;
    using TGraphic::LoadFromData;
    std::vector<std::uint8_t> SaveToData() const override { return data_; }

    // The decoded picture (24 bits per pixel).
    const TBitmap& Bitmap() const { return *bitmap_; }
    bool Grayscale() const { return grayscale_; }

private:
    std::vector<std::uint8_t> data_;
    std::unique_ptr<TBitmap> bitmap_;
    bool grayscale_ = false;
};
