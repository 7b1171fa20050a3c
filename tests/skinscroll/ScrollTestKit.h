#pragma once
// Skinned test windows for the scroll-bar wrappers: a skin made here whose every image is one
// plain colour (so a pixel tells which image of which strip was drawn), forms skinned by the
// skin manager as the program's windows are, and reading the pixels of a window.
#include <memory>
#include <string>

#include <windows.h>

#include "classlib/forms/Form.h"
#include "skinkit/SkinTestKit.h"
#include "skin/data/SkinData.h"
#include "skin/form/SkinForm.h"
#include "skindata/SkinDataTestKit.h"

class TSkinControl;

namespace scrolltest {

constexpr TColor kFace = RGBColor(210, 214, 220);
constexpr TColor kShadow = RGBColor(80, 90, 110);
constexpr TColor kText = RGBColor(20, 20, 20);
constexpr int kCell = 17; // every image of the scroll strips is kCell x kCell

// Image k (1-based) of each strip.
TColor ArrowColour(int k);  // "Scrollbar", 23 images
TColor TrackColour(int k);  // "HorzScroll" and "VertScroll", 4 images
TColor ThumbColour(int k);  // "HorzScrollThumb" and "VertScrollThumb", 3 images
TColor HeaderColour(int k); // "Headerbar", 5 images

skindatatest::TTestSkin MakeSkin();

// A form with a skin component of its own, skinned by the skin manager when shown.
class TSkinnedForm : public skinkit::TSkinnedForm {
public:
    explicit TSkinnedForm(const skindatatest::TTestSkin& skin)
        : skinkit::TSkinnedForm(skin, "Scroll bar test", {60, 60, 460, 340})
    {
    }
};

using skinkit::PixelAt;
using skinkit::WaitForPixel;
// The first row (from `fromY`) of column x whose pixel has the colour; -1 when none.
int FirstRowWith(HWND window, int x, TColor colour, int fromY = 0);
// Whether any client pixel of the window has the colour.
bool AnyPixel(HWND window, TColor colour);

TSkinControl* WrapperOf(TSkinForm* frame, HWND window);

// The system's idea of a window scroll bar (OBJID_VSCROLL or OBJID_HSCROLL).
SCROLLBARINFO BarInfo(HWND window, LONG objectId);

} // namespace scrolltest
