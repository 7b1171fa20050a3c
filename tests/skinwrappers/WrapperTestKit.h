#pragma once
// Skinned test windows for the control wrappers: a skin made here whose every strip image is
// one plain colour (so a pixel tells which image was drawn), forms skinned by the skin manager
// as the program's windows are, and pixel reading.
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "classlib/forms/Form.h"
#include "skinkit/SkinTestKit.h"
#include "skin/data/SkinData.h"
#include "skin/form/SkinForm.h"
#include "skindata/SkinDataTestKit.h"

namespace wraptest {

constexpr TColor kFace = RGBColor(208, 212, 218);
constexpr TColor kText = RGBColor(20, 20, 20);
constexpr TColor kShadow = RGBColor(90, 100, 120);
constexpr int kButtonFrame = 12;  // width and height of one button image
constexpr int kKeyCorner = 2;     // the top-left 2 x 2 pixels of every button image are magenta
constexpr int kBoxSize = 13;      // check and radio images

// Image k (1-based) of each strip.
TColor ButtonColour(int k);
TColor CheckColour(int k);
TColor RadioColour(int k);

// The test skin with check and radio strips of the given image counts.
skindatatest::TTestSkin MakeSkin(int checkImages = 4, int radioImages = 4, const std::string& extraIni = {});

// A form with a skin component of its own, skinned by the skin manager when shown.
class TSkinnedForm : public skinkit::TSkinnedForm {
public:
    explicit TSkinnedForm(const skindatatest::TTestSkin& skin, TSkinControlTypes controls = TestControls())
        : skinkit::TSkinnedForm(skin, "Wrapper test", {60, 60, 420, 300}, controls)
    {
    }
    // Every kind but the frame itself: the wrappers are what is tested.
    static TSkinControlTypes TestControls() { return skinkit::WrapperControls(); }
};

using skinkit::PixelAt;
using skinkit::WaitForPixel;
// Rows of `area` holding a pixel other than `background`, grouped into runs: the number of runs.
int RowBands(HWND window, const RECT& area, TColor background);
// Whether any pixel of the client rectangle `area` has the colour.
bool HasColour(HWND window, const RECT& area, TColor colour);
// The right-most column in `area` holding a pixel other than `background` (-1: none).
int RightmostOther(HWND window, const RECT& area, TColor background);

// The client area's pixels as on the screen.
std::unique_ptr<TBitmap> Capture(HWND window);

// The wrapper serving a window, found in its frame's list.
TSkinControl* WrapperOf(TSkinForm* frame, HWND window);
bool AnswersSkinned(HWND window);

} // namespace wraptest
