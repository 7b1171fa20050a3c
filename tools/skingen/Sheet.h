#pragma once
#include <vector>

#include "DefaultSkin.h"

namespace skingen {

// A picture for people: mock windows (active and inactive) put together from the pieces as
// the skin engine would, and every bitmap enlarged, key pixels shown as a checkerboard.
Image MakeContactSheet(const std::vector<SkinBitmap>& bitmaps);

} // namespace skingen
