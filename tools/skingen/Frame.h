#pragma once
#include "Raster.h"

namespace skingen {

// Frame pieces: side pieces hold two frames side by side, top and bottom two stacked
// (active, then inactive).
struct FramePieces {
    Image left, right, top, bottom;
};
FramePieces MakeFrame();

enum class CaptionGlyph { Close, Maximise, Restore, Minimise, Help };
Image MakeCaptionButton(CaptionGlyph glyph);

Image MakeMenuBar();
Image MakeMdiButtons();

} // namespace skingen
