#pragma once
#include <string>
#include <vector>

#include "Raster.h"
#include "tools/skinpack/SkinWriter.h"

namespace skingen {

// Name of the skin's ini text inside the container.
constexpr const char* kIniName = "kestrip.ini";

struct SkinBitmap {
    std::string name;
    Image image;
};

// The 33 bitmaps of the default skin, in name order.
std::vector<SkinBitmap> MakeBitmaps();
// The skin's ini text (CR LF line ends).
std::string MakeIniText();
// Every entry, bitmaps as BMP files and the ini text, in name order (the order the packer
// stores a folder in).
std::vector<skinpack::SkinEntry> MakeDefaultSkin();

} // namespace skingen
