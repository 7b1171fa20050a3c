#pragma once
#include <vector>

#include <windows.h>

#include "classlib/graphics/Graphic.h"

// An icon read from an .ico file (the entry closest to 32 x 32 is used) or given as a
// handle. Saving gives back the file it was read from (nothing for an icon given as a
// handle); no data at all reads as an empty icon.
class TIcon : public TGraphic {
public:
    TIcon() = default;
    ~TIcon() override;

    std::string ClassName() const override { return "TIcon"; }
    std::unique_ptr<TGraphic> Clone() const override;

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    bool Empty() const override { return handle_ == nullptr; }
    void Draw(TCanvas& canvas, const RECT& r) override;

    void LoadFromData(const std::uint8_t* data, std::size_t size) override;
    using TGraphic::LoadFromData;
    std::vector<std::uint8_t> SaveToData() const override { return data_; }

    HICON Handle() const { return handle_; }
    // Takes ownership of the icon.
    void SetHandle(HICON icon);

private:
    void Release();
    HICON handle_ = nullptr;
    int width_ = 0, height_ = 0;
    std::vector<std::uint8_t> data_;
};
