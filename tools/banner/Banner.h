#pragma once
#include <string>

#include "tools/skingen/Raster.h"

namespace banner {

constexpr int kWidth = 350;
constexpr int kHeight = 28;
// The window shows the picture from x = 6 on, 333 pixels wide: everything that matters lies
// in between.
constexpr int kVisibleLeft = 6;
constexpr int kVisibleRight = 6 + 333;

// The banner: slate gradient as in the title bar, a disc with a warm highlight, the name and
// the formats. `fontFolder` holds the DejaVu fonts.
skingen::Image MakeBanner(const std::string& fontFolder);

// Baseline JPEG, three components, no chroma subsampling.
void WriteJpeg(const skingen::Image& image, const std::string& path, int quality);

} // namespace banner
