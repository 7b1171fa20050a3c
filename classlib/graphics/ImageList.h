#pragma once
#include <windows.h>
#include <commctrl.h>

#include "classlib/Component.h"
#include "classlib/graphics/Color.h"

class TBitmap;
class TCanvas;

// A list of equal-sized images in a system image list (32-bit colour with a mask).
class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* owner = nullptr);
    ~TImageList() override;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Changing the size clears the list.
    void SetWidth(int width);
    void SetHeight(int height);
    int Count() const;

    // Adds image (cut into Width-wide images when wider); mask may be null. Returns the
    // index of the first image added, -1 on failure.
    int Add(TBitmap& image, TBitmap* mask = nullptr);
    // Pixels of maskColor become transparent (clDefault: the bottom-left pixel's colour).
    int AddMasked(TBitmap& image, TColor maskColor);
    void Delete(int index);
    void Clear();

    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true);
    // Copies one image into bitmap (resized to the image).
    void GetBitmap(int index, TBitmap& bitmap);

    HIMAGELIST Handle();

private:
    void Recreate();
    int width_ = 16, height_ = 16;
    HIMAGELIST handle_ = nullptr;
};
